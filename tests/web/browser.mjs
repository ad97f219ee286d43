// What the page tests share: the site served on a free local port, headless Chromium with
// software WebGL (no GPU, no network of its own), and pixel comparisons done by the
// browser's own image decoders.
import { readFile } from 'node:fs/promises';
import http from 'node:http';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.png': 'image/png' };

// Serves folder, and any extra files by their URL path, on 127.0.0.1.
export async function serve(folder, extra = {}) {
  const server = http.createServer(async (request, response) => {
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
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

// unthrottled: animation frames as fast as they are drawn, not at the display's rate, so
// that a fast replay plays at the renderer's own speed (and a live page spins).
export function launch({ unthrottled = false } = {}) {
  return puppeteer.launch({
    executablePath: process.env.TESSERA_CHROMIUM ?? '/usr/bin/chromium',
    headless: 'new',
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--no-first-run', ...(unthrottled ? ['--disable-frame-rate-limit'] : [])],
  });
}

// A page of the given size (device pixel ratio 1) that keeps what goes wrong in `errors`.
export async function openPage(browser, url, width = 640, height = 480) {
  const page = await browser.newPage();
  page.errors = [];
  page.on('console', (message) => {
    if (message.type() === 'error') {
      page.errors.push(message.text());
    }
  });
  page.on('pageerror', (error) => page.errors.push(error.message));
  await page.setViewport({ width, height, deviceScaleFactor: 1 });
  await page.goto(url);
  return page;
}

// The page's first frames are drawn once the three load lines are printed.
export async function waitForBoard(page) {
  await page.waitForFunction(() => document.title === 'tessera' && window.tesseraFrames > 2);
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
