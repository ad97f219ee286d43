// What the page tests share: the site served on a free local port, headless Chromium with
// software WebGL (no GPU, no network of its own), and pixel comparisons done by the
// browser's own image decoders.
import { existsSync, readFileSync, statSync } from 'node:fs';
import { readFile } from 'node:fs/promises';
import http from 'node:http';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.png': 'image/png', '.svg': 'image/svg+xml',
                '.webmanifest': 'application/manifest+json' };

// Serves folder, and any extra files by their URL path, on 127.0.0.1. While `reachable` is
// false it answers nothing, as a host the network no longer reaches, and counts in `missed`
// the requests that came all the same.
export async function serve(folder, extra = {}) {
  const site = { reachable: true, missed: 0 };
  const server = http.createServer(async (request, response) => {
    if (!site.reachable) {
      site.missed += 1;
      request.socket.destroy();
      return;
    }
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = extra[name] ?? path.join(folder, name === '/' ? 'index.html' : name);
    try {
      const body = await readFile(file);
      response.writeHead(200, { 'Content-Type': types[path.extname(file)] ?? 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return Object.assign(site, { url: `http://127.0.0.1:${server.address().port}/`,
                               close: () => server.close() });
}

// unthrottled: animation frames as fast as they are drawn, not at the display's rate, so
// that a fast replay plays at the renderer's own speed (and a live page spins).
// The site (TESSERA_SITE) served, and a browser to open it in.
export async function startSite() {
  const server = await serve(process.env.TESSERA_SITE);
  const browser = await launch();
  return { url: server.url, browser, close: async () => { await browser.close(); server.close(); } };
}

// Downloads from any of the browser's pages go to folder.
export async function downloadInto(browser, folder) {
  const session = await browser.target().createCDPSession();
  await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
}

// Once file exists and has stopped growing.
export async function downloaded(file) {
  for (let tries = 0; tries < 200; ++tries) {
    if (existsSync(file) && statSync(file).size > 0) {
      const size = statSync(file).size;
      await pause(100);
      if (statSync(file).size === size) {
        return readFileSync(file);
      }
    }
    await pause(100);
  }
  throw new Error(`${file} was never downloaded`);
}

// protocolTimeout: how long a call into a busy page may take, in milliseconds.
export function launch({ unthrottled = false, protocolTimeout = 180_000 } = {}) {
  return puppeteer.launch({
    protocolTimeout,
    executablePath: process.env.TESSERA_CHROMIUM ?? '/usr/bin/chromium',
    headless: 'new',
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--no-first-run', ...(unthrottled ? ['--disable-frame-rate-limit'] : [])],
  });
}

// A page of 640 x 480 pixels (device pixel ratio 1) unless told another size, with a touch
// screen and as a phone's browser when asked, that keeps what goes wrong in `errors` and what the
// module prints in `printed`.
export async function openPage(browser, url, { touch = false, mobile = false, width = 640, height = 480, ratio = 1 } = {}) {
  const page = await browser.newPage();
  page.errors = [];
  page.printed = [];
  page.on('console', (message) => {
    (message.type() === 'error' ? page.errors : page.printed).push(message.text());
  });
  page.on('pageerror', (error) => page.errors.push(error.message));
  await page.setViewport({ width, height, deviceScaleFactor: ratio, hasTouch: touch, isMobile: mobile });
  // At the window's full size unless the test asks for a scale: the automatic one follows
  // the machine's load, and pixels compared would follow it.
  const scaled = /[?&]render-scale=/.test(url) ? '' : (url.includes('?') ? '&' : '?') + 'render-scale=1';
  await page.goto(url + scaled);
  return page;
}

// The page's first frames are drawn once the three load lines are printed.
export async function waitForBoard(page) {
  await page.waitForFunction(() => document.title === 'tessera' && window.tesseraFrames > 2);
}

// Once the page has drawn n more frames.
export async function frames(page, n = 3) {
  const now = await page.evaluate(() => window.tesseraFrames);
  await page.waitForFunction((at) => window.tesseraFrames >= at, {}, now + n);
}

export const pause = (milliseconds) => new Promise((resolve) => setTimeout(resolve, milliseconds));

export const near = (got, wanted, levels) =>
  got.every((value, c) => Math.abs(value - wanted[c]) <= levels);

// The box around every pixel that differs by more than 8 levels between two screens, or
// null when none does.
export function changedBox(before, after) {
  let box = null;
  for (let y = 0; y < before.height; ++y) {
    for (let x = 0; x < before.width; ++x) {
      if (!near(after.at(x, y), before.at(x, y), 8)) {
        box = box ?? { left: x, right: x, top: y, bottom: y };
        box = { left: Math.min(box.left, x), right: Math.max(box.right, x), top: Math.min(box.top, y),
                bottom: Math.max(box.bottom, y) };
      }
    }
  }
  return box;
}

// Whether the box lies around (x, y) and is smaller than size on each side.
export const around = (box, x, y, size = 100) =>
  box !== null && box.left <= x && box.right >= x && box.top <= y && box.bottom >= y &&
  box.right - box.left < size && box.bottom - box.top < size;

// The boxes of the tools' blue faces on a screen, in its pixels, left to right: each face is
// a run of columns holding its blue.
export function toolFaces(screen) {
  const blue = (x, y) => { const [r, g, b] = screen.at(x, y); return b > 140 && r < 30 && g < 30; };
  const faces = [];
  for (let x = 0; x < screen.width; ++x) {
    const rows = [];
    for (let y = 0; y < screen.height; ++y) {
      if (blue(x, y)) rows.push(y);
    }
    if (rows.length === 0) continue;
    const face = faces.at(-1);
    if (face && face.right === x - 1) {
      Object.assign(face, { right: x, top: Math.min(face.top, rows[0]), bottom: Math.max(face.bottom, rows.at(-1)) });
    } else {
      faces.push({ left: x, right: x, top: rows[0], bottom: rows.at(-1) });
    }
  }
  return faces;
}

// RGB of the screenshot's pixels, decoded in the page: {width, height, data}.
export async function screenPixels(page) {
  const png = await page.screenshot({ encoding: 'base64' });
  return decode(page, 'data:image/png;base64,' + png);
}

// A PNG file's RGB, decoded by the browser.
export async function filePixels(page, file) {
  return decode(page, 'data:image/png;base64,' + (await readFile(file)).toString('base64'));
}

async function decode(page, source) {
  const { width, height, rgba } = await page.evaluate(async (url) => {
    const image = new Image();
    image.src = url;
    await image.decode();
    const canvas = new OffscreenCanvas(image.width, image.height);
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    const bytes = context.getImageData(0, 0, image.width, image.height).data;
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) {
      text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    }
    return { width: image.width, height: image.height, rgba: btoa(text) };
  }, source);
  const data = Buffer.from(rgba, 'base64');
  return { width, height, at: (x, y) => [...data.subarray(4 * (y * width + x), 4 * (y * width + x) + 3)] };
}

// The share of pixels whose every channel lies within `levels` of the other image's.
export function shareWithin(a, b, levels) {
  let close = 0;
  for (let y = 0; y < a.height; ++y) {
    for (let x = 0; x < a.width; ++x) {
      const p = a.at(x, y);
      const q = b.at(x, y);
      close += p.every((value, c) => Math.abs(value - q[c]) <= levels) ? 1 : 0;
    }
  }
  return close / (a.width * a.height);
}

// The centres of the tools' blue faces, in screen pixels, left to right.
export const toolCentres = (screen) => toolFaces(screen).map((face) =>
  [Math.round((face.left + face.right) / 2), Math.round((face.top + face.bottom) / 2)]);
