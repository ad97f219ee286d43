// A kiosk's page (?kiosk): every finger paints its own trail, and the keys are the kiosk's;
// without it two fingers still zoom.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { frames, near, openPage, pause, screenPixels, startSite, waitForBoard } from './browser.mjs';

let site;

before(async () => {
  site = await startSite();
});

after(() => site?.close());

const shapes = (page) => page.evaluate(() => Module._tessera_shape_count());

// Two fingers land near the middle together and move apart, one up and left, one down and
// right, in steps far enough apart in time for a stroke to lay shapes along the way.
const paths = [[[300, 200], [-16, -8]], [[340, 260], [16, 8]]];
const steps = 10;
const at = (step) => paths.map(([[x, y], [dx, dy]], id) => ({ x: x + dx * step, y: y + dy * step, id }));

async function spread(page) {
  const cdp = await page.createCDPSession();
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: at(0) });
  for (let step = 1; step <= steps; ++step) {
    await pause(40);
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: at(step) });
  }
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  await frames(page);
}

// Whether some point along a finger's path (past where the two started close) shows
// something other than the board it showed before.
function painted(before, after, finger) {
  for (let step = 2; step <= steps; ++step) {
    const { x, y } = at(step)[finger];
    if (!near(after.at(x, y), before.at(x, y), 8)) {
      return true;
    }
  }
  return false;
}

test('in a kiosk two fingers at once paint a trail each', async () => {
  const page = await openPage(site.browser, site.url + '?kiosk', { touch: true });
  await waitForBoard(page);
  const before = await screenPixels(page);
  await spread(page);
  const after = await screenPixels(page);
  assert.ok(painted(before, after, 0) && painted(before, after, 1), 'a trail along each path');
  assert.ok(await shapes(page) >= 6, `${await shapes(page)} shapes`);
  assert.ok(!page.printed.includes('61'), 'no zoom key');
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

test('a kiosk\'s page hears only the keys that paint and undo, and has controls for no others', async () => {
  const page = await openPage(site.browser, site.url + '?kiosk', { touch: true });
  await waitForBoard(page);
  const shown = await page.$$eval('#keys > button', (buttons) =>
    buttons.filter((button) => !button.hidden).map((button) => button.getAttribute('aria-label')));
  assert.deepEqual(shown, ['undo', 'delete', 'scatter', 'return']);
  await page.touchscreen.tap(200, 200);
  await page.touchscreen.tap(400, 300);
  await frames(page);
  assert.equal(await shapes(page), 2);
  for (const key of ['Escape', 'p', '`']) {
    await page.keyboard.press(key);
  }
  await frames(page);
  assert.equal(await shapes(page), 2, 'Escape clears nothing');
  assert.equal(await page.$eval('#status', (status) => status.textContent), '', 'the session goes on');
  assert.ok(!page.printed.some((line) => line.startsWith('snapshot')), 'no snapshot');
  await page.keyboard.press('z');
  await frames(page);
  assert.equal(await shapes(page), 1, 'z undoes');
  assert.deepEqual(page.errors, []);
  await page.close();
});
