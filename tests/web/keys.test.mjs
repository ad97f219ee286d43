// The keys a phone has none of (undo, delete, clear, scatter, return, the snapshot) as
// controls a finger can hit: on a touch screen only, each a finger's size and on top where it
// is, none over the toolbar's tools or the status line, and each doing what its key does.
import assert from 'node:assert/strict';
import { mkdtempSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { downloadInto, downloaded, frames, openPage, pause, screenPixels, startSite, toolCentres,
         waitForBoard } from './browser.mjs';

let site;

before(async () => {
  site = await startSite();
});

after(() => site?.close());

const phone = { touch: true, mobile: true, ratio: 3 };
const phones = [{ name: 'portrait', width: 390, height: 844 }, { name: 'landscape', width: 844, height: 390 }];

// Each control's name and box, in CSS pixels, as the page lays them out.
const controls = (page) => page.$$eval('#keys > button', (buttons) => buttons.map((button) => {
  const { left, top, right, bottom } = button.getBoundingClientRect();
  return { name: button.getAttribute('aria-label'), left, top, right, bottom,
           shown: button.checkVisibility() };
}));

const overlap = (a, b) => a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;

for (const { name, ...size } of phones) {
  test(`on a ${name} phone the controls are finger-sized, on top, and clear of the tools and the status line`, async () => {
    const page = await openPage(site.browser, site.url + '?record', { ...phone, ...size });
    await waitForBoard(page);
    const boxes = await controls(page);
    assert.deepEqual(boxes.map((box) => box.name), ['undo', 'delete', 'clear', 'scatter', 'return', 'snapshot']);
    const bar = await page.$$eval('#status, #controls', (parts) => parts.map((part) => part.getBoundingClientRect().toJSON()));
    for (const [i, box] of boxes.entries()) {
      assert.ok(box.shown, box.name);
      assert.ok(box.right - box.left >= 44 && box.bottom - box.top >= 44, JSON.stringify(box));
      const hit = await page.evaluate((x, y) => document.elementFromPoint(x, y)?.getAttribute('aria-label'),
                                      (box.left + box.right) / 2, (box.top + box.bottom) / 2);
      assert.equal(hit, box.name);
      for (const other of boxes.slice(i + 1)) {
        const apart = { left: box.left - 8, top: box.top - 8, right: box.right + 8, bottom: box.bottom + 8 };
        assert.ok(!overlap(apart, other), `${box.name} and ${other.name} have room between them`);
      }
      for (const part of bar) {
        assert.ok(!overlap(box, part), `${box.name} over the bar: ${JSON.stringify(part)}`);
      }
    }
    await page.$eval('#bar', (bar) => { bar.hidden = true; });
    const centres = toolCentres(await screenPixels(page));
    await page.$eval('#bar', (bar) => { bar.hidden = false; });
    assert.equal(centres.length, 4, JSON.stringify(centres));
    for (const [x, y] of centres) {
      const element = await page.evaluate((cx, cy) => document.elementFromPoint(cx, cy)?.id,
                                          x / phone.ratio, y / phone.ratio);
      assert.equal(element, 'canvas', `tool at ${x / phone.ratio}, ${y / phone.ratio}`);
    }
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}

test('the mouse page shows no controls, until a finger touches it', async () => {
  const page = await openPage(site.browser, site.url, { width: 1024, height: 768 });
  await waitForBoard(page);
  assert.ok((await controls(page)).every((box) => !box.shown));
  const session = await page.createCDPSession();
  await session.send('Emulation.setTouchEmulationEnabled', { enabled: true });
  const finger = await page.touchscreen.touchStart(500, 400);
  await finger.end();
  assert.ok((await controls(page)).every((box) => box.shown));
  assert.deepEqual(page.errors, []);
  await page.close();
});

// On a portrait phone: points on the board in CSS pixels, and a tap or a still hold there.
const spots = [[120, 400], [260, 440]];

async function hold(page, [x, y], milliseconds) {
  const finger = await page.touchscreen.touchStart(x, y);
  await pause(milliseconds);
  await finger.end();
  await frames(page);
}

async function press(page, name) {
  await page.tap(`#keys > button[aria-label="${name}"]`);
  await frames(page);
}

const shapes = (page) => page.evaluate(() => Module._tessera_shape_count());
const animation = (page) => page.evaluate(() => Module._tessera_animation());

async function paintTwo(page) {
  for (const spot of spots) {
    await hold(page, spot, 200);
  }
  assert.equal(await shapes(page), 2);
}

const rows = [
  { control: 'undo', act: async (page) => {
    await paintTwo(page);
    await press(page, 'undo');
    assert.equal(await shapes(page), 1);
  } },
  { control: 'delete', act: async (page) => {
    await paintTwo(page);
    await press(page, 'delete'); // nothing selected: nothing goes
    assert.equal(await shapes(page), 2);
    await hold(page, spots[0], 800); // selects the first
    await press(page, 'delete');
    assert.equal(await shapes(page), 1);
  } },
  { control: 'clear', act: async (page) => {
    await paintTwo(page);
    await press(page, 'clear');
    assert.equal(await shapes(page), 0);
  } },
  { control: 'scatter and return', act: async (page) => {
    await paintTwo(page);
    await press(page, 'scatter');
    assert.equal(await animation(page), 1);
    await page.waitForFunction(() => Module._tessera_animation() === 0, { timeout: 10_000 });
    await press(page, 'return');
    assert.equal(await animation(page), 2);
  } },
  { control: 'snapshot', act: async (page) => {
    const folder = mkdtempSync(path.join(os.tmpdir(), 'tessera-keys-'));
    await downloadInto(site.browser, folder);
    await press(page, 'snapshot');
    assert.ok((await downloaded(path.join(folder, 'tessera-0001.png'))).length > 1000);
    assert.ok(page.printed.includes('snapshot tessera-0001.png'), page.printed.join(' | '));
  } },
];

for (const { control, act } of rows) {
  test(`on a phone, ${control} does what its key does`, async () => {
    const page = await openPage(site.browser, site.url, { ...phone, ...phones[0] });
    await waitForBoard(page);
    await act(page);
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}
