// Each way into the page keeps a person's work unless they agree to lose it: a dropped
// photograph shows once agreed to, a dropped recording is checked before anything goes, the
// record control asks before it starts afresh, and so does leaving the page; a large
// photograph is read with a word and without freezing the page; ?replay= fetches only from
// the page's own site.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { frames, near, openPage, pause, screenPixels, shareWithin, startSite, waitForBoard } from './browser.mjs';

const data = path.join(path.dirname(fileURLToPath(import.meta.url)), '..', '..', 'data');
let site;

before(async () => {
  site = await startSite();
});

after(() => site?.close());

// A page on the board whose dialogs are answered `answer` (true: agree) and kept in `asked`.
async function boardPage(query = '') {
  const page = await openPage(site.browser, site.url + query);
  page.asked = [];
  page.answer = false;
  page.on('dialog', (dialog) => {
    page.asked.push(`${dialog.type()}: ${dialog.message()}`);
    return page.answer ? dialog.accept() : dialog.dismiss();
  });
  await waitForBoard(page);
  return page;
}

const statusText = (page) => page.$eval('#status', (line) => line.textContent);
const shapeCount = (page) => page.evaluate(() => Module._tessera_shape_count());

async function paint(page, x, y) {
  await page.mouse.move(x, y);
  await page.mouse.down({ button: 'right' });
  await frames(page, 5);
  await page.mouse.up({ button: 'right' });
  await frames(page);
}

// Drops a file of these bytes on the page, as a person drags one there.
async function dropFile(page, name, bytes) {
  await page.evaluate((fileName, base64) => {
    document.getElementById('status').textContent = '';
    const files = new DataTransfer();
    files.items.add(new File([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))], fileName));
    window.dispatchEvent(new DragEvent('drop', { dataTransfer: files, cancelable: true }));
  }, name, Buffer.from(bytes).toString('base64'));
}

// What the status line says after such a drop, once the page is done reading.
async function drop(page, name, bytes) {
  await dropFile(page, name, bytes);
  await page.waitForFunction(() => {
    const text = document.getElementById('status').textContent;
    return text !== '' && !text.startsWith('tessera: reading ');
  });
  return statusText(page);
}

test('a dropped photograph replaces a painted board only once the person agrees, and then shows', async () => {
  const page = await boardPage();
  const before = await screenPixels(page);
  await paint(page, 500, 100);
  assert.equal(await shapeCount(page), 1);
  const jpeg = readFileSync(path.join(data, 'fruits.jpg'));
  assert.equal(await drop(page, 'fruits.jpg', jpeg), 'tessera: fruits.jpg is not shown; the board stays');
  assert.deepEqual(page.asked, ['confirm: Showing fruits.jpg replaces the board: the shape painted would be lost. Go on?']);
  assert.equal(await shapeCount(page), 1);

  page.answer = true;
  assert.match(await drop(page, 'fruits.jpg', jpeg),
               /^fruits\.jpg: 512 x 480 picture from a 512 x 480 photograph, 64 x 60 cells, \d+ regions$/);
  assert.equal(await shapeCount(page), 0);
  await frames(page);
  // The whole photograph is the board, of its own shape: the same fruit at the centre, the
  // rest moved.
  const after = await screenPixels(page);
  assert.ok(near(after.at(320, 240), before.at(320, 240), 16), `centre ${after.at(320, 240)}`);
  assert.ok(shareWithin(after, before, 8) < 0.5, 'the board changed');
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('a dropped recording is checked first: a bad one is refused, a good one plays once agreed to', async () => {
  const page = await boardPage('?record');
  await paint(page, 400, 200);
  const demo = readFileSync(process.env.TESSERA_DEMO);
  const broken = Buffer.concat([demo.subarray(0, 200), Buffer.from('\n5 press sideways\n')]);
  assert.match(await drop(page, 'broken.tessera-replay', broken),
               /^tessera: broken\.tessera-replay:\d+: .*; the page goes on as it was$/);
  assert.deepEqual(page.asked, []);

  assert.equal(await drop(page, 'demo.tessera-replay', demo),
               'tessera: demo.tessera-replay is not played; the board stays');
  assert.deepEqual(page.asked, ['confirm: Playing demo.tessera-replay starts the page afresh: ' +
                                'the shape painted and the recording not saved would be lost. Go on?']);
  // All is as it was: the page, its shape and the recording, press and all.
  assert.match(page.url(), /\?record&render-scale=1$/);
  assert.equal(await shapeCount(page), 1);
  const recorded = await page.evaluate(() => new TextDecoder().decode(Module.FS.readFile('/recording.tessera-replay')));
  assert.match(recorded, /\n\d+ press 2 400 200\n/);

  page.answer = true;
  await Promise.all([page.waitForNavigation(), dropFile(page, 'demo.tessera-replay', demo)]);
  assert.match(page.url(), /\?dropped&render-scale=1$/);
  assert.equal(page.asked.length, 2, 'leaving asks no more once agreed');
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('record asks before the shapes on a photograph go, and leaving before the photograph goes too', async () => {
  const page = await boardPage();
  await drop(page, 'fruits.jpg', readFileSync(path.join(data, 'fruits.jpg')));
  await paint(page, 400, 200);
  await page.click('#record');
  assert.deepEqual(page.asked, ['confirm: Recording starts the page afresh on fruits.jpg: ' +
                                'the shape painted would be lost. Go on?']);
  await page.evaluate(() => window.location.reload());
  for (let tries = 0; tries < 50 && page.asked.length < 2; ++tries) {
    await pause(100);
  }
  assert.equal(page.asked[1], 'beforeunload: ');
  assert.equal(await shapeCount(page), 1);
  assert.match(await statusText(page), /^fruits\.jpg: /);

  page.answer = true;
  await Promise.all([page.waitForNavigation(), page.click('#record')]);
  assert.match(page.url(), /\?record&photo&render-scale=1$/);
  assert.equal(page.asked.length, 3);
  await page.close();
});

test('a large photograph is said to be read and shows within seconds, the page answering meanwhile', async () => {
  const page = await boardPage();
  await page.evaluate(() => {
    window.said = [];
    new MutationObserver(() => window.said.push([performance.now(), window.tesseraFrames,
                                                 document.getElementById('status').textContent]))
      .observe(document.getElementById('status'), { childList: true });
  });
  const dropped = await page.evaluate(async () => {
    const canvas = new OffscreenCanvas(5640, 3172);
    const context = canvas.getContext('2d');
    const gradient = context.createLinearGradient(0, 0, 5640, 3172);
    gradient.addColorStop(0, '#d22');
    gradient.addColorStop(1, '#22d');
    context.fillStyle = gradient;
    context.fillRect(0, 0, 5640, 3172);
    const file = new File([await canvas.convertToBlob({ type: 'image/jpeg' })], 'large.jpg');
    const files = new DataTransfer();
    files.items.add(file);
    window.dispatchEvent(new DragEvent('drop', { dataTransfer: files, cancelable: true }));
    return performance.now();
  });
  await page.waitForFunction(() => window.said.some(([, , text]) => text.startsWith('large.jpg')), { timeout: 30000 });
  const said = await page.evaluate(() => window.said);
  const [[readingAt, framesReading, reading], [shownAt, framesShown, summary]] = [said[0], said.at(-1)];
  assert.equal(reading, 'tessera: reading large.jpg\u2026');
  assert.ok(readingAt - dropped < 200, `said after ${readingAt - dropped} ms`);
  assert.ok(framesShown - framesReading >= 3, `${framesShown - framesReading} frames drawn while reading`);
  assert.match(summary, /^large\.jpg: 1024 x 576 picture from a 5640 x 3172 photograph, 64 x 36 cells/);
  assert.ok(shownAt - dropped < 5000, `shown after ${shownAt - dropped} ms`);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('?replay= fetches only a file of the page\'s own site: another host is never asked', async () => {
  let asked = 0;
  const elsewhere = http.createServer((request, response) => { asked += 1; response.end('tessera-replay 3\n'); });
  await new Promise((resolve) => elsewhere.listen(0, '127.0.0.2', resolve));
  const host = `127.0.0.2:${elsewhere.address().port}`;
  try {
    for (const address of [`http://${host}/x`, `//${host}/x`, `/\\${host}/x`]) {
      const page = await openPage(site.browser, site.url + '?replay=' + encodeURIComponent(address));
      await page.waitForFunction(() => document.getElementById('status').textContent !== '');
      assert.equal(await statusText(page), 'tessera: ?replay= takes a recording of this site by its path ' +
                   `(such as demo.tessera-replay), not ${address}; nothing was fetched`);
      await page.close();
    }
  } finally {
    elsewhere.close();
  }
  assert.equal(asked, 0);
});
