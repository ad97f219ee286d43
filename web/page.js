// The page around the module: it fetches the picture set (and a recording given as
// ?replay=FILE) into the module's file system, keeps the canvas at the window's size in
// device pixels, turns mouse, touch and keyboard input into the module's events, and lets
// the browser's animation frames drive the idle step and the drawing. With ?kiosk the keys
// are a kiosk's (only those that paint and undo are heard) and every finger paints its own
// stroke. Photographs are
// decoded by the browser; snapshots and recordings are downloaded; a recording on the
// person's photograph keeps the photograph in the browser's storage over the fresh start. Nothing a person has
// made (shapes, a recording not saved, a photograph shown) goes without their say. The
// browser keeps the site, where it can, to open it with no network (service-worker.js).
'use strict';

const canvas = document.getElementById('canvas');
const statusLine = document.getElementById('status');
const defaultPhoto = 'fruits.jpg';
const pictureFiles = ['fruit.ppm', 'fruit_mask.pgm', 'fruit.map', defaultPhoto];
const replayPath = '/session.tessera-replay';
const recordingPath = '/recording.tessera-replay';
// Where the photograph's bytes lie while the module takes their checksum.
const photoPath = '/photo';
// How far a finger may wander, in CSS pixels, and still be held still.
const stillRadius = 10;
// On a touch screen a tap leaves a shape at least this wide, and each tool is at least this
// wide, in CSS pixels.
const tapWidth = 12;
const toolWidth = 48;
// A touch screen, as the browser tells of it before any touch: the toolbar is a finger's
// from the start (a pointer of type touch makes it one later, unless recording).
const coarse = window.matchMedia('(pointer: coarse), (any-pointer: coarse)').matches;

function say(text) {
  statusLine.textContent = text;
}

// What the page is doing: whether it replays or records, whether what was recorded since
// the last save is unsaved, the person's photograph shown (its name, and its file, for a
// recording on it), and whether the page is leaving with the person's agreement.
const session = { replaying: false, recording: false, unsaved: false, photo: null,
                  photoFile: null, leaving: false };

// Input the person gives: while recording, the recording holds something not yet saved.
function heard() {
  session.unsaved = session.recording;
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

// On a touch screen far from the 4:3 board (a phone either way up) the default picture is
// made from its photograph at the screen's shape, so that the board fills the screen; 0
// keeps the picture set.
function screenShape() {
  const aspect = window.innerWidth / Math.max(1, window.innerHeight);
  const apart = aspect / (4 / 3);
  const coarse = window.matchMedia('(pointer: coarse)').matches;
  return coarse && (apart < 0.8 || apart > 1.25) ? aspect : 0;
}

let shownShape = 0; // the shape the default picture was last made at

// The canvas's size as the module is told it, in full-size pixels: where the frame is drawn
// at a render scale below 1, the canvas holds fewer pixels and the browser stretches them.
let fullSize = [0, 0];

// ?render-scale=F fixes the share of the width and height frames are drawn at (0.5 to 1);
// without it, or with auto, the module chooses it from how long the frames take.
const renderScaleQuery = 'render-scale';

function fixedRenderScale() {
  const text = new URLSearchParams(window.location.search).get(renderScaleQuery);
  if (text === null || text === 'auto') {
    return 0;
  }
  const scale = /^[0-9.]+$/.test(text) ? Number(text) : NaN;
  if (scale >= 0.5 && scale <= 1) {
    return scale;
  }
  say(`tessera: ?${renderScaleQuery}= takes auto or a number from 0.5 to 1, not ${text}; ` +
      'the scale is chosen automatically');
  return 0;
}

// The canvas holds round(width x scale) x round(height x scale) pixels, as the module's
// viewport at that scale.
function resize(scale = window.tesseraRenderScale ?? 1) {
  const [width, height] = canvasSize();
  const backing = [Math.max(1, Math.round(width * scale)), Math.max(1, Math.round(height * scale))];
  if (canvas.width !== backing[0] || canvas.height !== backing[1]) {
    canvas.width = backing[0];
    canvas.height = backing[1];
  }
  if (fullSize[0] !== width || fullSize[1] !== height) {
    fullSize = [width, height];
    Module._tessera_resize(width, height);
    // A phone turned: the board is laid out again in this frame, at the new shape where
    // nothing painted would be lost.
    const shape = screenShape();
    if (shownShape > 0 && shape > 0 && (shape < 1) !== (shownShape < 1) &&
        Module._tessera_default_shape(shape)) {
      shownShape = shape;
    }
  }
}

// A pointer position in the canvas's full-size pixels, as the native window reports them.
function canvasPoint(event) {
  const box = canvas.getBoundingClientRect();
  return [Math.floor((event.clientX - box.left) * fullSize[0] / box.width),
          Math.floor((event.clientY - box.top) * fullSize[1] / box.height)];
}

// The mouse's buttons as GLUT numbers them: 0 left, 1 middle, 2 right, as the browser
// does. A finger or a pen goes to the touch scheme by its pointer id, however many are down:
// paint, hold still on a shape to select it, two fingers to zoom and pan (in a kiosk each
// finger paints).
function listenToPointers() {
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());
  canvas.addEventListener('pointerdown', (event) => {
    canvas.setPointerCapture(event.pointerId);
    canvas.focus();
    heard();
    if (event.pointerType === 'mouse') {
      Module._tessera_press(event.button, ...canvasPoint(event));
    } else {
      if (event.pointerType === 'touch') {
        Module._tessera_finger_toolbar(toolWidth * pixelRatio());
      }
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

// p downloads what the canvas shows, drawn afresh at the full size (a WebGL canvas keeps no
// frame once it is shown), as tessera-0001.png, tessera-0002.png, ...; the next frame goes
// back to the render scale.
let snapshots = 0;

function snapshot() {
  resize(1);
  Module._tessera_draw();
  snapshots += 1;
  const name = 'tessera-' + String(snapshots).padStart(4, '0') + '.png';
  download(name, canvas.toDataURL('image/png'));
  console.log('snapshot ' + name);
}

// The grave accent ends the session, as it ends the program; the module says what it made
// of a key (a kiosk hears neither it nor the snapshot key).
const snapshotKey = 112;
const keyAction = { forward: 0, forwardAndQuit: 1 };
let ended = false;

function pressKey(key) {
  heard();
  const action = Module._tessera_key(key);
  if (action === keyAction.forward && key === snapshotKey) {
    snapshot();
  }
  if (action === keyAction.forwardAndQuit) {
    ended = true;
    say('tessera: the session has ended; reload the page to start again');
  }
}

function listenToKeys() {
  window.addEventListener('keydown', (event) => {
    const key = keyCode(event);
    if (key === null || ended) {
      return;
    }
    event.preventDefault();
    pressKey(key);
  });
}

// A touch screen has no keys for undo, delete, clear, scatter, return and the snapshot: each
// has a control that presses its key, shown where the pointer is a finger, or from the first
// touch on (a laptop's screen, say). A mouse's page stays as it is. A kiosk has controls
// only for the keys it hears.
function listenToKeyControls() {
  const keys = document.getElementById('keys');
  const show = () => { keys.hidden = false; };
  if (window.matchMedia('(pointer: coarse)').matches) {
    show();
  }
  window.addEventListener('pointerdown', (event) => {
    if (event.pointerType === 'touch') {
      show();
    }
  }, true);
  for (const button of keys.querySelectorAll('button')) {
    button.hidden = !Module._tessera_key_heard(Number(button.dataset.key));
    button.addEventListener('click', () => {
      if (!ended) {
        pressKey(Number(button.dataset.key));
      }
      canvas.focus();
    });
  }
}

function message() {
  return Module.UTF8ToString(Module._tessera_message());
}

// What starting afresh (afresh) or showing another picture would throw away, in words: the
// shapes painted, a recording not saved and, afresh, the person's photograph, as the page
// starts on the default picture. Nothing during a replay, which is nobody's work.
function atStake(afresh) {
  if (session.replaying) {
    return [];
  }
  const lost = [];
  const shapes = Module._tessera_shape_count();
  if (shapes > 0) {
    lost.push(shapes === 1 ? 'the shape painted' : `the ${shapes} shapes painted`);
  }
  if (session.unsaved) {
    lost.push('the recording not saved');
  }
  if (afresh && session.photo) {
    lost.push('the photograph ' + session.photo);
  }
  return lost;
}

// Whether the person agrees to doing, which would throw away what atStake names; asked only
// when something would go.
function agreed(doing, afresh) {
  const lost = atStake(afresh);
  if (lost.length === 0) {
    return true;
  }
  const last = lost.pop();
  const words = lost.length > 0 ? lost.join(', ') + ' and ' + last : last;
  return window.confirm(`${doing}: ${words} would be lost. Go on?`);
}

// Starts the page afresh with query, once agreed to: the guard on leaving asks no more. A
// render scale fixed for the page stays fixed.
function leave(query) {
  session.leaving = true;
  const scale = new URLSearchParams(window.location.search).get(renderScaleQuery);
  window.location.search =
    query + (scale === null ? '' : `&${renderScaleQuery}=${encodeURIComponent(scale)}`);
}

// Closing the tab, reloading or going elsewhere asks first (the browser's own question)
// while anything would be lost.
function guardLeaving() {
  window.addEventListener('beforeunload', (event) => {
    if (!session.leaving && atStake(true).length > 0) {
      event.preventDefault();
      event.returnValue = '';
    }
  });
}

// Until the browser has drawn a frame and run what waits: what was said shows, and the page
// answers, before a long piece of work.
const nextFrame = () =>
  new Promise((resolve) => window.requestAnimationFrame(() => setTimeout(resolve, 0)));

// A photograph decoded and turned upright by its EXIF orientation by the browser, which
// also shrinks it to the size the picture needs (a large one would keep the module busy for
// seconds): the bitmap, and the photograph's own width and height.
async function uprightPhoto(file) {
  const whole = await createImageBitmap(file, { imageOrientation: 'from-image' });
  const { width, height } = whole;
  const scale = Module._tessera_photo_scale(width, height);
  if (scale >= 1) {
    return { bitmap: whole, width, height };
  }
  const bitmap = await createImageBitmap(whole, {
    resizeWidth: Math.max(1, Math.round(width * scale)),
    resizeHeight: Math.max(1, Math.round(height * scale)), resizeQuality: 'high' });
  whole.close();
  return { bitmap, width, height };
}

// A photograph's upright RGBA pixels, as uprightPhoto gives them, and the photograph's own
// width and height; throws for a file that is no image.
async function photoPixels(file) {
  const photo = await uprightPhoto(file);
  const { bitmap } = photo;
  const { width, height } = bitmap;
  const drawn = new OffscreenCanvas(width, height).getContext('2d');
  drawn.drawImage(bitmap, 0, 0);
  bitmap.close();
  return { rgba: drawn.getImageData(0, 0, width, height).data, width, height,
           photoWidth: photo.width, photoHeight: photo.height };
}

// Calls the module's function with the pixels in its memory and the name: tessera_photo or
// tessera_start_photo, which also takes more (after the name).
function withPixels(call, photo, name, more = []) {
  const pixels = Module._malloc(photo.rgba.length);
  Module.HEAPU8.set(photo.rgba, pixels);
  const done = Module.ccall(
    call, 'number', ['number', 'number', 'number', 'number', 'number', 'string', ...more.map(() => 'string')],
    [pixels, photo.width, photo.height, photo.photoWidth, photo.photoHeight, name, ...more]);
  Module._free(pixels);
  return done;
}

// The default photograph, decoded by the browser as any other, handed to the module: on a
// phone the default picture is made from it at the screen's shape.
async function handOverDefaultPhoto() {
  const file = new Blob([Module.FS.readFile('/' + defaultPhoto)], { type: 'image/jpeg' });
  const { width, height, rgba } = await photoPixels(file);
  const pixels = Module._malloc(rgba.length);
  Module.HEAPU8.set(rgba, pixels);
  Module._tessera_default_photo(pixels, width, height);
  Module._free(pixels);
}

// A photograph made the board, handed to the module as RGBA pixels; a file that is no image
// leaves the picture as it is, and so does a person who would rather keep the shapes.
async function showPhoto(file) {
  const refusal = Module.ccall('tessera_photo_refusal', 'string', ['string'], [file.name]);
  if (refusal) {
    say(refusal);
    return;
  }
  say(`tessera: reading ${file.name}\u2026`);
  await nextFrame();
  let photo;
  try {
    photo = await photoPixels(file);
  } catch {
    say(`tessera: ${file.name} is not an image this browser can read; the picture stays`);
    return;
  }
  if (!agreed(`Showing ${file.name} replaces the board`, false)) {
    say(`tessera: ${file.name} is not shown; the board stays`);
    return;
  }
  if (withPixels('tessera_photo', photo, file.name)) {
    session.photo = file.name;
    session.photoFile = file;
  }
  say(message());
}

// A dropped recording is kept in the browser's own storage and the page starts afresh to
// play it, as the program plays one from its start, once it has passed the checks a replay
// passes (checked where it lies meanwhile); anything else is taken for a photograph.
const replayMagic = 'tessera-replay ';
const droppedQuery = 'dropped';
const photoQuery = 'photo';
const checkedPath = '/dropped.tessera-replay';

// The browser's storage: dropped recordings, and the photograph a recording starts on.
const storeNames = ['recordings', 'photos'];

function openStore() {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open('tessera', 2);
    request.onupgradeneeded = () => {
      for (const name of storeNames.filter((name) => !request.result.objectStoreNames.contains(name))) {
        request.result.createObjectStore(name);
      }
    };
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

async function stored(mode, use, name = 'recordings') {
  const store = (await openStore()).transaction(name, mode).objectStore(name);
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
  Module.FS.writeFile(checkedPath, bytes);
  const fault = Module.ccall('tessera_check_recording', 'string', ['string', 'string'],
                             [checkedPath, file.name]);
  Module.FS.unlink(checkedPath);
  if (fault) {
    say(`tessera: ${fault}; the page goes on as it was`);
    return;
  }
  if (!agreed(`Playing ${file.name} starts the page afresh`, true)) {
    say(`tessera: ${file.name} is not played; the board stays`);
    return;
  }
  await stored('readwrite', (store) => store.put({ name: file.name, bytes }, droppedQuery));
  const query = new URLSearchParams(window.location.search);
  leave('?' + droppedQuery + (query.has('fast') ? '&fast' : ''));
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
  // A recording starts with the session: the page starts afresh to record one, on the
  // photograph shown, if any.
  const record = document.getElementById('record');
  record.textContent = recording ? 'save recording' : 'record';
  record.addEventListener('click', () => {
    if (!recording) {
      startRecording().catch((error) => say('tessera: ' + error.message));
      return;
    }
    const bytes = Module.FS.readFile(recordingPath);
    download('tessera-session.tessera-replay',
             URL.createObjectURL(new Blob([bytes], { type: 'text/plain' })));
    session.unsaved = false;
  });
  if (recording) {
    const on = session.photo ? ` on ${session.photo}` : '';
    say(`tessera: recording${on}; "save recording" downloads the session so far`);
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

// Starts the page afresh to record, once agreed to: on the photograph shown, kept in the
// browser's storage meanwhile, or else on the default picture.
async function startRecording() {
  const file = session.photoFile;
  if (!file) {
    if (agreed('Recording starts the page afresh on the default picture', true)) {
      leave('?record');
    }
    return;
  }
  const refusal = Module.ccall('tessera_record_photo_refusal', 'string', ['string'], [file.name]);
  if (refusal) {
    say(`tessera: ${refusal}`);
    return;
  }
  if (!agreed(`Recording starts the page afresh on ${file.name}`, false)) {
    return;
  }
  const bytes = new Uint8Array(await file.arrayBuffer());
  await stored('readwrite', (store) => store.put({ name: file.name, bytes }, photoQuery), 'photos');
  leave('?record&' + photoQuery);
}

// The kept photograph made ready for the start, with the checksum of its file's bytes.
// Returns what is wrong, or ''.
async function startPhoto() {
  const kept = await stored('readonly', (store) => store.get(photoQuery), 'photos');
  if (!kept) {
    return 'the photograph to record on is no longer kept; choose it again';
  }
  say(`tessera: reading ${kept.name}\u2026`);
  let photo;
  try {
    photo = await photoPixels(new Blob([kept.bytes]));
  } catch {
    return `${kept.name} is not an image this browser can read`;
  }
  Module.FS.writeFile(photoPath, kept.bytes);
  const ready = withPixels('tessera_start_photo', photo, kept.name, [photoPath]);
  Module.FS.unlink(photoPath);
  if (!ready) {
    return message();
  }
  session.photo = kept.name;
  session.photoFile = new File([kept.bytes], kept.name);
  return '';
}

// ?replay= takes a file of this site by a relative path, so that no request leaves it: an
// absolute address, //host or another scheme gives null, as does anything that would
// still resolve to another origin.
function ownFile(text) {
  if (/^[a-z][a-z\d+.-]*:|^[\\/]{2}/i.test(text.trim())) {
    return null;
  }
  try {
    const url = new URL(text, window.location.href);
    return url.origin === window.location.origin ? url.href : null;
  } catch {
    return null;
  }
}

async function fetchInto(url, path) {
  const response = await fetch(url, { mode: 'same-origin' }).catch(() => {
    throw new Error(url + ' could not be fetched (is the network there?)');
  });
  if (!response.ok) {
    throw new Error(url + ': ' + response.status + ' ' + response.statusText);
  }
  Module.FS.writeFile(path, new Uint8Array(await response.arrayBuffer()));
}

async function start() {
  const query = new URLSearchParams(window.location.search);
  let replay = query.get('replay');
  await Promise.all(pictureFiles.map((file) => fetchInto(file, '/' + file)));
  await handOverDefaultPhoto();
  if (replay) {
    const url = ownFile(replay);
    if (url === null) {
      say(`tessera: ?replay= takes a recording of this site by its path (such as ` +
          `demo.tessera-replay), not ${replay}; nothing was fetched`);
      return;
    }
    await fetchInto(url, replayPath);
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
  if (recording && query.has(photoQuery)) {
    const fault = await startPhoto();
    if (fault) {
      say('tessera: ' + fault);
      return;
    }
  }
  // A kiosk's visitors paint; the picture and the page's files are the owner's.
  const kiosk = query.has('kiosk');
  if (kiosk) {
    Module._tessera_kiosk();
  }
  const [width, height] = canvasSize();
  shownShape = replay ? 0 : screenShape();
  const started = Module.ccall(
    'tessera_start', 'string',
    ['number', 'number', 'string', 'string', 'number', 'number', 'number', 'number', 'number',
     'number'],
    [width, height, replay ? replayPath : '', replay ?? '', query.has('fast') ? 1 : 0,
     recording ? 1 : 0, stillRadius * pixelRatio(), tapWidth * pixelRatio(),
     coarse ? toolWidth * pixelRatio() : 0, shownShape]);
  if (!kiosk) {
    listenToDrops(started !== '');
  }
  if (started) {
    say('tessera: ' + started);
    return;
  }
  session.replaying = Boolean(replay);
  session.recording = recording;
  guardLeaving();
  document.getElementById('controls').hidden = Boolean(replay) || kiosk;
  if (!replay) {
    listenToPointers();
    listenToKeys();
    listenToKeyControls();
    if (!kiosk) {
      listenToControls(recording);
    }
  }
  canvas.focus();
  window.tesseraFrames = 0; // frames drawn so far
  // The share of the width and height frames are drawn at, fixed or chosen each frame from
  // the time since the frame before (none after a pause).
  const fixedScale = fixedRenderScale();
  let lastFrame = null;
  window.tesseraRenderScale = Module._tessera_render_scale(fixedScale, 0);
  // Frames follow each other until a replay has played: its last one is then drawn again
  // only when the window changes size.
  let still = false;
  const frame = (time) => {
    if (ended) {
      return;
    }
    const seconds = lastFrame === null ? 0 : (time - lastFrame) / 1000;
    window.tesseraRenderScale = Module._tessera_render_scale(fixedScale, seconds);
    resize();
    const state = Module._tessera_frame();
    window.tesseraFrames += 1;
    if (state === 1) {
      document.title = 'tessera: replay ended';
    } else if (state === 2) {
      say('tessera: ' + replay + ': ' + message());
    }
    still = state !== 0;
    lastFrame = still ? null : time;
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

// Where the browser keeps sites (a secure context: https or this computer), the worker
// keeps this one once the page has loaded; anywhere else the page goes on without it.
window.addEventListener('load', () => {
  navigator.serviceWorker?.register('service-worker.js')
    .catch((error) => console.log('tessera: not kept for use offline: ' + error.message));
});
