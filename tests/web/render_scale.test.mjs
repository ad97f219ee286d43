// At a render scale below 1 the canvas holds that share of the window's pixels and the
// browser stretches them, while pointing and snapshots stay at the window's full size.
import assert from 'node:assert/strict';
import { mkdtempSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { around, changedBox, downloaded, downloadInto, filePixels, frames, openPage,
         pause, screenPixels, startSite, waitForBoard } from './browser.mjs';

let site;
let folder;

before(async () => {
  site = await startSite();
  folder = mkdtempSync(path.join(os.tmpdir(), 'tessera-scale-'));
  await downloadInto(site.browser, folder);
});

after(() => site?.close());

test('at ?render-scale=0.5 the canvas is half as wide and high, a right press paints under ' +
     'the pointer, and p saves the window at its full size', async () => {
  const page = await openPage(site.browser, site.url + '?render-scale=0.5');
  await waitForBoard(page);
  assert.deepEqual(await page.$eval('#canvas', (canvas) => [canvas.width, canvas.height]), [320, 240]);
  assert.equal(await page.evaluate(() => window.tesseraRenderScale), 0.5);

  const before = await screenPixels(page);
  await page.mouse.move(480, 150);
  await page.mouse.down({ button: 'right' });
  await pause(400); // held: it grows
  await page.mouse.up({ button: 'right' });
  // The pointer stays: the light that follows it sets the new shape apart from the board.
  await frames(page);
  const box = changedBox(before, await screenPixels(page));
  assert.ok(around(box, 480, 150), JSON.stringify(box));

  await page.keyboard.press('p');
  await downloaded(path.join(folder, 'tessera-0001.png'));
  const saved = await filePixels(page, path.join(folder, 'tessera-0001.png'));
  assert.deepEqual([saved.width, saved.height], [640, 480]);
  await frames(page);
  assert.deepEqual(await page.$eval('#canvas', (canvas) => [canvas.width, canvas.height]), [320, 240]);
  assert.deepEqual(page.errors, []);
  await page.close();
});
