// Processor time of a process and all its descendants, read from Linux's /proc, in clock
// ticks. Chromium's GPU process and renderers are grandchildren of the browser (through its
// zygotes), so the whole tree is walked, not the direct children only.
import { readdirSync, readFileSync } from 'node:fs';
import path from 'node:path';

// The fields of a /proc/PID/stat line that matter here. The command name, in parentheses,
// may itself hold spaces and parentheses, so the fields are counted from the last ')'.
// own: utime + stime, over all the process's threads, ended ones included. children:
// cutime + cstime, what its ended and reaped children used, so that time is not lost when
// a child exits between two readings.
export function parseStat(line) {
  const close = line.lastIndexOf(')');
  if (close < 0) {
    throw new Error(`not a /proc stat line: ${line}`);
  }
  const pid = Number(line.slice(0, line.indexOf('(')));
  // From the state (field 3) on.
  const fields = line.slice(close + 2).trim().split(/\s+/).map(Number);
  return { pid, ppid: fields[1], own: fields[11] + fields[12], children: fields[13] + fields[14] };
}

// Each process of the tree under root (root itself included): pid, kind (Chromium's
// --type=, or "browser" for a process without one) and ticks (own and reaped children's).
export function readTree(root, proc = '/proc') {
  const stats = new Map();
  for (const name of readdirSync(proc)) {
    if (!/^\d+$/.test(name)) continue;
    try {
      const stat = parseStat(readFileSync(path.join(proc, name, 'stat'), 'utf8'));
      stats.set(stat.pid, stat);
    } catch (error) {
      // A process that ended while the folder was read.
      if (error.code !== 'ENOENT' && error.code !== 'ESRCH') throw error;
    }
  }
  const below = new Map();
  for (const stat of stats.values()) {
    below.set(stat.ppid, [...(below.get(stat.ppid) ?? []), stat.pid]);
  }
  const tree = [];
  const waiting = stats.has(root) ? [root] : [];
  while (waiting.length > 0) {
    const pid = waiting.pop();
    const stat = stats.get(pid);
    tree.push({ pid, kind: kindOf(proc, pid), ticks: stat.own + stat.children });
    waiting.push(...(below.get(pid) ?? []));
  }
  return tree;
}

function kindOf(proc, pid) {
  let line = '';
  try {
    line = readFileSync(path.join(proc, String(pid), 'cmdline'), 'utf8');
  } catch {
    // Ended since its stat was read: its time is in its parent's by now.
  }
  // Chromium rewrites its processes' command lines with spaces between the arguments.
  const type = line.split(/[\0 ]/).find((argument) => argument.startsWith('--type='));
  return type ? type.slice('--type='.length) : 'browser';
}

// Ticks used between two readings of a tree, in all and by kind. Totals, not per process:
// an ended child's whole time moves into its parent's, which only the totals keep right.
export function ticksBetween(before, after) {
  const byKind = {};
  const add = (tree, sign) => {
    for (const { kind, ticks } of tree) {
      byKind[kind] = (byKind[kind] ?? 0) + sign * ticks;
    }
  };
  add(after, 1);
  add(before, -1);
  const total = Object.values(byKind).reduce((sum, ticks) => sum + ticks, 0);
  return { total, byKind };
}
