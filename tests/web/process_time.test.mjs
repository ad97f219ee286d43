// The benchmark's processor time of Chromium's process tree, read from a made-up /proc:
// grandchildren through the zygote counted, other processes not, the stat fields counted
// past a command name with spaces and parentheses, and a child that ends between two
// readings kept in its parent's time.
import assert from 'node:assert/strict';
import { mkdirSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, test } from 'node:test';
import { readTree, ticksBetween } from '../../bench/web/process_time.mjs';

// A /proc of [pid, command name, parent, command line, [utime, stime, cutime, cstime]]. The
// other fields hold numbers of their own, so that a field read one place off changes the sum.
const folders = [];
after(() => folders.forEach((folder) => rmSync(folder, { recursive: true })));

function proc(processes) {
  const folder = mkdtempSync(path.join(os.tmpdir(), 'tessera-proc-'));
  folders.push(folder);
  mkdirSync(path.join(folder, 'self'));
  mkdirSync(path.join(folder, '999')); // ended while the folder was listed
  for (const [pid, name, parent, command, times] of processes) {
    const fields = ['S', parent, ...Array.from({ length: 9 }, (_, i) => 7000 + 13 * i), ...times,
                    ...Array.from({ length: 30 }, (_, i) => 90000 + 17 * i)];
    mkdirSync(path.join(folder, String(pid)));
    writeFileSync(path.join(folder, String(pid), 'stat'), `${pid} (${name}) ${fields.join(' ')}\n`);
    writeFileSync(path.join(folder, String(pid), 'cmdline'), command);
  }
  return folder;
}

const chromium = (renderer, zygote) => [
  [1, 'init', 0, '/sbin/init\0', [5, 5, 900, 900]],
  [40, 'node', 1, 'node\0frame_time.mjs\0', [50, 6, 70, 8]],
  [100, 'chromium', 40, '/bin/sh\0/usr/bin/chromium\0', [1, 1, 0, 0]],
  [101, 'chromium', 100, '/usr/lib/chromium/chromium --headless=new', [300, 40, 0, 0]],
  [110, 'chromium', 101, '/usr/lib/chromium/chromium --type=zygote', zygote],
  [120, 'VizCompositor) (x', 110, '/usr/lib/chromium/chromium --type=gpu-process --no-sandbox',
   [2000, 150, 0, 0]],
  ...(renderer ? [[130, 'chromium', 110, '/usr/lib/chromium/chromium --type=renderer', renderer]] : []),
  [200, 'chromium', 1, '/usr/lib/chromium/chromium --type=renderer', [8000, 800, 0, 0]],
];

test('the tree under the browser, by kind, and what it used between two readings', () => {
  const before = readTree(100, proc(chromium([400, 30, 0, 0], [2, 1, 0, 0])));
  assert.deepEqual(before.map(({ pid, kind, ticks }) => [pid, kind, ticks]).sort((a, b) => a[0] - b[0]),
                   [[100, 'browser', 2], [101, 'browser', 340], [110, 'zygote', 3],
                    [120, 'gpu-process', 2150], [130, 'renderer', 430]]);
  // The renderer ends after using 20 more ticks; the zygote reaps it.
  const later = readTree(100, proc(chromium(null, [2, 1, 440, 10])));
  assert.equal(ticksBetween(before, later).total, 20);
  assert.deepEqual(readTree(12345, proc(chromium(null, [0, 0, 0, 0]))), []);
});
