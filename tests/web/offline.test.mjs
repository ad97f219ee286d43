// The site kept by the browser: after one visit the page opens again with no network, its
// queries too; a home screen finds what it installs the page by; and a new build of the
// site replaces the kept one on the next visit with network. The stories follow each other
// in one browser, on a copy of the site that the last one rebuilds.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { launch, near, openPage, screenPixels, serve, waitForBoard } from './browser.mjs';

const web = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../web');
let folder;
let site;
let browser;

before(async () => {
  folder = mkdtempSync(path.join(os.tmpdir(), 'tessera-offline-'));
  cpSync(process.env.TESSERA_SITE, folder, { recursive: true });
  site = await serve(folder);
  browser = await launch();
});

after(async () => {
  await browser?.close();
  site?.close();
});

async function goOffline(page) {
  site.reachable = false;
  await page.setOfflineMode(true);
}

// The site's first visit, with network, once its worker answers the page's requests.
async function visited() {
  Object.assign(site, { reachable: true, missed: 0 });
  const page = await openPage(browser, site.url);
  await waitForBoard(page);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  return page;
}

test('after a first visit the page opens with no network: the board, and ?replay= of the demo', async () => {
  const page = await visited();
  const online = await screenPixels(page);
  await goOffline(page);
  await page.reload();
  await waitForBoard(page);
  const offline = await screenPixels(page);
  for (const [x, y] of [[320, 240], [100, 100], [28, 447]]) {
    assert.ok(near(offline.at(x, y), online.at(x, y), 2), `at ${x}, ${y}: ${offline.at(x, y)}`);
  }
  await page.goto(site.url + '?replay=demo.tessera-replay');
  await page.waitForFunction(() => window.tesseraFrames > 30);
  assert.equal(await page.$eval('#controls', (controls) => controls.hidden), true);
  assert.equal(await page.$eval('#status', (line) => line.textContent), '');
  assert.equal(site.missed, 0, 'requests that went to the network');
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('with no network, the page links a manifest the browser can install it by, icons kept', async () => {
  const page = await visited();
  await goOffline(page);
  await page.reload();
  await waitForBoard(page);
  const cdp = await page.createCDPSession();
  const { errors, data } = await cdp.send('Page.getAppManifest');
  assert.deepEqual(errors, []);
  const manifest = JSON.parse(data);
  assert.equal(manifest.display, 'fullscreen');
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  assert.deepEqual(installabilityErrors, []);
  const sizes = await page.evaluate((icons) => Promise.all(icons.map(async ({ src }) => {
    const image = new Image();
    image.src = src;
    await image.decode();
    return image.naturalWidth;
  })), manifest.icons);
  assert.deepEqual(sizes, [128, 48]);
  assert.equal(site.missed, 0, 'requests that went to the network');
  await page.close();
});

// The site's service worker written again from the folder's files, as the build writes it.
function rebuildWorker() {
  const worker = path.join(folder, 'service-worker.js');
  const files = [...readFileSync(worker, 'utf8').match(/const files = \[(.*)\];/)[1]
    .matchAll(/'([^']+)'/g)].map((match) => match[1]);
  execFileSync('cmake', [`-DSITE=${folder}`, `-DFILES=${files.join(',')}`,
                         `-DTEMPLATE=${path.join(web, 'service-worker.js.in')}`, `-DOUTPUT=${worker}`,
                         '-P', path.join(web, 'service_worker.cmake')]);
  return readFileSync(worker, 'utf8').match(/const version = '(.*)';/)[1];
}

test('a new build of the site replaces the kept one on the next visit with network', async () => {
  const page = await visited();
  const [old] = await page.evaluate(() => caches.keys());
  assert.equal(rebuildWorker(), old, 'the same files give the same version');
  const index = path.join(folder, 'index.html');
  writeFileSync(index, readFileSync(index, 'utf8').replace('<title>', '<meta name="build" content="2">\n<title>'));
  const current = rebuildWorker();
  assert.notEqual(current, old);
  await page.reload();
  await page.waitForFunction(async (name) => (await caches.keys()).join() === name, {}, current);
  await goOffline(page);
  await page.reload();
  await waitForBoard(page);
  assert.equal(await page.$eval('meta[name=build]', (meta) => meta.content), '2');
  assert.equal(site.missed, 0, 'requests that went to the network');
  await page.close();
});
