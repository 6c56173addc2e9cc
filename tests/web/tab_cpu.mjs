// A measurement, not a test (scripts/bench-web runs it): the CPU that Debian's headless Chromium
// spends on the game's page while it is played for 20 s (the flyer on the arrows, a shot now and
// then), beside the CPU it spends on a peer page that only copies an 800 x 600 picture to a canvas
// at the same rate. CPU is the user and system time of every Chromium process, from /proc, over
// the 20 s; each page runs alone in its own browser.
//
// Usage: node tab_cpu.mjs WEB_BUILD_DIR [SECONDS]
import {mkdtempSync, readFileSync, readdirSync, symlinkSync} from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

import puppeteer from 'puppeteer-core';

import {startServer} from './static_server.mjs';

const webDir = path.resolve(process.argv[2] ?? 'build/web');
const seconds = Number(process.argv[3] ?? 20);
const here = path.dirname(fileURLToPath(import.meta.url));
const ticksPerSecond = 100;  // USER_HZ, the unit of /proc/PID/stat's times on Linux

// The page and the peer side by side under one root, for one plain static server.
const root = mkdtempSync(path.join(os.tmpdir(), 'quarvelingdrome-cpu-'));
symlinkSync(path.join(webDir, 'site'), path.join(root, 'site'));
symlinkSync(path.join(here, 'peer.html'), path.join(root, 'peer.html'));


// User + system seconds of the process `pid` and all its descendants.
function treeCpuSeconds(pid) {
  const children = new Map();
  const times = new Map();
  for (const entry of readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = readFileSync(`/proc/${entry}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      const parent = Number(fields[1]);
      times.set(Number(entry), (Number(fields[11]) + Number(fields[12])) / ticksPerSecond);
      if (!children.has(parent)) children.set(parent, []);
      children.get(parent).push(Number(entry));
    } catch {
      // the process ended while we looked
    }
  }
  let total = 0;
  const stack = [pid];
  while (stack.length) {
    const p = stack.pop();
    total += times.get(p) ?? 0;
    stack.push(...(children.get(p) ?? []));
  }
  return total;
}

async function measure(url, play) {
  const browser = await puppeteer.launch({executablePath: '/usr/bin/chromium', headless: 'new',
    args: ['--no-sandbox', '--disable-gpu']});
  try {
    const page = await browser.newPage();
    await page.setViewport({width: 840, height: 720});
    await page.evaluateOnNewDocument(() => {
      window.__paints = 0;
      const put = CanvasRenderingContext2D.prototype.putImageData;
      CanvasRenderingContext2D.prototype.putImageData = function(...args) {
        window.__paints++;
        return put.apply(this, args);
      };
    });
    await page.goto(url);
    await page.waitForFunction(() => window.__paints > 0);
    const pid = browser.process().pid;
    const cpu0 = treeCpuSeconds(pid);
    const paints0 = await page.evaluate(() => window.__paints);
    const t0 = Date.now();
    await play(page, seconds * 1000);
    const wall = (Date.now() - t0) / 1000;
    const cpu = treeCpuSeconds(pid) - cpu0;
    const paints = (await page.evaluate(() => window.__paints)) - paints0;
    return {cpuPercent: (100 * cpu) / wall, fps: paints / wall};
  } finally {
    await browser.close();
  }
}

// A player: the arrows in turn, half a second each, and a shot every quarter second.
async function playGame(page, ms) {
  const arrows = ['ArrowDown', 'ArrowRight', 'ArrowUp', 'ArrowLeft'];
  const end = Date.now() + ms;
  for (let i = 0; Date.now() < end; i++) {
    const arrow = arrows[i % arrows.length];
    await page.keyboard.down(arrow);
    await new Promise((r) => setTimeout(r, 250));
    await page.keyboard.press('Space');
    await new Promise((r) => setTimeout(r, 250));
    await page.keyboard.up(arrow);
  }
}
const idle = (page, ms) => new Promise((r) => setTimeout(r, ms));

const {server, port} = await startServer(root);
try {
  const game = await measure(`http://127.0.0.1:${port}/site/`, playGame);
  const rate = Math.round(game.fps);
  const peer = await measure(`http://127.0.0.1:${port}/peer.html?fps=${rate}`, idle);
  console.log(`game page: ${game.cpuPercent.toFixed(1)} % of one core, ` +
    `${game.fps.toFixed(1)} frames a second, over ${seconds} s of play`);
  console.log(`peer page (copies an 800 x 600 picture only): ${peer.cpuPercent.toFixed(1)} % of ` +
    `one core, ${peer.fps.toFixed(1)} frames a second`);
} finally {
  server.kill();
}
