// The frame time of a board of 1,000 and 5,000 painted shapes at 640 x 480 and 1920 x 1080,
// in headless Chromium with its software WebGL beside tessera-render in Mesa's offscreen
// buffer, on the same machine in the same run. Each case is a recording: one stroke lays
// the shapes (one an idle step), then `hold` idle steps pass with nothing touched while
// the shapes wobble. A frame's time is the mean over the held steps: in the browser from
// the animation frames' times; natively the difference between playing the recording with
// and without the held steps, divided by their number.
//   node bench/web/frame_time.mjs [WIDTHxHEIGHTxSHAPES...]   (after tools/web and a native
//   build; see the README)
// TESSERA_SITE, TESSERA_RENDER, TESSERA_CHROMIUM name the site, tessera-render and the
// browser when they are not where the build leaves them.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { launch, serve } from '../../tests/web/browser.mjs';

const source = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const site = process.env.TESSERA_SITE ?? path.join(source, 'build-web/site');
const render = process.env.TESSERA_RENDER ?? path.join(source, 'build/app/tessera-render');
const hold = 300;
// WIDTHxHEIGHTxSHAPES arguments choose some of the cases.
const chosen = process.argv.slice(2);
const cases = [[640, 480, 1000], [640, 480, 5000], [1920, 1080, 1000], [1920, 1080, 5000]]
  .filter((c) => chosen.length === 0 || chosen.includes(c.join('x')));

// The default picture's header lines, as the demo has them, for a window of width x height.
function header(width, height) {
  const demo = readFileSync(path.join(source, 'data/demo.tessera-replay'), 'utf8').split('\n');
  const checksum = demo.find((line) => line.startsWith('checksum '));
  return ['tessera-replay 2', `window ${width} ${height}`, 'picture default',
          'canvas clear-after 0 max-shapes 0 reference-drawing 0', checksum, 'events'];
}

// A stroke that zig-zags over the middle of the board, two moves an idle step of 0.07 s
// (a trail lays a shape every second move once 0.06 s have passed), then held steps of
// 1/60 s with the button up.
function recording(width, height, shapes, heldSteps) {
  const lines = header(width, height);
  let ticks = 1_000_000;
  lines.push(`${ticks} reshape ${width} ${height}`);
  const left = Math.round(width * 0.3);
  const span = Math.round(width * 0.4);
  const top = Math.round(height * 0.15);
  const rows = Math.round(height * 0.6);
  // Rows far enough apart that the stroke covers the middle of the board once.
  const gap = Math.max(2, Math.floor(rows / Math.ceil((2 * shapes * 5) / span)));
  const point = (i) => {
    const along = i * 5;
    const row = Math.floor(along / span);
    return [left + (along % span), top + ((row * gap) % rows) + (i % 2)];
  };
  const step = (seconds) => {
    ticks += Math.round(seconds * 1e9);
    lines.push(`${ticks} idle ${seconds}`);
  };
  let [x, y] = point(0);
  lines.push(`${ticks} motion ${x} ${y}`, `${ticks} press 2 ${x} ${y}`);
  step(0.07);
  for (let i = 1; i < shapes; ++i) {
    for (const move of [2 * i - 1, 2 * i]) {
      [x, y] = point(move);
      lines.push(`${ticks} motion ${x} ${y}`);
    }
    step(0.07);
  }
  lines.push(`${ticks} release 2 ${x} ${y}`);
  for (let i = 0; i < heldSteps; ++i) {
    step(1 / 60);
  }
  return lines.join('\n') + '\n';
}

function nativeSeconds(file, folder) {
  const start = process.hrtime.bigint();
  execFileSync(render, [file, '--snapshot', path.join(folder, 'last.png')], { cwd: folder });
  return Number(process.hrtime.bigint() - start) / 1e9;
}

async function browserFrameMs(browser, url, width, height) {
  const page = await browser.newPage();
  await page.setViewport({ width, height, deviceScaleFactor: 1 });
  await page.evaluateOnNewDocument(() => {
    const request = window.requestAnimationFrame.bind(window);
    window.frameTimes = [];
    window.requestAnimationFrame = (callback) => request((time) => {
      window.frameTimes.push(performance.now());
      callback(time);
    });
  });
  await page.goto(url);
  await page.waitForFunction(() => document.title === 'tessera: replay ended',
                             { timeout: 1_800_000, polling: 500 });
  const times = await page.evaluate(() => window.frameTimes);
  await page.close();
  // The last held steps, without the frame after the end.
  const last = times.length - 2;
  return (times[last] - times[last - (hold - 10)]) / (hold - 10);
}

const folder = mkdtempSync(path.join(os.tmpdir(), 'tessera-bench-'));
const files = {};
for (const [width, height, shapes] of cases) {
  for (const held of [0, hold]) {
    const name = `/bench-${width}x${height}-${shapes}-${held}.tessera-replay`;
    files[name] = path.join(folder, name);
    writeFileSync(files[name], recording(width, height, shapes, held));
  }
}
const server = await serve(site, files);
const browser = await launch({ unthrottled: true, protocolTimeout: 1_800_000 });
const version = await browser.version();
console.log(`| Window | Shapes | Chromium (${version}), ms | tessera-render, ms | Ratio |`);
console.log('|---|---|---|---|---|');
try {
  for (const [width, height, shapes] of cases) {
    const base = `bench-${width}x${height}-${shapes}`;
    const native =
      (1000 * (nativeSeconds(files[`/${base}-${hold}.tessera-replay`], folder) -
               nativeSeconds(files[`/${base}-0.tessera-replay`], folder))) / hold;
    const web = await browserFrameMs(browser, `${server.url}?replay=${base}-${hold}.tessera-replay&fast`,
                                     width, height);
    console.log(`| ${width} x ${height} | ${shapes.toLocaleString('en')} | ${web.toFixed(1)} | ` +
                `${native.toFixed(1)} | ${(web / native).toFixed(2)} |`);
  }
} finally {
  await browser.close();
  server.close();
  rmSync(folder, { recursive: true });
}
