// Nothing the page adds covers the board's tools: at a landscape phone's, a portrait
// phone's and a desktop window's size, the point at each tool's centre is the canvas, and
// shows the toolbar's own pixels, with the status line and the controls showing.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { near, openPage, screenPixels, startSite, toolCentres, waitForBoard } from './browser.mjs';

let site;

before(async () => {
  site = await startSite();
});

after(() => site?.close());

const windows = [
  { name: 'a landscape phone', width: 844, height: 390, ratio: 1, touch: false },
  { name: 'a portrait phone', width: 390, height: 844, ratio: 3, touch: true },
  { name: 'a desktop window', width: 1024, height: 768, ratio: 1, touch: false },
];

for (const { name, ...size } of windows) {
  test(`in ${name}, ${size.width} x ${size.height}, the status line and the controls leave the tools uncovered`, async () => {
    const page = await openPage(site.browser, site.url + '?record', size);
    await waitForBoard(page);
    await page.mouse.move(size.width / 2, 10); // away from the tools: the light leaves them be
    assert.match(await page.$eval('#status', (line) => line.textContent), /recording/);
    const shown = await screenPixels(page);
    await page.$eval('#bar', (bar) => { bar.hidden = true; });
    const bare = await screenPixels(page);
    const centres = toolCentres(bare);
    assert.equal(centres.length, 4, JSON.stringify(centres));
    for (const [x, y] of centres) {
      const element = await page.evaluate((cx, cy) => document.elementFromPoint(cx, cy)?.id,
                                          x / size.ratio, y / size.ratio);
      assert.equal(element, 'canvas', `at ${x}, ${y}`);
      assert.ok(near(shown.at(x, y), bare.at(x, y), 24), `at ${x}, ${y}: ${shown.at(x, y)} over ${bare.at(x, y)}`);
    }
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}
