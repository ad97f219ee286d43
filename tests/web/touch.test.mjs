// Touch on the web page: a finger paints as the right button does, a still hold on a shape
// selects it as the left button does (and a second one connects), two fingers pinch to zoom.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { around, changedBox, frames, openPage, pause, screenPixels, startSite, waitForBoard } from './browser.mjs';

let site;

before(async () => {
  site = await startSite();
});

after(() => site?.close());

async function touchPage() {
  const page = await openPage(site.browser, site.url, { touch: true });
  await waitForBoard(page);
  return page;
}

async function hold(page, x, y, milliseconds) {
  const finger = await page.touchscreen.touchStart(x, y);
  await pause(milliseconds);
  await finger.end();
  await frames(page);
}

test('a touch paints a shape under the finger', async () => {
  const page = await touchPage();
  const before = await screenPixels(page);
  await hold(page, 400, 200, 300);
  const box = changedBox(before, await screenPixels(page));
  assert.ok(around(box, 400, 200), JSON.stringify(box));
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('a still hold on a shape selects it, and one on a second shape connects the two', async () => {
  const page = await touchPage();
  await hold(page, 200, 200, 900); // painted, held to grow
  await hold(page, 450, 300, 900);
  const plain = (await screenPixels(page)).at(200, 200);
  await hold(page, 200, 200, 800);
  const selected = (await screenPixels(page)).at(200, 200);
  const sum = (rgb) => rgb.reduce((a, b) => a + b, 0);
  assert.ok(sum(selected) > sum(plain) + 20, `brighter when selected: ${plain} -> ${selected}`);
  assert.ok(!page.printed.some((line) => line.startsWith('connection')));
  await hold(page, 450, 300, 800);
  assert.ok(page.printed.some((line) => /^connection \(time=[0-9.]+\)$/.test(line)),
            page.printed.join(' | '));
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('two fingers spread zoom in', async () => {
  const page = await touchPage();
  const margin = (await screenPixels(page)).at(320, 2);
  assert.deepEqual(margin, [0, 0, 0]);
  const left = await page.touchscreen.touchStart(300, 240);
  const right = await page.touchscreen.touchStart(340, 240);
  for (let step = 1; step <= 8; ++step) {
    await left.move(300 - 10 * step, 240);
    await right.move(340 + 10 * step, 240);
  }
  await left.end();
  await right.end();
  await frames(page);
  assert.ok(page.printed.includes('61'), 'the zoom-in key');
  assert.notDeepEqual((await screenPixels(page)).at(320, 2), [0, 0, 0], 'the board fills the bar');
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('on a phone, 390 x 844 at three pixels a point, a touch paints under the finger', async () => {
  const page = await openPage(site.browser, site.url, { touch: true, width: 390, height: 844, ratio: 3 });
  await waitForBoard(page);
  assert.deepEqual(await page.$eval('#canvas', (canvas) => [canvas.width, canvas.height]), [1170, 2532]);
  const before = await screenPixels(page);
  await hold(page, 250, 400, 300);
  const box = changedBox(before, await screenPixels(page));
  assert.ok(around(box, 750, 1200, 300), JSON.stringify(box));
  assert.deepEqual(page.errors, []);
  await page.close();
});
