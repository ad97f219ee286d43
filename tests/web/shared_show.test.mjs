// A shared show end to end: tessera under a real X server (Xvfb) serving phones on 127.0.0.1,
// two headless Chromium phones painting at once through its page, and the big screen's own
// pixels read back where they touched.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { mkdtemp, readFile, rm } from 'node:fs/promises';
import net from 'node:net';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { filePixels, launch, near, openPage, pause } from './browser.mjs';

const program = process.env.TESSERA_PROGRAM;
const screenshot = process.env.TESSERA_SCREENSHOT;
const display = ':' + (process.env.TESSERA_TEST_DISPLAY ?? '93');
let browser;
let xvfb;
let show;
let folder;
let printed = '';

function freePort() {
  return new Promise((resolve) => {
    const probe = net.createServer().listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

async function until(condition, what, tries = 200) {
  for (let i = 0; i < tries && !(await condition()); ++i) await pause(50);
  assert.ok(await condition(), `never: ${what}`);
}

function run(command, args, env = {}) {
  return new Promise((resolve) => {
    const child = spawn(command, args, { env: { ...process.env, ...env } });
    let output = '';
    child.stdout.on('data', (data) => { output += data; });
    child.stderr.on('data', (data) => { output += data; });
    child.on('exit', (status) => resolve({ status, output }));
  });
}

before(async () => {
  folder = await mkdtemp(path.join(tmpdir(), 'tessera-shared-'));
  xvfb = spawn('Xvfb', [display, '-screen', '0', '640x480x24', '-nolisten', 'tcp']);
  await pause(500);
  const port = await freePort();
  show = spawn(program, ['--window', '--share', `127.0.0.1:${port}`,
                         '--record', path.join(folder, 'shared.tessera-replay')],
               { env: { ...process.env, DISPLAY: display } });
  show.stdout.on('data', (data) => { printed += data; });
  show.stderr.on('data', (data) => { printed += data; });
  await until(() => /phones paint at http:\/\/127\.0\.0\.1:\d+\//.test(printed), 'the address');
  browser = await launch();
});

after(async () => {
  await browser?.close();
  show?.kill('SIGTERM');
  xvfb?.kill('SIGTERM');
  if (!process.env.TESSERA_KEEP) await rm(folder, { recursive: true, force: true });
});

async function bigScreen(name) {
  const file = path.join(folder, name);
  const { status, output } = await run(screenshot, [file], { DISPLAY: display });
  assert.equal(status, 0, output);
  return file;
}

// The box of the pixels that changed by more than 8 levels inside a window region.
function changedIn(before, after, { left, top, right, bottom }) {
  let box = null;
  for (let y = top; y < bottom; ++y) {
    for (let x = left; x < right; ++x) {
      if (!near(after.at(x, y), before.at(x, y), 8)) {
        box = box ?? { left: x, right: x, top: y, bottom: y };
        box = { left: Math.min(box.left, x), right: Math.max(box.right, x),
                top: Math.min(box.top, y), bottom: Math.max(box.bottom, y) };
      }
    }
  }
  return box;
}

test('two phones paint at once through the page the program serves, each under the point it ' +
     'touched, and the recording names both pointers', async () => {
  const address = printed.match(/phones paint at (\S+)/)[1];
  const phones = [];
  for (const tool of [2, 1]) {
    const page = await openPage(browser, address, { touch: true, mobile: true, width: 390, height: 844 });
    await page.waitForFunction(() => document.getElementById('status').hidden &&
                                     document.getElementById('picture').naturalWidth > 0);
    await page.bringToFront();
    await page.tap(`#tools button[data-tool="${tool}"]`);
    phones.push(page);
  }
  const before = await bigScreen('before.png');
  // Each phone touches its picture at its own share of the board: u across, v down.
  const touches = [[0.25, 0.55], [0.7, 0.35]];
  const fingers = [];
  for (const [i, page] of phones.entries()) {
    // The picture as shown, fitted whole inside its element.
    const box = await page.$eval('#picture', (picture) => {
      const shown = picture.getBoundingClientRect();
      const scale = Math.min(shown.width / picture.naturalWidth, shown.height / picture.naturalHeight);
      const [width, height] = [picture.naturalWidth * scale, picture.naturalHeight * scale];
      return { left: shown.left + (shown.width - width) / 2, top: shown.top + (shown.height - height) / 2,
               width, height };
    });
    const [u, v] = touches[i];
    await page.bringToFront(); // a page in the background hears no touches
    fingers.push(await page.touchscreen.touchStart(box.left + u * box.width, box.top + v * box.height));
  }
  await pause(400); // both held at once
  for (const [i, finger] of fingers.entries()) {
    await phones[i].bringToFront();
    await finger.end();
  }
  await pause(300);
  const after = await bigScreen('after.png');
  const pixels = [await filePixels(phones[0], before), await filePixels(phones[0], after)];
  // The board as the window shows it, inside the black margins around it.
  const lit = (x, y) => pixels[0].at(x, y).some((value) => value > 24);
  const columns = [...Array(640).keys()].filter((x) => lit(x, 240));
  const rows = [...Array(480).keys()].filter((y) => lit(320, y));
  const board = { left: columns[0], width: columns.at(-1) - columns[0] + 1,
                  top: rows[0], height: rows.at(-1) - rows[0] + 1 };
  for (const [u, v] of touches) {
    const [x, y] = [Math.round(board.left + u * board.width), Math.round(board.top + v * board.height)];
    const box = changedIn(...pixels, { left: x - 40, top: y - 40, right: x + 40, bottom: y + 40 });
    assert.ok(box !== null, `nothing painted near ${x}, ${y}`);
    const [centreX, centreY] = [(box.left + box.right) / 2, (box.top + box.bottom) / 2];
    assert.ok(Math.abs(centreX - x) <= 3 && Math.abs(centreY - y) <= 3,
              `the shape for ${x}, ${y} lies at ${centreX}, ${centreY}`);
  }
  assert.equal(changedIn(...pixels, { left: 0, top: 300, right: 100, bottom: 400 }), null,
               'nothing painted where nobody touched');
  const recorded = await readFile(path.join(folder, 'shared.tessera-replay'), 'utf8');
  const pointers = new Set([...recorded.matchAll(/ press 2 \d+ \d+ p(\d+)\n/g)].map((m) => m[1]));
  assert.equal(pointers.size, 2, recorded.slice(-600));
  for (const page of phones) assert.deepEqual(page.errors, []);
});
