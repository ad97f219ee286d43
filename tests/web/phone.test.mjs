// The phones' page against a stand-in for the show: the page's files and a picture over HTTP,
// and a WebSocket at /brush that greets each phone. Fingers come through Chromium's touch
// input (Input.dispatchTouchEvent) on a phone-sized page.
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import http from 'node:http';
import { after, before, test } from 'node:test';
import { WebSocketServer } from 'ws';
import { launch, openPage, pause, screenPixels } from './browser.mjs';

const files = { '/': 'phone.html', '/phone.js': 'phone.js', '/phone.css': 'phone.css' };
// A 4 x 3 picture of one colour, #d08040, found on the screen by it.
const picture = Buffer.from('iVBORw0KGgoAAAANSUhEUgAAAAQAAAADCAIAAAA7ljmRAAAAEElEQVR42mO40OAARww4OQB0lhLBq4H/6gAAAABJRU5ErkJggg==', 'base64');
// `greet` answers each new phone; `heard` holds each connection's messages.
const show = { heard: [], sockets: [], requested: [], greet: (socket) => socket.send('hello 7 1 4 3') };
let browser;
let server;

before(async () => {
  browser = await launch();
  server = http.createServer(async (request, response) => {
    show.requested.push(request.url);
    const name = new URL(request.url, 'http://x').pathname;
    const body = name === '/picture' ? picture
      : files[name] && await readFile(new URL(`../../share/phone/${files[name]}`, import.meta.url));
    response.writeHead(body ? 200 : 404);
    response.end(body);
  });
  new WebSocketServer({ server, path: '/brush' }).on('connection', (socket) => {
    const heard = show.heard[show.sockets.push(socket) - 1] = [];
    socket.on('message', (data) => heard.push(data.toString()));
    show.greet(socket);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  show.url = `http://127.0.0.1:${server.address().port}/`;
});

after(async () => {
  await browser?.close();
  server?.closeAllConnections();
  server?.close();
});

async function until(condition, what) {
  for (let tries = 0; tries < 100 && !(await condition()); ++tries) await pause(50);
  assert.ok(await condition(), `never: ${what}`);
}

// A phone's page, greeted and showing the picture, with the messages its brush sends.
async function phone(width, height) {
  const connection = show.heard.length;
  const page = await openPage(browser, show.url, { touch: true, mobile: true, width, height });
  await until(() => show.heard.length > connection, 'connected');
  await page.waitForFunction(() => document.getElementById('status').hidden &&
                                   document.getElementById('picture').naturalWidth > 0);
  return { page, heard: show.heard[connection] };
}

// The picture's box on the screen, by its colour.
async function pictureBox(page) {
  const screen = await screenPixels(page);
  const box = { left: Infinity, top: Infinity, right: -1, bottom: -1 };
  for (let y = 0; y < screen.height; ++y) {
    for (let x = 0; x < screen.width; ++x) {
      if (screen.at(x, y).every((value, c) => Math.abs(value - [0xd0, 0x80, 0x40][c]) < 8)) {
        Object.assign(box, { left: Math.min(box.left, x), right: Math.max(box.right, x),
                             top: Math.min(box.top, y), bottom: Math.max(box.bottom, y) });
      }
    }
  }
  return { ...box, width: box.right - box.left + 1, height: box.bottom - box.top + 1 };
}

// A touch message checked for its form and, where wanted, its shares within 0.01.
function stroke(message, wanted) {
  assert.ok(message.length <= 64 && /^(down|move|up) [01]\.\d{1,6} [01]\.\d{1,6}$/.test(message), message);
  const [kind, u, v] = message.split(' ');
  if (wanted) {
    assert.ok(kind === wanted[0] && Math.abs(u - wanted[1]) <= 0.01 && Math.abs(v - wanted[2]) <= 0.01,
              `${message}, wanted ${wanted}`);
  }
  return [kind, Number(u), Number(v)];
}

for (const { name, width, height, below } of [
  { name: 'held upright, the toolbar along the bottom', width: 390, height: 844, below: true },
  { name: 'held sideways, the toolbar along the side', width: 844, height: 390, below: false }]) {
  test(`${name}: the picture fits whole, and touches on it go as its shares`, async () => {
    const { page, heard } = await phone(width, height);
    const box = await pictureBox(page);
    assert.ok(Math.abs((below ? box.width : box.height) - Math.min(width, height)) <= 1 &&
              Math.abs(box.width / box.height - 4 / 3) < 0.02, JSON.stringify(box));
    const tools = await page.$$eval('#tools button', (all) => all.map((b) => b.getBoundingClientRect().toJSON()));
    assert.ok(tools.length === 5 && tools.every((tool) => tool.width >= 48 && tool.height >= 48 &&
                                    (below ? tool.top > box.bottom : tool.left > box.right)), JSON.stringify(tools));

    const at = (u, v) => [box.left + u * box.width, box.top + v * box.height];
    const finger = await page.touchscreen.touchStart(...at(0.5, 0.5));
    await finger.move(...at(0.25, 0.75));
    await finger.end();
    await page.touchscreen.tap(1, 1); // on the black at the screen's corner: the picture's
    await until(() => heard.filter((m) => m.startsWith('up')).length === 2, 'two strokes');
    const strokes = heard.slice(1);
    stroke(strokes[0], ['down', 0.5, 0.5]);
    stroke(strokes.at(-3), ['up', 0.25, 0.75]);
    stroke(strokes.at(-2), ['down', 0, 0]);
    stroke(strokes.at(-1), ['up', 0, 0]);
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}

test('the tool goes on connecting and on each change; only the first finger paints, its ' +
     'moves at most 60 a second on a fast screen', async () => {
  const { page, heard } = await phone(390, 844);
  await page.tap('#tools button[data-tool="1"]');
  await until(() => heard.length === 2, 'the new tool');
  assert.deepEqual(heard, ['tool 0', 'tool 1']);
  assert.equal(await page.$$eval('#tools button', (all) => all.map((b) => b.ariaPressed).join(' ')),
               'false true false false false');

  const box = await pictureBox(page);
  // A screen of 250 frames a second (headless Chromium's frames and touches come at 60).
  await page.evaluate(() => {
    window.requestAnimationFrame = (next) => setTimeout(() => next(performance.now()), 4);
    document.getElementById('board').addEventListener('touchstart',
      (event) => { window.painting = event.changedTouches[0].identifier; }, { once: true });
  });
  const first = await page.touchscreen.touchStart(box.left + 50, box.top + 50);
  const second = await page.touchscreen.touchStart(box.left + 200, box.top + 200);
  await second.move(box.left + 250, box.top + 150);
  await second.end();
  // Half a second of the first finger's moves, one every millisecond or two.
  const seconds = await page.evaluate(async (x, y) => {
    const board = document.getElementById('board');
    const start = performance.now();
    for (let step = 0; performance.now() - start < 500; ++step) {
      const touch = new Touch({ identifier: window.painting, target: board, clientX: x + step % 100, clientY: y });
      board.dispatchEvent(new TouchEvent('touchmove', { touches: [touch], changedTouches: [touch], cancelable: true }));
      await new Promise((resolve) => setTimeout(resolve, 1));
    }
    return (performance.now() - start) / 1000;
  }, box.left + 50, box.top + 50);
  await first.move(box.left + 150, box.top + 50);
  await first.end();
  await until(() => heard.at(-1).startsWith('up'), 'the lift');
  const strokes = heard.slice(2);
  stroke(strokes[0], ['down', 50 / box.width, 50 / box.height]);
  stroke(strokes.at(-1), ['up', 150 / box.width, 50 / box.height]);
  const moves = strokes.slice(1, -1).map((message) => stroke(message));
  assert.ok(moves.every(([kind]) => kind === 'move'), 'nothing from the second finger');
  assert.ok(moves.length >= 1 && moves.length <= 60 * seconds + 2, `${moves.length} moves in ${seconds} s`);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('a new picture loads when the show says; a full board and a lost connection say so, ' +
     'with a retry that reconnects; nothing else is fetched', async () => {
  show.greet = (socket) => { socket.send('full'); socket.close(); };
  const page = await openPage(browser, show.url, { touch: true, mobile: true, width: 390, height: 844 });
  const status = () => page.$eval('#status', (line) => line.hidden ? '' : line.textContent.replace(/\s+/g, ' ').trim());
  await until(async () => (await status()) === 'The board is full - try again in a moment Retry', 'full');
  show.greet = (socket) => socket.send('hello 8 1 4 3');
  const connections = show.heard.length;
  await page.tap('#retry');
  await until(async () => show.heard.length > connections && (await status()) === '', 'greeted');
  show.sockets.at(-1).send('picture 2 4 3');
  await until(() => show.requested.includes('/picture?g=2'), 'the new picture');
  show.sockets.at(-1).terminate();
  await until(async () => (await status()) === 'Connection lost Retry', 'lost');
  await page.tap('#retry');
  await until(() => show.heard.at(-1).length > 0 && show.heard.length === connections + 2, 'again');
  assert.deepEqual(show.heard.at(-1), ['tool 0']);
  const own = ['/', '/phone.js', '/phone.css', '/picture'];
  assert.deepEqual(show.requested.filter((url) => !own.includes(new URL(url, show.url).pathname)), []);
  assert.deepEqual(page.errors, []);
  await page.close();
});
