// The page around the module: it fetches the picture set (and a recording given as
// ?replay=FILE) into the module's file system, keeps the canvas at the window's size in
// device pixels, turns mouse and keyboard input into the module's events, and lets the
// browser's animation frames drive the idle step and the drawing.
'use strict';

const canvas = document.getElementById('canvas');
const statusLine = document.getElementById('status');
const pictureFiles = ['fruit.ppm', 'fruit_mask.pgm', 'fruit.map'];
const replayPath = '/session.tessera-replay';

function say(text) {
  statusLine.textContent = text;
}

var Module = {
  canvas: canvas,
  print: (text) => console.log(text),
  printErr: (text) => console.error(text),
  onRuntimeInitialized: () => start().catch((error) => say('tessera: ' + error.message)),
};

// Canvas pixels: the window's size times the screen's pixel ratio.
function canvasSize() {
  const ratio = window.devicePixelRatio || 1;
  return [Math.max(1, Math.round(window.innerWidth * ratio)),
          Math.max(1, Math.round(window.innerHeight * ratio))];
}

function resize() {
  const [width, height] = canvasSize();
  if (canvas.width !== width || canvas.height !== height) {
    canvas.width = width;
    canvas.height = height;
    Module._tessera_resize(width, height);
  }
}

// A pointer position in canvas pixels, as the native window reports them.
function canvasPoint(event) {
  const box = canvas.getBoundingClientRect();
  return [Math.floor((event.clientX - box.left) * canvas.width / box.width),
          Math.floor((event.clientY - box.top) * canvas.height / box.height)];
}

// The mouse's buttons as GLUT numbers them: 0 left, 1 middle, 2 right, as the browser does.
function listenToMouse() {
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());
  canvas.addEventListener('pointerdown', (event) => {
    if (event.pointerType !== 'mouse') {
      return;
    }
    canvas.setPointerCapture(event.pointerId);
    canvas.focus();
    Module._tessera_press(event.button, ...canvasPoint(event));
    event.preventDefault();
  });
  canvas.addEventListener('pointerup', (event) => {
    if (event.pointerType === 'mouse') {
      Module._tessera_release(event.button, ...canvasPoint(event));
    }
  });
  canvas.addEventListener('pointermove', (event) => {
    if (event.pointerType === 'mouse') {
      Module._tessera_motion(...canvasPoint(event));
    }
  });
}

// The character code GLUT reports for a key, or null for a key the program has no use for.
const namedKeys = { Escape: 27, Backspace: 8, Delete: 127, Enter: 13, Tab: 9 };

function keyCode(event) {
  if (event.ctrlKey || event.metaKey || event.altKey) {
    return null; // the browser's own shortcuts
  }
  if (event.key in namedKeys) {
    return namedKeys[event.key];
  }
  if (event.key.length === 1 && event.key.charCodeAt(0) < 128) {
    return event.key.charCodeAt(0);
  }
  return null;
}

// The grave accent ends the session, as it ends the program.
const quitKey = 96;
let ended = false;

function listenToKeys() {
  window.addEventListener('keydown', (event) => {
    const key = keyCode(event);
    if (key === null || ended) {
      return;
    }
    event.preventDefault();
    Module._tessera_key(key);
    if (key === quitKey) {
      ended = true;
      say('tessera: the session has ended; reload the page to start again');
    }
  });
}

async function fetchInto(url, path) {
  const response = await fetch(url);
  if (!response.ok) {
    throw new Error(url + ': ' + response.status + ' ' + response.statusText);
  }
  Module.FS.writeFile(path, new Uint8Array(await response.arrayBuffer()));
}

function message() {
  return Module.UTF8ToString(Module._tessera_message());
}

async function start() {
  const query = new URLSearchParams(window.location.search);
  const replay = query.get('replay');
  await Promise.all(pictureFiles.map((file) => fetchInto(file, '/' + file)));
  if (replay) {
    await fetchInto(replay, replayPath);
  }
  const [width, height] = canvasSize();
  const started = Module.ccall('tessera_start', 'string', ['number', 'number', 'string', 'number'],
                               [width, height, replay ? replayPath : '', query.has('fast') ? 1 : 0]);
  if (started) {
    say('tessera: ' + (replay ? replay + ': ' : '') + started);
    return;
  }
  if (!replay) {
    listenToMouse();
    listenToKeys();
  }
  canvas.focus();
  window.tesseraFrames = 0; // frames drawn so far
  // Frames follow each other until a replay has played: its last one is then drawn again
  // only when the window changes size.
  let still = false;
  const frame = () => {
    if (ended) {
      return;
    }
    resize();
    const state = Module._tessera_frame();
    window.tesseraFrames += 1;
    if (state === 1) {
      document.title = 'tessera: replay ended';
    } else if (state === 2) {
      say('tessera: ' + replay + ': ' + message());
    }
    still = state !== 0;
    if (!still) {
      window.requestAnimationFrame(frame);
    }
  };
  resize();
  window.addEventListener('resize', () => {
    if (still) {
      window.requestAnimationFrame(frame);
    }
  });
  window.requestAnimationFrame(frame);
}
