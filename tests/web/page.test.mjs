// The web page in headless Chromium: it loads cleanly and shows the board, a right press
// paints under the pointer, and the demo replays to the frame the native renderer draws.
//   TESSERA_SITE: the built site (build-web/site); TESSERA_RENDER: tessera-render;
//   TESSERA_DEMO: the demo recording (data/demo.tessera-replay).
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { around, changedBox, filePixels, frames, launch, near, openPage, pause, screenPixels,
         shareWithin, startSite, waitForBoard } from './browser.mjs';

let site;
let browser;

before(async () => {
  site = await startSite();
  browser = site.browser;
});

after(() => site?.close());

// The picture's pixel (x, y), y downwards, from the site's own fruit.ppm (binary PPM).
function picturePixel(x, y) {
  const bytes = readFileSync(path.join(process.env.TESSERA_SITE, 'fruit.ppm'));
  const header = bytes.toString('latin1', 0, 64).match(/^P6\s+(\d+)\s+(\d+)\s+(\d+)\s/);
  const width = Number(header[1]);
  const start = header[0].length + 3 * (y * width + x);
  return [bytes[start], bytes[start + 1], bytes[start + 2]];
}

test('the page loads with no error and shows the board, its margins and the toolbar', async () => {
  const page = await openPage(browser, site.url);
  await waitForBoard(page);
  const screen = await screenPixels(page);
  // The window's centre shows the picture's centre (512 x 480 on the 640 x 480 board);
  // the board, 480 units high, leaves thin black bars above and below it.
  const centre = screen.at(320, 240);
  assert.ok([[255, 239], [256, 239], [255, 240], [256, 240]].some(([x, y]) =>
    near(centre, picturePixel(x, y), 2)), `centre ${centre}`);
  assert.deepEqual(screen.at(320, 2), [0, 0, 0]);
  // Tool 0's blue face, unlit, as natively.
  assert.ok(near(screen.at(28, 480 - 33), [0, 0, 178], 2), `tool face ${screen.at(28, 447)}`);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('a right press paints a shape under the pointer, and the menu stays shut', async () => {
  const page = await openPage(browser, site.url);
  await waitForBoard(page);
  await page.evaluate(() => {
    window.menus = { asked: 0, opened: 0 };
    document.addEventListener('contextmenu', (event) => {
      window.menus.asked += 1;
      window.menus.opened += event.defaultPrevented ? 0 : 1;
    });
  });
  const before = await screenPixels(page);
  await page.mouse.move(400, 200);
  await page.mouse.down({ button: 'right' });
  await pause(400); // held: it grows
  await page.mouse.up({ button: 'right' });
  await page.mouse.move(600, 60); // away: the light that follows leaves the board unlit
  await frames(page);
  const box = changedBox(before, await screenPixels(page));
  assert.ok(around(box, 400, 200), JSON.stringify(box));
  const menus = await page.evaluate(() => window.menus);
  assert.ok(menus.asked > 0 && menus.opened === 0, JSON.stringify(menus));
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('the full-screen button asks the browser for full screen, and leaves it', async () => {
  const page = await openPage(browser, site.url);
  await waitForBoard(page);
  await page.click('#full');
  // The button's word changes on fullscreenchange, which follows the element's change.
  await page.waitForFunction(() => document.fullscreenElement === document.documentElement &&
                                   document.getElementById('full').textContent === 'leave full screen');
  await page.click('#full');
  await page.waitForFunction(() => document.fullscreenElement === null &&
                                   document.getElementById('full').textContent === 'full screen');
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('the demo replays to its end, to the frame tessera-render draws of it', async () => {
  const folder = mkdtempSync(path.join(os.tmpdir(), 'tessera-web-'));
  const snapshot = path.join(folder, 'native.png');
  execFileSync(process.env.TESSERA_RENDER, [process.env.TESSERA_DEMO, '--snapshot', snapshot],
               { cwd: folder, stdio: 'ignore' });
  const fast = await launch({ unthrottled: true });
  try {
    const page = await openPage(fast, site.url + '?replay=demo.tessera-replay&fast');
    await page.waitForFunction(() => document.title === 'tessera: replay ended', { timeout: 180000 });
    const [web, native] = [await screenPixels(page), await filePixels(page, snapshot)];
    const share = shareWithin(web, native, 8);
    assert.ok(share >= 0.99, `${(100 * share).toFixed(2)} % of pixels within 8 levels`);
    // Closer still away from the edges, where rasterisers part: the lighting itself agrees
    // (the light that follows the pointer alone moves 1 % of them by more than 2 levels).
    const close = shareWithin(web, native, 2);
    assert.ok(close >= 0.99, `${(100 * close).toFixed(2)} % of pixels within 2 levels`);
    assert.deepEqual(page.errors, []);
  } finally {
    await fast.close();
  }
});
