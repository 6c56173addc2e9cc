// The browser page played in Debian's headless Chromium, as a player would: the page is served by
// Python's plain static file server, driven through the DevTools protocol (puppeteer-core), and
// looked at through its canvas. The pictures and sounds it is checked against are the game's own
// files in res/; the frames are the Linux program's, drawn natively by
// quarvelingdrome_web_scene_frames.
//
// Usage: node browser_test.mjs WEB_BUILD_DIR NATIVE_FRAMES_DIR RES_DIR
//   WEB_BUILD_DIR holds site/ (the page) and scenes/ (the test-only scene page).
import {readFileSync} from 'node:fs';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

import puppeteer from 'puppeteer-core';

import {startServer} from './static_server.mjs';

const [webDir, framesDir, resDir] = process.argv.slice(2).map((p) => path.resolve(p));
if (!resDir) {
  console.error('usage: node browser_test.mjs WEB_BUILD_DIR NATIVE_FRAMES_DIR RES_DIR');
  process.exit(2);
}

const W = 800;
const H = 600;
const kNoseX = 118;     // bullets leave the flyer here, relative to its corner
const kNoseY = 20;
const kDrawAbove = 10;  // a bullet's picture stands this far above its y
const kLimitLow = -20;  // the flyer's smallest x and y
// The score label: 24 characters of 8 x 16 pixels, centred on x = 400, its top at y = 10.
const kScoreBox = {x: 304, y: 10, w: 192, h: 16};

// ---- Checks -----------------------------------------------------------------------------------
let failures = 0;
async function check(name, body) {
  try {
    await body();
    console.log(`ok   ${name}`);
  } catch (error) {
    failures++;
    console.log(`FAIL ${name}: ${error.message}`);
  }
}
function expect(condition, message) {
  if (!condition) throw new Error(message);
}

// Waits for what the page shows, however busy the machine is; gives up after three minutes.
async function waitFor(what, probe, limitMs = 180000) {
  const end = Date.now() + limitMs;
  let told = Date.now() + 20000;
  for (;;) {
    if (Date.now() > told) {
      console.log(`     still waiting for ${what}`);
      told += 20000;
    }
    const value = await probe();
    if (value) return value;
    if (Date.now() > end) throw new Error(`gave up waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
}

// ---- The game's files ---------------------------------------------------------------------------
// A 24-bit bottom-up BMP as {width, height, at(x, y) -> [r, g, b]}.
function readBitmap(name) {
  const b = readFileSync(path.join(resDir, name));
  const offset = b.readUInt32LE(10);
  const width = b.readInt32LE(18);
  const height = b.readInt32LE(22);
  const stride = Math.ceil((width * 3) / 4) * 4;
  return {
    width, height,
    at(x, y) {
      const i = offset + (height - 1 - y) * stride + x * 3;
      return [b[i + 2], b[i + 1], b[i]];
    },
  };
}
// The duration in seconds of a RIFF WAVE file's samples.
function waveSeconds(name) {
  const b = readFileSync(path.join(resDir, name));
  let rate = 0;
  let blockAlign = 0;
  for (let at = 12; at + 8 <= b.length;) {
    const id = b.toString('latin1', at, at + 4);
    const size = b.readUInt32LE(at + 4);
    if (id === 'fmt ') {
      rate = b.readUInt32LE(at + 12);
      blockAlign = b.readUInt16LE(at + 20);
    } else if (id === 'data') {
      return size / blockAlign / rate;
    }
    at += 8 + size + (size & 1);
  }
  throw new Error(`${name}: no data chunk`);
}
const flyers = ['player.bmp', 'player_up.bmp', 'player_down.bmp'].map(readBitmap);
const bullet = readBitmap('bullet.bmp');
const nativeFrame = (name) => readFileSync(path.join(framesDir, `${name}.rgba`));

// ---- Looking at frames ------------------------------------------------------------------------
// A frame (or a band of rows of one) as RGBA bytes: {top, rows, bytes}.
// Whether the picture's opaque pixels (all but pure red) stand at (x, y) in the band, clipped.
function pictureAt(band, picture, x, y) {
  let seen = 0;
  for (let py = 0; py < picture.height; py++) {
    const cy = y + py;
    if (cy < band.top || cy >= band.top + band.rows || cy < 0 || cy >= H) continue;
    for (let px = 0; px < picture.width; px++) {
      const cx = x + px;
      if (cx < 0 || cx >= W) continue;
      const [r, g, b] = picture.at(px, py);
      if (r === 255 && g === 0 && b === 0) continue;
      const i = ((cy - band.top) * W + cx) * 4;
      if (band.bytes[i] !== r || band.bytes[i + 1] !== g || band.bytes[i + 2] !== b) return false;
      seen++;
    }
  }
  return seen > 0;
}
// Every x in [from, to] where the picture stands at row y.
function findPicture(band, picture, y, from = -picture.width + 1, to = W - 1) {
  const found = [];
  for (let x = from; x <= to; x++) {
    if (pictureAt(band, picture, x, y)) found.push(x);
  }
  return found;
}
function flyerAt(band, x, y) {
  return flyers.some((picture) => pictureAt(band, picture, x, y));
}
function sameRegion(a, b, box) {
  let differ = 0;
  for (let y = box.y; y < box.y + box.h; y++) {
    for (let x = box.x; x < box.x + box.w; x++) {
      const i = (y * W + x) * 4;
      if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) differ++;
    }
  }
  return differ;
}

// The page's frames as it shows them: every putImageData is counted, and the test may copy
// bands of rows out of each (window.__keep = {top, rows}); the first frame is kept whole. Key-downs
// note the frame count when they arrive, before the page's own handler sees them. Every Web
// Audio source started is noted with its buffer's duration.
// Bytes cross from the page to the test as base64: far cheaper than a list of numbers.
function base64InPage(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 0x8000) {
    text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
  }
  return btoa(text);
}
const base64InPageText = base64InPage.toString();

function instrumentPage() {
    window.__frames = 0;
  window.__kept = [];
  window.__keep = null;
  window.__cues = [];
  window.__keyAt = {};
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function(image, ...rest) {
    put.call(this, image, ...rest);
    window.__frames++;
    if (window.__frames === 1) window.__first = image.data.slice();
    if (window.__keep) {
      const {top, rows} = window.__keep;
      const start = top * image.width * 4;
      window.__kept.push({frame: window.__frames, top, rows,
        bytes: image.data.slice(start, start + rows * image.width * 4)});
    }
  };
  window.addEventListener('keydown', (event) => {
    window.__keyAt[event.code] = window.__frames;
  }, true);
  if (window.AudioBufferSourceNode) {
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function(...args) {
      window.__cues.push(this.buffer ? this.buffer.duration : -1);
      return start.apply(this, args);
    };
  }
}

async function frameCount(page) {
  return page.evaluate(() => window.__frames);
}
// Waits for two more frames. A key's effect on the flyer comes on a controls tick, and the page
// takes input between a tick and the paint it asked for, so right after a key-up the canvas may
// not show the last tick's move yet; two frames later it does.
async function twoFramesLater(page) {
  const frames = await frameCount(page);
  await waitFor('two more frames', async () => (await frameCount(page)) >= frames + 2);
}
// Keeps bands of rows [top, top + rows) of every frame from now on.
async function keepBands(page, top, rows) {
  await page.evaluate((t, r) => {
    window.__kept = [];
    window.__keep = {top: t, rows: r};
  }, Math.max(0, top), rows);
}
async function takeBands(page) {
  const kept = await page.evaluate((encoder) => {
    const base64 = eval(`(${encoder})`);
    const k = window.__kept.map((band) => ({...band, bytes: base64(band.bytes)}));
    window.__kept = [];
    return k;
  }, base64InPageText);
  return kept.map((k) => ({...k, bytes: fromBase64(k.bytes)}));
}
const fromBase64 = (text) => new Uint8Array(Buffer.from(text, 'base64'));
async function canvasBytes(page) {
  return fromBase64(await page.evaluate((encoder) => {
    const c = document.getElementById('scene');
    return eval(`(${encoder})`)(c.getContext('2d').getImageData(0, 0, c.width, c.height).data);
  }, base64InPageText));
}


// ---- The run ----------------------------------------------------------------------------------
const {server, port} = await startServer(webDir);
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: 'new',
  protocolTimeout: 600000,  // a busy machine may take long over one call
  args: ['--no-sandbox', '--disable-gpu', '--autoplay-policy=user-gesture-required'],
});
try {
  const page = await browser.newPage();
  const errors = [];
  page.on('console', (m) => {
    if (m.type() === 'error') errors.push(m.text());
  });
  page.on('pageerror', (e) => errors.push(e.message));
  // Shorter than the page, so that arrows and space would scroll it if the game let them.
  await page.setViewport({width: 820, height: 420});
  await page.evaluateOnNewDocument(instrumentPage);
  await page.goto(`http://127.0.0.1:${port}/site/`);

  await check('the first frame is the Linux program\'s first frame, pixel for pixel', async () => {
    const first = fromBase64(await waitFor('the first frame',
      () => page.evaluate((encoder) => window.__first && eval(`(${encoder})`)(window.__first),
        base64InPageText)));
    const expected = nativeFrame('start');
    expect(sameRegion(first, expected, {x: 0, y: 0, w: W, h: H}) === 0,
      'the first frame differs from the native one');
    const band = {top: 0, rows: H, bytes: first};
    expect(flyerAt(band, 0, 0), 'the flyer is not at (0, 0)');
    const sky = readBitmap('background.bmp');
    for (const [x, y] of [[300, 0], [700, 3], [799, 9]]) {
      const i = (y * W + x) * 4;
      expect([0, 1, 2].every((c) => first[i + c] === sky.at(x, y)[c]),
        `(${x}, ${y}) is not the sky's colour`);
    }
    const box = first.subarray((kScoreBox.y * W + kScoreBox.x) * 4);
    expect(box[0] === 42 && box[1] === 46 && box[2] === 115, 'no score label box at the top');
  });

  await check('the title and the keys line are on the page', async () => {
    expect(await page.title() === 'quarvelingdrome', 'wrong title');
    const text = await page.evaluate(() => document.body.innerText);
    expect(/Space/.test(text) && /fire/.test(text), 'no line on the keys');
  });

  // Holds keys until `done(band)` holds on a frame; returns every band seen while they were held.
  // Only the top 100 rows are kept: the flyer stays there in the arrow checks.
  async function hold(keys, done) {
    await keepBands(page, 0, 100);
    for (const key of keys) await page.keyboard.down(key);
    const bands = [];
    await waitFor(`${keys} to move the flyer`, async () => {
      const taken = await takeBands(page);
      bands.push(...taken);
      return taken.some(done);
    });
    for (const key of keys) await page.keyboard.up(key);
    await page.evaluate(() => {
      window.__keep = null;
    });
    return bands;
  }
  // The flyer's x on one row in a band, or null.
  const xsOn = (band, y) => flyers.flatMap((p) => findPicture(band, p, y, kLimitLow, 700));

  await check('held arrows move the flyer 10 px a controls tick, right and back to its limits',
    async () => {
      const right = await hold(['ArrowRight'], (b) => xsOn(b, 0).some((x) => x >= 100));
      // An enemy flying across the flyer hides it in some frames: compare only frames that
      // follow one another and both show it.
      const seen = right.map((b) => ({frame: b.frame, xs: xsOn(b, 0)}))
          .filter((f) => f.xs.length === 1).map((f) => ({frame: f.frame, x: f.xs[0]}));
      const xs = seen.map((f) => f.x);
      expect(seen.length >= 5, `saw the flyer in only ${seen.length} frames`);
      for (let i = 1; i < seen.length; i++) {
        if (seen[i].frame !== seen[i - 1].frame + 1) continue;
        const step = seen[i].x - seen[i - 1].x;
        expect(step === 0 || step === 10,
          `a frame moved the flyer by ${step} px: ${JSON.stringify(seen.slice(i - 3, i + 2))}`);
      }
      expect(xs[xs.length - 1] - xs[0] >= 90, `the flyer went from ${xs[0]} only to ${xs.pop()}`);
      expect(xs.every((x) => x % 10 === 0), `off the 10 px grid: ${xs}`);
      // Up and left together until it stands at its lowest x and y.
      const corner = await hold(['ArrowUp', 'ArrowLeft'],
        (b) => flyerAt(b, kLimitLow, kLimitLow));
      const last = corner[corner.length - 1];
      await page.evaluate(() => new Promise((r) => setTimeout(r, 300)));  // ticks go on
      const now = {top: 0, rows: H, bytes: await canvasBytes(page)};
      expect(flyerAt(last, kLimitLow, kLimitLow) && flyerAt(now, kLimitLow, kLimitLow),
        'the flyer went past its limits');
    });

  // Where the flyer stands now; its corner is always on the 10 px grid from (0, 0). An enemy
  // crossing it hides it for a few frames: then look again.
  async function locate() {
    return waitFor('the flyer', async () => {
      const band = {top: 0, rows: H, bytes: await canvasBytes(page)};
      for (let y = kLimitLow; y <= 540; y += 10) {
        const xs = xsOn(band, y);
        if (xs.length) return {x: xs[0], y};
      }
      return null;
    });
  }

  await check('the flyer stops when the page loses the keyboard with an arrow held', async () => {
    const from = await locate();
    await page.keyboard.down('ArrowDown');
    await waitFor('the flyer to go down', async () => (await locate()).y > from.y);
    await page.evaluate(() => window.dispatchEvent(new Event('blur')));
    await twoFramesLater(page);
    const a = await locate();
    const frames = await frameCount(page);
    await waitFor('ten frames', async () => (await frameCount(page)) > frames + 10);
    const b = await locate();
    expect(a.x === b.x && a.y === b.y, `the flyer drifted on after the blur: ${a.y} -> ${b.y}`);
    await page.keyboard.up('ArrowDown');
  });

  // Brings the flyer to a row between `low` and `high`: the arrow towards it held for a few frames
  // at a time, until it gets there.
  let flyer = await locate();
  async function bringFlyerTo(low, high) {
    await twoFramesLater(page);
    flyer = await locate();
    for (let tries = 0; tries < 100 && (flyer.y < low || flyer.y > high); tries++) {
      const key = flyer.y < low ? 'ArrowDown' : 'ArrowUp';
      const frames = await frameCount(page);
      await page.keyboard.down(key);
      await waitFor('three frames', async () => (await frameCount(page)) >= frames + 3);
      await page.keyboard.up(key);
      await twoFramesLater(page);
      flyer = await locate();
    }
    expect(flyer.y >= low && flyer.y <= high, `the flyer stays at ${flyer.y}`);
  }

  // Bullets on the flyer's row, in the frames after a key; none of the earlier shots still flying.
  let shotRow = 0;
  async function shotsAfter(press) {
    await keepBands(page, shotRow, bullet.height);
    await page.evaluate(() => {
      window.__keyAt = {};
    });
    await press();
    const keyAt = await waitFor('the key', () => page.evaluate(() => window.__keyAt.Space));
    const frames = [];
    await waitFor('five frames after the key', async () => {
      frames.push(...await takeBands(page));
      return frames.filter((k) => k.frame > keyAt).length >= 5;
    });
    await page.evaluate(() => {
      window.__keep = null;
    });
    return frames.filter((k) => k.frame > keyAt).map((k) => findPicture(k, bullet, shotRow));
  }

  await check('a space key-down fires one bullet from the nose; Alt+Space fires none', async () => {
    // A row that no enemy crosses (they fly at 20, 100, 200, 250 and 500, 47 pixels tall), so no
    // shot is hidden or spent on one.
    await bringFlyerTo(140, 170);
    shotRow = flyer.y + kNoseY - kDrawAbove;
    await page.evaluate(() => new Promise((r) => setTimeout(r, 1500)));  // old shots fly off
    const alt = await shotsAfter(async () => {
      await page.keyboard.down('Alt');
      await page.keyboard.press('Space');
      await page.keyboard.up('Alt');
    });
    expect(alt.every((xs) => xs.length === 0), `Alt+Space fired: ${JSON.stringify(alt)}`);
    const shot = await shotsAfter(() => page.keyboard.down('Space'));
    expect(shot[0].length === 1 && shot[0][0] === flyer.x + kNoseX,
      `first frame after the key: bullets at ${shot[0]}, not at the nose ${flyer.x + kNoseX}`);
    expect(shot[1].length === 1 && shot[1][0] === flyer.x + kNoseX + 20,
      `second frame: bullets at ${shot[1]}`);
    // A second key-down while the key is held is an auto-repeat: it fires too.
    const repeat = await shotsAfter(() => page.keyboard.down('Space'));
    await page.keyboard.up('Space');
    expect(repeat[0].includes(flyer.x + kNoseX), `the auto-repeat fired nothing: ${repeat[0]}`);
  });

  await check('a hit raises the score label to 10 and starts the explosion cue', async () => {
    // A row where the shots meet the enemies that fly at y = 20.
    await bringFlyerTo(0, 40);
    const ten = nativeFrame('score-10');
    const explosion = waveSeconds('explosion.wav');
    const others = ['boss_hit.wav', 'boss_rage.wav'].map(waveSeconds);
    expect(others.every((s) => Math.abs(s - explosion) > 0.01), 'the cues are not told apart');
    await waitFor('a hit', async () => {
      await page.keyboard.press('Space');
      const bytes = await canvasBytes(page);
      return sameRegion(bytes, ten, kScoreBox) === 0;
    });
    const cues = await waitFor('the explosion cue',
      () => page.evaluate(() => (window.__cues.length ? window.__cues : null)));
    expect(Math.abs(cues[0] - explosion) < 0.002,
      `the first cue lasts ${cues[0]} s, the explosion ${explosion} s`);
  });

  await check('a hidden tab paints nothing while the scroll goes on', async () => {
    // How far the background has scrolled: the sky's top row, right of the label, is the
    // picture's top row shifted left by the scroll and wrapped round.
    const sky = readBitmap('background.bmp');
    const scrolled = (bytes) => {
      for (let shift = 0; shift < W; shift++) {
        let same = true;
        for (let x = 520; x < 800 && same; x += 7) {
          const want = sky.at((x + shift) % W, 0);
          same = [0, 1, 2].every((c) => bytes[x * 4 + c] === want[c]);
        }
        if (same) return shift;
      }
      throw new Error('the top row is not the sky picture');
    };
    const setHidden = (hidden) => page.evaluate((h) => {
      Object.defineProperty(document, 'hidden', {value: h, configurable: true});
      Object.defineProperty(document, 'visibilityState', {value: h ? 'hidden' : 'visible',
        configurable: true});
      document.dispatchEvent(new Event('visibilitychange'));
    }, hidden);
    const before = scrolled(await canvasBytes(page));
    await setHidden(true);
    const frames = await frameCount(page);
    const startedAt = Date.now();
    await page.evaluate(() => new Promise((r) => setTimeout(r, 1000)));
    const hiddenFor = Date.now() - startedAt;
    expect(await frameCount(page) === frames, 'frames were painted while the tab was hidden');
    await setHidden(false);
    await waitFor('a frame once shown', async () => (await frameCount(page)) > frames);
    const after = scrolled(await canvasBytes(page));
    // A scroll tick every 50 ms; allow for a slow machine, but not for a clock that stood still.
    const moved = (after - before + W) % W;
    expect(moved >= Math.floor(hiddenFor / 50 / 4),
      `the background scrolled ${moved} px over ${hiddenFor} ms hidden`);
  });

  await check('arrows and space never scrolled the page', async () => {
    const scroll = await page.evaluate(() => ({
      x: window.scrollX, y: window.scrollY,
      room: document.documentElement.scrollHeight - window.innerHeight}));
    expect(scroll.room > 0, 'the page is not taller than the window: nothing to scroll');
    expect(scroll.x === 0 && scroll.y === 0, `scrolled to (${scroll.x}, ${scroll.y})`);
  });

  await check('the console shows no error', async () => {
    expect(errors.length === 0, errors.join(' | '));
  });

  await check('every scene in the browser equals the Linux program\'s frame', async () => {
    const scenes = await browser.newPage();
    scenes.on('pageerror', (e) => errors.push(e.message));
    await scenes.goto(`http://127.0.0.1:${port}/scenes/scenes.html`);
    await waitFor('the scene page', () => scenes.evaluate(() => window.scenesReady === true));
    const count = await scenes.evaluate(() => Module._scene_count());
    expect(count >= 9, `only ${count} scenes`);
    for (let i = 0; i < count; i++) {
      const name = await scenes.evaluate((n) => Module.UTF8ToString(Module._scene_name(n)), i);
      await scenes.evaluate((n) => Module._show_scene(n), i);
      const differ = sameRegion(await canvasBytes(scenes), nativeFrame(name),
        {x: 0, y: 0, w: W, h: H});
      expect(differ === 0, `${name}: ${differ} pixels differ`);
    }
    await scenes.close();
  });

  await check('opened straight from disk (file://) in a browser without Web Audio, the page plays',
    async () => {
    const local = await browser.newPage();
    const localErrors = [];
    local.on('pageerror', (e) => localErrors.push(e.message));
    local.on('console', (m) => {
      if (m.type() === 'error') localErrors.push(m.text());
    });
    await local.evaluateOnNewDocument(() => {
      delete window.AudioContext;
      delete window.webkitAudioContext;
    });
    await local.evaluateOnNewDocument(instrumentPage);
    await local.goto(pathToFileURL(path.join(webDir, 'site', 'index.html')).href);
    await waitFor('ten frames from disk', () => local.evaluate(() => window.__frames >= 10));
    for (let i = 0; i < 5; i++) await local.keyboard.press('Space');  // would start the sound
    const frames = await local.evaluate(() => window.__frames);
    await waitFor('ten more frames', () => local.evaluate((f) => window.__frames >= f + 10, frames));
    const first = fromBase64(await local.evaluate(
        (encoder) => eval(`(${encoder})`)(window.__first), base64InPageText));
    expect(sameRegion(first, nativeFrame('start'), {x: 0, y: 0, w: W, h: H}) === 0,
      'the first frame from disk differs');
    expect(localErrors.length === 0, localErrors.join(' | '));
    await local.close();
  });

  await check('a browser without WebAssembly shows a sentence instead of the scene', async () => {
    const old = await browser.newPage();
    await old.evaluateOnNewDocument(() => {
      delete window.WebAssembly;
    });
    await old.goto(`http://127.0.0.1:${port}/site/`);
    const shown = await waitFor('the sentence', () => old.evaluate(() => {
      const notice = document.getElementById('notice').textContent;
      const scene = document.getElementById('scene');
      return notice ? {notice, sceneShown: scene.offsetWidth > 0} : null;
    }));
    expect(/WebAssembly/.test(shown.notice) && !shown.sceneShown,
      `notice "${shown.notice}", scene shown: ${shown.sceneShown}`);
    await old.close();
  });
} finally {
  await browser.close();
  server.kill();
}
console.log(failures === 0 ? 'Browser test passed.' : `${failures} browser check(s) failed.`);
process.exit(failures === 0 ? 0 : 1);
