// The page around the module: it fetches the picture set (and a recording given as
// ?replay=FILE) into the module's file system, keeps the canvas at the window's size in
// device pixels, turns mouse, touch and keyboard input into the module's events, and lets
// the browser's animation frames drive the idle step and the drawing. Photographs are
// decoded by the browser; snapshots and recordings are downloaded.
'use strict';

const canvas = document.getElementById('canvas');
const statusLine = document.getElementById('status');
const pictureFiles = ['fruit.ppm', 'fruit_mask.pgm', 'fruit.map'];
const replayPath = '/session.tessera-replay';
const recordingPath = '/recording.tessera-replay';
// How far a finger may wander, in CSS pixels, and still be held still.
const stillRadius = 10;

function say(text) {
  statusLine.textContent = text;
}

var Module = {
  canvas: canvas,
  print: (text) => console.log(text),
  printErr: (text) => console.error(text),
  onRuntimeInitialized: () => start().catch((error) => say('tessera: ' + error.message)),
};

function pixelRatio() {
  return window.devicePixelRatio || 1;
}

// Canvas pixels: the window's size times the screen's pixel ratio.
function canvasSize() {
  return [Math.max(1, Math.round(window.innerWidth * pixelRatio())),
          Math.max(1, Math.round(window.innerHeight * pixelRatio()))];
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

// The mouse's buttons as GLUT numbers them: 0 left, 1 middle, 2 right, as the browser
// does. A finger or a pen goes to the touch scheme: paint, hold still on a shape to
// select it, two fingers to zoom and pan.
function listenToPointers() {
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());
  canvas.addEventListener('pointerdown', (event) => {
    canvas.setPointerCapture(event.pointerId);
    canvas.focus();
    if (event.pointerType === 'mouse') {
      Module._tessera_press(event.button, ...canvasPoint(event));
    } else {
      Module._tessera_touch_down(event.pointerId, ...canvasPoint(event));
    }
    event.preventDefault();
  });
  canvas.addEventListener('pointermove', (event) => {
    if (event.pointerType === 'mouse') {
      Module._tessera_motion(...canvasPoint(event));
    } else {
      Module._tessera_touch_move(event.pointerId, ...canvasPoint(event));
    }
  });
  const lifted = (event) => {
    if (event.pointerType === 'mouse') {
      Module._tessera_release(event.button, ...canvasPoint(event));
    } else {
      Module._tessera_touch_up(event.pointerId, ...canvasPoint(event));
    }
  };
  canvas.addEventListener('pointerup', lifted);
  canvas.addEventListener('pointercancel', lifted);
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

function download(name, url) {
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  link.click();
}

// p downloads what the canvas shows, drawn afresh (a WebGL canvas keeps no frame once it
// is shown), as tessera-0001.png, tessera-0002.png, ...
let snapshots = 0;

function snapshot() {
  Module._tessera_draw();
  snapshots += 1;
  const name = 'tessera-' + String(snapshots).padStart(4, '0') + '.png';
  download(name, canvas.toDataURL('image/png'));
  console.log('snapshot ' + name);
}

// The grave accent ends the session, as it ends the program.
const quitKey = 96;
const snapshotKey = 112;
let ended = false;

function listenToKeys() {
  window.addEventListener('keydown', (event) => {
    const key = keyCode(event);
    if (key === null || ended) {
      return;
    }
    event.preventDefault();
    Module._tessera_key(key);
    if (key === snapshotKey) {
      snapshot();
    }
    if (key === quitKey) {
      ended = true;
      say('tessera: the session has ended; reload the page to start again');
    }
  });
}

function message() {
  return Module.UTF8ToString(Module._tessera_message());
}

// A photograph, decoded and turned upright by its EXIF orientation by the browser, handed
// to the module as RGBA pixels; a file that is no image leaves the picture as it is.
async function showPhoto(file) {
  let bitmap;
  try {
    bitmap = await createImageBitmap(file, { imageOrientation: 'from-image' });
  } catch {
    say(`tessera: ${file.name} is not an image this browser can read; the picture stays`);
    return;
  }
  const drawn = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
  drawn.drawImage(bitmap, 0, 0);
  const rgba = drawn.getImageData(0, 0, bitmap.width, bitmap.height).data;
  const pixels = Module._malloc(rgba.length);
  Module.HEAPU8.set(rgba, pixels);
  Module.ccall('tessera_photo', 'number', ['number', 'number', 'number', 'string'],
               [pixels, bitmap.width, bitmap.height, file.name]);
  Module._free(pixels);
  say(message());
}

// A dropped recording is kept in the browser's own storage and the page starts afresh to
// play it, as the program plays one from its start; anything else is taken for a photograph.
const replayMagic = 'tessera-replay ';
const droppedQuery = 'dropped';

function openStore() {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open('tessera', 1);
    request.onupgradeneeded = () => request.result.createObjectStore('recordings');
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

async function stored(mode, use) {
  const store = (await openStore()).transaction('recordings', mode).objectStore('recordings');
  return new Promise((resolve, reject) => {
    const request = use(store);
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

async function showDropped(file, recordingsOnly) {
  const head = new TextDecoder().decode(await file.slice(0, replayMagic.length).arrayBuffer());
  if (head !== replayMagic) {
    if (recordingsOnly) {
      say(`tessera: ${file.name} is no tessera recording`);
    } else {
      await showPhoto(file);
    }
    return;
  }
  const bytes = new Uint8Array(await file.arrayBuffer());
  await stored('readwrite', (store) => store.put({ name: file.name, bytes }, droppedQuery));
  const query = new URLSearchParams(window.location.search);
  window.location.search = '?' + droppedQuery + (query.has('fast') ? '&fast' : '');
}

// Files dropped on the page, during a replay too: a recording replaces it. A page that
// could not start takes only recordings.
function listenToDrops(recordingsOnly) {
  window.addEventListener('dragover', (event) => event.preventDefault());
  window.addEventListener('drop', (event) => {
    event.preventDefault();
    if (event.dataTransfer.files.length > 0) {
      showDropped(event.dataTransfer.files[0], recordingsOnly)
        .catch((error) => say('tessera: ' + error.message));
    }
  });
}

// The controls: a photograph from a file (or dropped on the page), recording, full screen.
function listenToControls(recording) {
  const photo = document.getElementById('photo');
  photo.addEventListener('change', () => {
    if (photo.files.length > 0) {
      showPhoto(photo.files[0]);
    }
    photo.value = '';
  });
  // A recording starts with the session: the page starts afresh to record one.
  const record = document.getElementById('record');
  record.textContent = recording ? 'save recording' : 'record';
  record.addEventListener('click', () => {
    if (!recording) {
      window.location.search = '?record';
      return;
    }
    const bytes = Module.FS.readFile(recordingPath);
    download('tessera-session.tessera-replay',
             URL.createObjectURL(new Blob([bytes], { type: 'text/plain' })));
  });
  if (recording) {
    say('tessera: recording; "save recording" downloads the session so far');
  }
  // Browsers that keep full screen for videos (an iPhone's) offer no button.
  const full = document.getElementById('full');
  full.hidden = !document.fullscreenEnabled;
  full.addEventListener('click', () => {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else {
      document.documentElement.requestFullscreen().catch(() => {});
    }
  });
  document.addEventListener('fullscreenchange', () => {
    full.textContent = document.fullscreenElement ? 'leave full screen' : 'full screen';
  });
}

async function fetchInto(url, path) {
  const response = await fetch(url);
  if (!response.ok) {
    throw new Error(url + ': ' + response.status + ' ' + response.statusText);
  }
  Module.FS.writeFile(path, new Uint8Array(await response.arrayBuffer()));
}

async function start() {
  const query = new URLSearchParams(window.location.search);
  let replay = query.get('replay');
  await Promise.all(pictureFiles.map((file) => fetchInto(file, '/' + file)));
  if (replay) {
    await fetchInto(replay, replayPath);
  } else if (query.has(droppedQuery)) {
    const dropped = await stored('readonly', (store) => store.get(droppedQuery));
    if (!dropped) {
      say('tessera: the dropped recording is no longer kept; drop it on the page again');
      return;
    }
    replay = dropped.name;
    Module.FS.writeFile(replayPath, dropped.bytes);
  }
  const recording = !replay && query.has('record');
  const [width, height] = canvasSize();
  const started = Module.ccall(
    'tessera_start', 'string', ['number', 'number', 'string', 'number', 'number', 'number'],
    [width, height, replay ? replayPath : '', query.has('fast') ? 1 : 0, recording ? 1 : 0,
     stillRadius * pixelRatio()]);
  listenToDrops(!started);
  if (started) {
    say('tessera: ' + (replay ? replay + ': ' : '') + started);
    return;
  }
  if (replay) {
    document.getElementById('controls').hidden = true;
  } else {
    listenToPointers();
    listenToKeys();
    listenToControls(recording);
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
