// On a touch screen the page is for fingers: each tool at least 44 CSS pixels wide (48 asked
// for) with nothing over it, the page's own controls at least 44, and a tap's shape at least
// 12 across; with the mouse the toolbar and a click's shape are as they always were.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { changedBox, frames, openPage, pause, screenPixels, startSite, toolFaces, waitForBoard } from './browser.mjs';

let site;

before(async () => {
  site = await startSite();
});

after(() => site?.close());

// tool: a tool's width in CSS pixels; tap: a tapped (or clicked) shape's least width across.
// The mouse's tools: 40 board units of the 497 that the starting camera shows on the
// window's 768 points, 62.2.
const screens = [
  { name: 'a portrait phone', width: 390, height: 844, ratio: 3, touch: true,
    tool: [44, 52], tap: [12, Infinity] },
  { name: 'a landscape phone', width: 844, height: 390, ratio: 3, touch: true,
    tool: [44, 52], tap: [12, Infinity] },
  { name: 'a desktop window with a mouse', width: 1024, height: 768, ratio: 2, touch: false,
    tool: [61, 63.5], tap: [0, 12] },
];

for (const { name, tool, tap, ...size } of screens) {
  test(`on ${name}, ${size.width} x ${size.height} at ${size.ratio} pixels a point, the tools are ` +
       `${tool[0]} to ${tool[1]} points wide and uncovered, a tap's shape ${tap[0]} to ${tap[1]} across`, async () => {
    const page = await openPage(site.browser, site.url, { ...size, mobile: size.touch });
    await waitForBoard(page);
    const [x, y] = [size.width / 2, size.height / 2];
    if (!size.touch) {
      await page.mouse.move(x, y); // the light where the click comes, before it
      await frames(page);
    }
    const before = await screenPixels(page);
    const faces = toolFaces(before);
    assert.equal(faces.length, 4, JSON.stringify(faces));
    for (const face of faces) {
      const width = (face.right - face.left + 1) / size.ratio;
      assert.ok(width >= tool[0] && width <= tool[1], `a tool ${width} points wide: ${JSON.stringify(face)}`);
      const centre = [(face.left + face.right) / 2 / size.ratio, (face.top + face.bottom) / 2 / size.ratio];
      assert.equal(await page.evaluate((cx, cy) => document.elementFromPoint(cx, cy)?.id, ...centre),
                   'canvas', `at ${centre}`);
    }
    if (size.touch) {
      const controls = await page.$$eval('#controls > :not([hidden])', (shown) =>
        shown.map((control) => { const box = control.getBoundingClientRect(); return [box.width, box.height]; }));
      assert.ok(controls.length >= 2 && controls.every(([w, h]) => w >= 44 && h >= 44), JSON.stringify(controls));
    }

    if (size.touch) {
      await page.touchscreen.tap(x, y);
    } else {
      await page.mouse.click(x, y, { button: 'right' });
    }
    await frames(page);
    await pause(50);
    const box = changedBox(before, await screenPixels(page));
    assert.ok(box !== null, 'the tap left a shape');
    const across = (Math.min(box.right - box.left, box.bottom - box.top) + 1) / size.ratio;
    assert.ok(across >= tap[0] && across < tap[1], `a shape ${across} points across: ${JSON.stringify(box)}`);
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}
