// Files in and out of the web page: a photograph through the file input becomes the board
// (a file that is no image leaves the picture), p downloads a PNG of the canvas, and a
// recording downloads in the native format, which tessera-render plays.
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { downloaded, downloadInto, filePixels, frames, near, openPage, screenPixels, shareWithin,
         startSite, waitForBoard } from './browser.mjs';

let site;
let folder;

before(async () => {
  site = await startSite();
  folder = mkdtempSync(path.join(os.tmpdir(), 'tessera-web-'));
  await downloadInto(site.browser, folder);
});

after(() => site?.close());

async function boardPage(query = '') {
  const page = await openPage(site.browser, site.url + query);
  await waitForBoard(page);
  return page;
}

const statusText = (page) => page.$eval('#status', (line) => line.textContent);

// A 400 x 300 PNG, red, green, blue and white quadrants, made by the browser's encoder.
async function quadrantPhoto(page, file) {
  const png = await page.evaluate(async () => {
    const canvas = new OffscreenCanvas(400, 300);
    const context = canvas.getContext('2d');
    [['#e61e1e', 0, 0], ['#1ec828', 200, 0], ['#2832dc', 0, 150], ['#fafafa', 200, 150]]
      .forEach(([colour, x, y]) => { context.fillStyle = colour; context.fillRect(x, y, 200, 150); });
    const bytes = new Uint8Array(await (await canvas.convertToBlob({ type: 'image/png' })).arrayBuffer());
    return btoa(String.fromCharCode(...bytes));
  });
  writeFileSync(file, Buffer.from(png, 'base64'));
}

// The mean colour of the square of pixels reaching `reach` from (x, y) each way.
function blockMean(image, x, y, reach) {
  const sum = [0, 0, 0];
  for (let dy = -reach; dy <= reach; ++dy) {
    for (let dx = -reach; dx <= reach; ++dx) {
      image.at(x + dx, y + dy).forEach((value, c) => { sum[c] += value; });
    }
  }
  return sum.map((value) => Math.round(value / (2 * reach + 1) ** 2));
}

test('a photograph through the file input becomes the board, once agreed to; a file that is no image does not', async () => {
  const page = await boardPage();
  const asked = [];
  page.on('dialog', (dialog) => { asked.push(dialog.message()); return dialog.accept(); });
  const fruit = (await screenPixels(page)).at(320, 240);
  await page.mouse.move(500, 100);
  await page.mouse.down({ button: 'right' });
  await frames(page);
  await page.mouse.up({ button: 'right' });
  const notes = path.join(folder, 'notes.png');
  writeFileSync(notes, 'these are notes, not a picture\n');
  await (await page.$('#photo')).uploadFile(notes);
  await page.waitForFunction(() => document.getElementById('status').textContent.endsWith('stays'));
  assert.equal(await statusText(page),
               'tessera: notes.png is not an image this browser can read; the picture stays');
  await frames(page);
  assert.ok(near((await screenPixels(page)).at(320, 240), fruit, 0), 'the fruit stays');
  assert.equal(await page.evaluate(() => Module._tessera_shape_count()), 1, 'and so does the shape');
  assert.deepEqual(asked, []);

  const photo = path.join(folder, 'quadrants.png');
  await quadrantPhoto(page, photo);
  await (await page.$('#photo')).uploadFile(photo);
  await page.waitForFunction(() => document.getElementById('status').textContent.startsWith('quadrants'));
  assert.deepEqual(asked, ['Showing quadrants.png replaces the board: the shape painted would be lost. Go on?']);
  assert.match(await statusText(page),
               /^quadrants\.png: 400 x 300 picture from a 400 x 300 photograph, 64 x 48 cells, \d+ regions?$/);
  await frames(page);
  const screen = await screenPixels(page);
  assert.ok(near(screen.at(160, 120), [230, 30, 30], 2), `top left ${screen.at(160, 120)}`);
  assert.ok(near(screen.at(480, 360), [250, 250, 250], 2), `bottom right ${screen.at(480, 360)}`);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('p downloads a PNG of what the canvas shows', async () => {
  const page = await boardPage();
  await page.keyboard.press('p');
  await downloaded(path.join(folder, 'tessera-0001.png'));
  const saved = await filePixels(page, path.join(folder, 'tessera-0001.png'));
  assert.equal(saved.width, 640);
  await page.$eval('#controls', (controls) => { controls.hidden = true; }); // not the canvas's
  const share = shareWithin(saved, await screenPixels(page), 8);
  assert.ok(share >= 0.99, `${(100 * share).toFixed(2)} % of pixels within 8 levels`);
  assert.ok(page.printed.includes('112') && page.printed.includes('snapshot tessera-0001.png'),
            page.printed.join(' | '));
  await page.close();
});

test('a recorded session downloads in the native format, and tessera-render plays it', async () => {
  const page = await boardPage('?record');
  assert.match(await statusText(page), /recording/);
  await page.mouse.move(300, 200);
  await page.mouse.down({ button: 'right' });
  await frames(page, 10);
  await page.mouse.up({ button: 'right' });
  await frames(page);
  await page.click('#record');
  const recording = (await downloaded(path.join(folder, 'tessera-session.tessera-replay'))).toString();
  assert.match(recording, /^tessera-replay 5\nwindow 640 480\npicture default\n/);
  assert.match(recording, /\n\d+ press 2 300 200\n/);
  const played = execFileSync(process.env.TESSERA_RENDER,
                              [path.join(folder, 'tessera-session.tessera-replay'), '--snapshot',
                               path.join(folder, 'recorded.png')], { cwd: folder }).toString();
  assert.match(played, /wrote .*recorded\.png \(640 x 480, frame \d+\)/);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('a session recorded on a chosen photograph names it, and tessera-render plays it on that file only', async () => {
  const own = mkdtempSync(path.join(os.tmpdir(), 'tessera-web-photo-'));
  await downloadInto(site.browser, own);
  const page = await boardPage();
  const fruits = path.join(path.dirname(process.env.TESSERA_DEMO), 'fruits.jpg');
  await (await page.$('#photo')).uploadFile(fruits);
  await page.waitForFunction(() => document.getElementById('status').textContent.startsWith('fruits.jpg: '));
  await Promise.all([page.waitForNavigation(), page.click('#record')]);
  assert.match(page.url(), /\?record&photo&render-scale=1$/);
  await waitForBoard(page);
  assert.equal(await statusText(page),
               'tessera: recording on fruits.jpg; "save recording" downloads the session so far');
  await page.mouse.move(300, 200);
  await page.mouse.down({ button: 'right' });
  await frames(page, 10);
  await page.mouse.up({ button: 'right' });
  await frames(page);
  const shown = await screenPixels(page);
  await page.click('#record');
  const saved = path.join(own, 'tessera-session.tessera-replay');
  const recording = (await downloaded(saved)).toString();
  assert.match(recording, new RegExp('^tessera-replay 5\nwindow 640 480\npicture photo fruits\\.jpg\n' +
                                     'photo regions 12 cells auto fit own max-size 1024x768\n' +
                                     'board 640 600\n'));
  assert.match(recording, /\n\d+ press 2 300 200\n/);
  await downloadInto(site.browser, folder);

  const other = path.join(own, 'other.jpg');
  writeFileSync(other, Buffer.concat([readFileSync(fruits), Buffer.from([0])]));
  const render = (picture) => spawnSync(process.env.TESSERA_RENDER,
    [saved, ...picture, '--snapshot', path.join(own, 'on-photo.png')], { cwd: own });
  const missing = render([]);
  assert.equal(missing.status, 255);
  assert.match(missing.stderr.toString(),
               /^tessera-render: fruits\.jpg: No such file or directory \(.* --picture PICTURE\)\n$/);
  const refused = render(['--picture', other]);
  assert.equal(refused.status, 255);
  assert.match(refused.stderr.toString(),
               /other\.jpg: not the picture .* was recorded on, the photograph fruits\.jpg \(checksum /);
  assert.ok(!existsSync(path.join(own, 'on-photo.png')), 'nothing written');
  const played = render(['--picture', fruits]);
  assert.equal(played.status, 0, played.stderr.toString());
  assert.match(played.stdout.toString(), /wrote .*on-photo\.png \(640 x 480, frame \d+\)/);
  // The shape takes the colour of its region, which the page's picture set and the
  // program's give alike.
  const rendered = await filePixels(page, path.join(own, 'on-photo.png'));
  const shape = (image) => blockMean(image, 300, 200, 3);
  assert.ok(near(shape(shown), shape(rendered), 4), `page ${shape(shown)}, native ${shape(rendered)}`);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('a recording dropped on the page plays from its start to its end', async () => {
  const page = await boardPage('?fast');
  const demo = readFileSync(process.env.TESSERA_DEMO).toString('base64');
  await Promise.all([
    page.waitForNavigation(),
    page.evaluate((bytes) => {
      const files = new DataTransfer();
      files.items.add(new File([Uint8Array.from(atob(bytes), (c) => c.charCodeAt(0))], 'demo.tessera-replay'));
      window.dispatchEvent(new DragEvent('drop', { dataTransfer: files, cancelable: true }));
    }, demo),
  ]);
  assert.match(page.url(), /\?dropped&fast&render-scale=1$/);
  await page.waitForFunction(() => document.title === 'tessera: replay ended', { timeout: 120000 });
  assert.equal(await statusText(page), '');
  assert.deepEqual(page.errors, []);
  await page.close();
});
