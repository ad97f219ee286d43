// A kiosk's page (?kiosk): every finger paints its own trail, and the keys are the kiosk's;
// without it two fingers still zoom.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { frames, openPage, startSite, waitForBoard } from './browser.mjs';

let site;

before(async () => {
  site = await startSite();
});

after(() => site?.close());

const shapes = (page) => page.evaluate(() => Module._tessera_shape_count());

// Two fingers land near the middle together and move apart, one up and left, one down and
// right, a step every few frames: each step comes past a trail's spacing however slow the
// machine, and the browser never merges two steps into one.
const steps = 10;
const at = (step) => [[300, 200, -16, -8], [340, 260, 16, 8]].map(([x, y, dx, dy], id) =>
  ({ x: x + dx * step, y: y + dy * step, id }));

async function spread(page) {
  const cdp = await page.createCDPSession();
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: at(0) });
  for (let step = 1; step <= steps; ++step) {
    await frames(page, 5);
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: at(step) });
  }
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  await frames(page);
}

test('in a kiosk two fingers at once paint a trail each, and only the kiosk\'s keys are heard', async () => {
  const page = await openPage(site.browser, site.url + '?kiosk', { touch: true });
  await waitForBoard(page);
  await spread(page);
  // Four shapes for each finger here, one finger's alone.
  const painted = await shapes(page);
  assert.ok(painted >= 7 && !page.printed.includes('61'), `${painted} shapes, no zoom key`);
  assert.deepEqual(await page.$$eval('#keys > button:not([hidden])', (shown) =>
    shown.map((button) => button.getAttribute('aria-label'))), ['undo', 'delete', 'scatter', 'return']);
  assert.ok(await page.$eval('#controls', (controls) => controls.hidden), 'no photo, record or full screen');
  for (const key of ['Escape', 'p', '`', 'z']) {
    await page.keyboard.press(key);
  }
  await frames(page);
  assert.equal(await shapes(page), painted - 1, 'only z was heard');
  assert.ok(!page.printed.some((line) => line.startsWith('snapshot')) &&
            await page.$eval('#status', (status) => status.textContent) === '', 'no snapshot, no end');
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('without a kiosk the same two fingers zoom and paint no trail', async () => {
  const page = await openPage(site.browser, site.url, { touch: true });
  await waitForBoard(page);
  await spread(page);
  assert.ok(page.printed.includes('61'), 'the zoom-in key');
  assert.ok(await shapes(page) <= 1, `${await shapes(page)} shapes`);
  assert.deepEqual(page.errors, []);
  await page.close();
});
