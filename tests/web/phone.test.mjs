// The phones' page against a stand-in for the show: the page's own files and a picture over
// HTTP, and a WebSocket at /brush that greets each phone as the show would. Fingers come
// through Chromium's touch input (Input.dispatchTouchEvent) on a phone-sized page.
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import http from 'node:http';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { after, before, test } from 'node:test';
import { WebSocketServer } from 'ws';
import { launch, openPage, pause, screenPixels } from './browser.mjs';

const folder = path.join(path.dirname(fileURLToPath(import.meta.url)), '../../share/phone');
const files = { '/': ['phone.html', 'text/html'], '/phone.js': ['phone.js', 'text/javascript'],
                '/phone.css': ['phone.css', 'text/css'] };

let browser;
let show;

// The stand-in show: `greet` answers each new phone (by default hello, brush 7, generation 1,
// a 400 x 300 board); `heard` holds each connection's messages, `requested` every URL asked for.
async function startShow(picture) {
  const state = { heard: [], sockets: [], requested: [],
                  greet: (socket) => socket.send('hello 7 1 400 300') };
  const server = http.createServer(async (request, response) => {
    state.requested.push(request.url);
    const name = new URL(request.url, 'http://x').pathname;
    if (name === '/picture') {
      response.writeHead(200, { 'Content-Type': 'image/png' });
      response.end(picture);
    } else if (files[name]) {
      response.writeHead(200, { 'Content-Type': files[name][1] });
      response.end(await readFile(path.join(folder, files[name][0])));
    } else {
      response.writeHead(404);
      response.end();
    }
  });
  const sockets = new WebSocketServer({ server, path: '/brush' });
  sockets.on('connection', (socket) => {
    const heard = [];
    state.heard.push(heard);
    state.sockets.push(socket);
    socket.on('message', (data) => heard.push(data.toString()));
    state.greet(socket);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return Object.assign(state, { url: `http://127.0.0.1:${server.address().port}/`,
                                close: () => { sockets.close(); server.close(); } });
}

// A 400 x 300 PNG of one colour with no black in it, made by the browser.
async function picturePng() {
  const page = await browser.newPage();
  const base64 = await page.evaluate(async () => {
    const canvas = new OffscreenCanvas(400, 300);
    const context = canvas.getContext('2d');
    context.fillStyle = '#d08040';
    context.fillRect(0, 0, 400, 300);
    const bytes = new Uint8Array(await (await canvas.convertToBlob()).arrayBuffer());
    return btoa(String.fromCharCode(...bytes));
  });
  await page.close();
  return Buffer.from(base64, 'base64');
}

before(async () => {
  browser = await launch();
  show = await startShow(await picturePng());
});

after(async () => {
  await browser?.close();
  show?.close();
});

async function until(condition, what) {
  for (let tries = 0; tries < 100; ++tries) {
    if (await condition()) return;
    await pause(50);
  }
  assert.fail(`never: ${what}`);
}

// A phone's page, once greeted and showing the picture; the messages its brush sends.
async function phone(width, height) {
  const connection = show.heard.length;
  const page = await openPage(browser, show.url, { touch: true, mobile: true, width, height });
  await until(() => show.heard.length > connection, 'the page connects');
  await page.waitForFunction(() => document.getElementById('status').hidden &&
                                   document.getElementById('picture').naturalWidth > 0);
  return { page, heard: show.heard[connection] };
}

// The box of the shown picture on the screen: the pixels that are not black, above or beside
// the toolbar's dark grey.
async function pictureBox(page) {
  const screen = await screenPixels(page);
  let box = null;
  for (let y = 0; y < screen.height; ++y) {
    for (let x = 0; x < screen.width; ++x) {
      const [r, g, b] = screen.at(x, y);
      if (Math.abs(r - 0xd0) < 8 && Math.abs(g - 0x80) < 8 && Math.abs(b - 0x40) < 8) {
        box = box ?? { left: x, right: x, top: y, bottom: y };
        Object.assign(box, { left: Math.min(box.left, x), right: Math.max(box.right, x),
                             top: Math.min(box.top, y), bottom: Math.max(box.bottom, y) });
      }
    }
  }
  return { ...box, width: box.right - box.left + 1, height: box.bottom - box.top + 1 };
}

// "down 0.500000 0.250000" as ['down', 0.5, 0.25], checked for its form on the way.
function parse(message) {
  assert.ok(message.length <= 64, message);
  assert.match(message, /^(down|move|up) [01]\.\d{1,6} [01]\.\d{1,6}$/);
  const [kind, u, v] = message.split(' ');
  return [kind, Number(u), Number(v)];
}

function assertShares([kind, u, v], wanted, within = 0.01) {
  assert.equal(kind, wanted[0]);
  assert.ok(Math.abs(u - wanted[1]) <= within && Math.abs(v - wanted[2]) <= within,
            `${kind} ${u} ${v}, wanted ${wanted}`);
}

const orientations = [
  { name: 'held upright, the toolbar along the bottom', width: 390, height: 844, toolbar: 'below' },
  { name: 'held sideways, the toolbar along the side', width: 844, height: 390, toolbar: 'beside' },
];

for (const { name, width, height, toolbar } of orientations) {
  test(`${name}: the picture fits whole, and touches on it go as its shares`, async () => {
    const { page, heard } = await phone(width, height);
    const box = await pictureBox(page);
    const across = toolbar === 'below' ? box.width : box.height;
    assert.ok(Math.abs(across - Math.min(width, height)) <= 1 &&
              Math.abs(box.width / box.height - 4 / 3) < 0.02, JSON.stringify(box));
    const tools = await page.$$eval('#tools button', (buttons) =>
      buttons.map((button) => button.getBoundingClientRect().toJSON()));
    assert.equal(tools.length, 5);
    for (const tool of tools) {
      assert.ok(tool.width >= 48 && tool.height >= 48, JSON.stringify(tool));
      assert.ok(toolbar === 'below' ? tool.top > box.bottom : tool.left > box.right, JSON.stringify(tool));
    }

    const at = (u, v) => [box.left + u * box.width, box.top + v * box.height];
    const finger = await page.touchscreen.touchStart(...at(0.5, 0.5));
    await finger.move(...at(0.25, 0.75));
    await finger.end();
    // On the black beyond the picture, at the screen's corner: the picture's nearest edge.
    await page.touchscreen.tap(1, 1);
    await until(() => heard.filter((m) => m.startsWith('up')).length === 2, 'two strokes');
    const strokes = heard.filter((m) => !m.startsWith('tool')).map(parse);
    assertShares(strokes[0], ['down', 0.5, 0.5]);
    assertShares(strokes.at(-3), ['up', 0.25, 0.75]);
    assertShares(strokes.at(-2), ['down', 0, 0]);
    assertShares(strokes.at(-1), ['up', 0, 0]);
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}

test('the chosen tool goes on connecting and on each change; only the first finger paints, ' +
     'and its moves go at most 60 a second on a fast screen', async () => {
  const { page, heard } = await phone(390, 844);
  assert.deepEqual(heard, ['tool 0']);
  await page.tap('#tools button[data-tool="1"]');
  await until(() => heard.length === 2, 'the new tool');
  assert.equal(heard[1], 'tool 1');
  assert.deepEqual(await page.$$eval('#tools button', (buttons) =>
    buttons.map((button) => button.getAttribute('aria-pressed'))), ['false', 'true', 'false', 'false', 'false']);

  const box = await pictureBox(page);
  // A screen of 250 frames a second, with a finger's touches coming every millisecond or
  // two (headless Chromium's own frames and touches come at 60 a second).
  await page.evaluate(() => {
    window.requestAnimationFrame = (next) => setTimeout(() => next(performance.now()), 4);
    document.getElementById('board').addEventListener('touchstart',
      (event) => { window.painting = event.changedTouches[0].identifier; }, { once: true });
  });
  const first = await page.touchscreen.touchStart(box.left + 50, box.top + 50);
  const second = await page.touchscreen.touchStart(box.left + 200, box.top + 200);
  await second.move(box.left + 250, box.top + 150);
  await second.end();
  const seconds = await page.evaluate(async (x, y) => {
    const board = document.getElementById('board');
    const start = performance.now();
    for (let step = 0; performance.now() - start < 500; ++step) {
      const touch = new Touch({ identifier: window.painting, target: board, clientX: x + step % 100, clientY: y });
      board.dispatchEvent(new TouchEvent('touchmove', { touches: [touch], changedTouches: [touch],
                                                        bubbles: true, cancelable: true }));
      await new Promise((resolve) => setTimeout(resolve, 1));
    }
    return (performance.now() - start) / 1000;
  }, box.left + 50, box.top + 50);
  await first.move(box.left + 150, box.top + 50);
  await first.end();
  await until(() => heard.at(-1).startsWith('up'), 'the lift');
  const strokes = heard.slice(2).map(parse);
  assert.equal(strokes[0][0], 'down');
  const moves = strokes.filter(([kind]) => kind === 'move');
  assert.ok(moves.length >= 1 && moves.length <= 60 * seconds + 2, `${moves.length} moves in ${seconds} s`);
  assert.ok(moves.every(([, , v]) => Math.abs(v - strokes[0][2]) < 1e-6), 'no move from the second finger');
  assertShares(strokes.at(-1), ['up', (50 + 100) / box.width, 50 / box.height]);
  assert.equal(strokes.length, moves.length + 2);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('a new picture loads when the show says; a full board and a lost connection say so and offer a retry that reconnects', async () => {
  show.greet = (socket) => { socket.send('full'); socket.close(); };
  const page = await openPage(browser, show.url, { touch: true, mobile: true, width: 390, height: 844 });
  const status = () => page.$eval('#status', (line) => line.hidden ? '' : line.textContent.replace(/\s+/g, ' ').trim());
  await until(async () => (await status()).startsWith('The board is full - try again in a moment'), 'full');
  show.greet = (socket) => socket.send('hello 8 1 400 300');
  const connections = show.heard.length;
  await page.tap('#retry');
  await until(async () => show.heard.length > connections && (await status()) === '', 'greeted');
  show.sockets.at(-1).send('picture 2 400 300');
  await until(() => show.requested.includes('/picture?g=2'), 'the new picture');
  show.sockets.at(-1).terminate();
  await until(async () => (await status()) === 'Connection lost Retry', 'lost');
  await page.tap('#retry');
  await until(() => show.heard.length > connections + 1 && show.heard.at(-1).length > 0, 'again');
  assert.deepEqual(show.heard.at(-1), ['tool 0']);
  const origin = show.url.slice(0, -1);
  const own = ['/', '/phone.js', '/phone.css', '/picture'];
  assert.deepEqual(show.requested.filter((url) => !own.includes(new URL(url, origin).pathname)), []);
  assert.deepEqual(await page.evaluate(() => [document.cookie, localStorage.length]), ['', 0]);
  assert.ok(page.url().startsWith(origin));
  assert.deepEqual(page.errors, []);
  await page.close();
});
