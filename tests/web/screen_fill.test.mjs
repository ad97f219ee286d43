// The board fills the screen it is shown on: on a phone either way up the default picture
// takes the screen's shape, turning the phone lays it out again, a desktop window keeps the
// 4:3 picture set, and a portrait photograph becomes a portrait board.
import assert from 'node:assert/strict';
import { mkdtempSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { frames, openPage, screenPixels, startSite, waitForBoard } from './browser.mjs';

let site;

before(async () => {
  site = await startSite();
});

after(() => site?.close());

// The box of the screen that is not the page's black, with the page's own controls hidden:
// the board (and the toolbar's strip, which reaches a little past its left edge).
async function boardBox(page) {
  await page.$eval('#bar', (bar) => { bar.style.visibility = 'hidden'; });
  await frames(page);
  const screen = await screenPixels(page);
  await page.$eval('#bar', (bar) => { bar.style.visibility = ''; });
  const box = { left: screen.width, top: screen.height, right: -1, bottom: -1 };
  for (let y = 0; y < screen.height; y += 2) {
    for (let x = 0; x < screen.width; x += 2) {
      if (screen.at(x, y).some((value) => value > 12)) {
        Object.assign(box, { left: Math.min(box.left, x), right: Math.max(box.right, x),
                             top: Math.min(box.top, y), bottom: Math.max(box.bottom, y) });
      }
    }
  }
  const share = ((box.right - box.left) * (box.bottom - box.top)) / (screen.width * screen.height);
  return { ...box, share, tall: box.bottom - box.top > box.right - box.left };
}

const screens = [
  { name: 'a portrait phone', width: 390, height: 844, ratio: 3, touch: true, least: 0.6, tall: true },
  { name: 'a landscape phone', width: 844, height: 390, ratio: 3, touch: true, least: 0.6, tall: false },
  { name: 'a desktop window', width: 1024, height: 768, ratio: 2, touch: false, least: 0.85, tall: false },
];

for (const { name, least, tall, ...size } of screens) {
  test(`on ${name}, ${size.width} x ${size.height}, the board covers at least ${least * 100} % of the screen`, async () => {
    const page = await openPage(site.browser, site.url, size);
    await waitForBoard(page);
    const box = await boardBox(page);
    assert.ok(box.share >= least, JSON.stringify(box));
    assert.equal(box.tall, tall, JSON.stringify(box));
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}

test('turning a phone lays the board out again at the new shape; once painted on, the picture stays', async () => {
  const phone = { width: 390, height: 844, ratio: 3, touch: true };
  const page = await openPage(site.browser, site.url, phone);
  await waitForBoard(page);
  await page.setViewport({ width: 844, height: 390, deviceScaleFactor: 3, hasTouch: true });
  await frames(page, 2);
  const turned = await boardBox(page);
  assert.ok(turned.share >= 0.6 && !turned.tall, JSON.stringify(turned));

  await page.touchscreen.tap(422, 195);
  await page.waitForFunction(() => Module._tessera_shape_count() === 1);
  await page.setViewport({ width: 390, height: 844, deviceScaleFactor: 3, hasTouch: true });
  await frames(page, 2);
  assert.equal(await page.evaluate(() => Module._tessera_shape_count()), 1, 'the shape stays');
  const kept = await boardBox(page);
  assert.equal(kept.tall, false, 'on its landscape board: ' + JSON.stringify(kept));
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('a portrait photograph becomes a portrait board', async () => {
  const page = await openPage(site.browser, site.url, { width: 1024, height: 768 });
  await waitForBoard(page);
  const png = await page.evaluate(async () => {
    const canvas = new OffscreenCanvas(300, 400);
    const context = canvas.getContext('2d');
    context.fillStyle = '#e61e1e';
    context.fillRect(0, 0, 300, 200);
    context.fillStyle = '#2832dc';
    context.fillRect(0, 200, 300, 200);
    const bytes = new Uint8Array(await (await canvas.convertToBlob({ type: 'image/png' })).arrayBuffer());
    return btoa(String.fromCharCode(...bytes));
  });
  const file = path.join(mkdtempSync(path.join(tmpdir(), 'tessera-')), 'tall.png');
  writeFileSync(file, Buffer.from(png, 'base64'));
  await (await page.$('#photo')).uploadFile(file);
  await page.waitForFunction(() => document.getElementById('status').textContent.startsWith('tall'));
  assert.match(await page.$eval('#status', (line) => line.textContent), /48 x 64 cells/);
  const box = await boardBox(page);
  // 480 x 640 units: three quarters as wide as tall.
  const shape = (box.right - box.left) / (box.bottom - box.top);
  assert.ok(box.tall && Math.abs(shape - 0.75) < 0.03, JSON.stringify(box));

  assert.deepEqual(page.errors, []);
  await page.close();
});
