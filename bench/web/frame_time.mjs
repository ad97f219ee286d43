// How a board of 1,000 and 5,000 painted shapes at 640 x 480 and 1920 x 1080 plays in
// headless Chromium with its software WebGL (SwiftShader), at the browser's own pace, beside
// tessera-render in Mesa's offscreen buffer, on the same machine in the same run. Each case
// is a recording: one stroke lays the shapes (one an idle step), then `hold` idle steps pass
// with nothing touched while the shapes wobble. The page plays one step an animation frame;
// over the held steps the script counts the frames a second the browser reached and the
// processor time a frame of Chromium's whole process tree (browser, GPU process, renderers,
// utilities). Natively, the processor time a frame is the difference between playing the
// recording with and without the held steps, divided by their number.
//   node bench/web/frame_time.mjs [WIDTHxHEIGHTxSHAPES...] [--runs N] [--render-scale F|auto]
// (after tools/web and a native build; see the README). --runs plays each case N times and
// gives each column's median; --render-scale is handed to the page as render-scale=.
// TESSERA_SITE, TESSERA_RENDER, TESSERA_CHROMIUM name the site, tessera-render and the
// browser when they are not where the build leaves them.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { launch, serve } from '../../tests/web/browser.mjs';
import { parseStat, readTree, ticksBetween } from './process_time.mjs';

const source = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const site = process.env.TESSERA_SITE ?? path.join(source, 'build-web/site');
const render = process.env.TESSERA_RENDER ?? path.join(source, 'build/app/tessera-render');
const hold = 600;
// The frames measured: from some way into the held steps to well before their end, as the
// script looks at the page only every `polling` milliseconds and, on a busy machine, may
// come to read it seconds late.
const skipped = 10;
const spare = 200;
const polling = 200;
const allCases = [[640, 480, 1000], [640, 480, 5000], [1920, 1080, 1000], [1920, 1080, 5000]];

function options(argv) {
  const chosen = [];
  let runs = 1;
  let scale = null;
  for (let i = 0; i < argv.length; ++i) {
    const value = () => {
      if (i + 1 >= argv.length) throw new Error(`${argv[i]} takes a value`);
      return argv[++i];
    };
    if (argv[i] === '--runs') {
      runs = Number(value());
      if (!Number.isInteger(runs) || runs < 1) throw new Error('--runs takes a whole number from 1');
    } else if (argv[i] === '--render-scale') {
      scale = value();
      if (scale !== 'auto' && !(Number(scale) > 0)) {
        throw new Error(`--render-scale takes a number above 0 or auto, not ${scale}`);
      }
    } else if (allCases.some((c) => c.join('x') === argv[i])) {
      chosen.push(argv[i]);
    } else {
      throw new Error(`${argv[i]}: neither an option nor one of the cases ` +
                      allCases.map((c) => c.join('x')).join(', '));
    }
  }
  const cases = allCases.filter((c) => chosen.length === 0 || chosen.includes(c.join('x')));
  return { cases, runs, scale };
}

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

// Processor time of this process's ended and reaped children, in ticks.
const childTicks = () => parseStat(readFileSync('/proc/self/stat', 'utf8')).children;

function nativeTicks(file, folder) {
  const before = childTicks();
  execFileSync(render, [file, '--snapshot', path.join(folder, 'last.png')], { cwd: folder });
  return childTicks() - before;
}

// Frames a second, processor milliseconds a frame (in all and by kind of process) and the
// render scale, over the held steps of the recording at url, of `shapes` shapes.
async function browserRun(browser, url, width, height, shapes) {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  page.on('console', (message) => {
    if (message.type() === 'error') errors.push(message.text());
  });
  await page.setViewport({ width, height, deviceScaleFactor: 1 });
  await page.goto(url);
  const root = browser.process().pid;
  // Or once the page has stopped: the replay ended early, or the page says what went wrong.
  const reached = (frames) => page.waitForFunction(
    (at) => window.tesseraFrames >= at || document.title !== 'tessera' ||
            document.getElementById('status').textContent.startsWith('tessera: '),
    { timeout: 1_800_000, polling }, frames);
  const reading = async () => {
    const tree = readTree(root);
    const time = process.hrtime.bigint();
    const { frames, said, scale } = await page.evaluate(() => (
      { frames: window.tesseraFrames, scale: window.tesseraRenderScale,
        said: document.title === 'tessera' ? document.getElementById('status').textContent
                                           : document.title }));
    return { tree, time, frames, said, scale: scale ?? 1 };
  };
  // The stroke takes `shapes` frames, the held steps the next `hold`.
  await reached(shapes + skipped);
  const start = await reading();
  await reached(shapes + hold - spare);
  const end = await reading();
  await page.close();
  if (errors.length > 0 || end.said.startsWith('tessera')) {
    throw new Error(`${url}: ${[end.said, ...errors].join('; ')}`);
  }
  const frames = end.frames - start.frames;
  const seconds = Number(end.time - start.time) / 1e9;
  const { total, byKind } = ticksBetween(start.tree, end.tree);
  const perFrame = (ticks) => (1000 * ticks) / tick / frames;
  return { fps: frames / seconds, ms: perFrame(total), gpu: perFrame(byKind['gpu-process'] ?? 0),
           renderer: perFrame(byKind.renderer ?? 0), scale: end.scale };
}

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 === 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

let chosen;
try {
  chosen = options(process.argv.slice(2));
} catch (error) {
  console.error(`frame_time.mjs: ${error.message}`);
  process.exit(2);
}
const { cases, runs, scale } = chosen;
const tick = Number(execFileSync('getconf', ['CLK_TCK'], { encoding: 'utf8' }));
const began = Date.now();
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
const browser = await launch({ protocolTimeout: 1_800_000 });
const version = await browser.version();
const results = cases.map(() => []);
try {
  for (let run = 0; run < runs; ++run) {
    for (const [index, [width, height, shapes]] of cases.entries()) {
      const base = `bench-${width}x${height}-${shapes}`;
      const held = nativeTicks(files[`/${base}-${hold}.tessera-replay`], folder);
      const none = nativeTicks(files[`/${base}-0.tessera-replay`], folder);
      const native = (1000 * (held - none)) / tick / hold;
      const url = `${server.url}?replay=${base}-${hold}.tessera-replay&fast` +
                  (scale === null ? '' : `&render-scale=${scale}`);
      const web = await browserRun(browser, url, width, height, shapes);
      results[index].push({ ...web, native });
      console.error(`run ${run + 1}, ${width}x${height}x${shapes}: ${web.fps.toFixed(1)} frames/s, ` +
                    `${web.ms.toFixed(1)} ms (GPU process ${web.gpu.toFixed(1)}, renderer ` +
                    `${web.renderer.toFixed(1)}), scale ${web.scale}, native ${native.toFixed(2)} ms`);
    }
  }
} finally {
  await browser.close();
  server.close();
  rmSync(folder, { recursive: true });
}
console.log(`| Window | Shapes | Scale | ${version}, frames/s | Its processor, ms/frame | ` +
            'GPU process | Renderer | tessera-render processor, ms/frame | Ratio |');
console.log('|---|---|---|---|---|---|---|---|---|');
for (const [index, [width, height, shapes]] of cases.entries()) {
  const m = (key) => median(results[index].map((result) => result[key]));
  const scales = [...new Set(results[index].map((result) => result.scale))].join(', ');
  console.log(`| ${width} x ${height} | ${shapes.toLocaleString('en')} | ${scales} | ` +
              `${m('fps').toFixed(1)} | ${m('ms').toFixed(1)} | ${m('gpu').toFixed(1)} | ` +
              `${m('renderer').toFixed(1)} | ${m('native').toFixed(1)} | ` +
              `${(m('ms') / m('native')).toFixed(1)} |`);
}
console.error(`${runs} run(s) of ${cases.length} case(s) took ${Math.round((Date.now() - began) / 1000)} s`);
