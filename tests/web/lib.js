// Shared helpers of the browser tests: Debian's headless Chromium driven
// through the DevTools protocol, or Debian's Firefox ESR through WebDriver
// BiDi (VELMORA_BROWSER=firefox), by puppeteer-core, or WebKitGTK's
// MiniBrowser through WebKitWebDriver (VELMORA_BROWSER=webkit, webkit.js),
// never a downloaded browser; the page's canvas read as pictures, BMP
// files, real input.
'use strict';
const fs = require('fs');
const path = require('path');
const puppeteer = require('puppeteer-core');
const webkit = require('./webkit');

const CHROMIUM = process.env.VELMORA_CHROMIUM || '/usr/bin/chromium';
const FIREFOX = process.env.VELMORA_FIREFOX || '/usr/bin/firefox-esr';
const BROWSER = process.env.VELMORA_BROWSER || 'chromium';
const W = 1024, H = 768;

function sleep(ms) { return new Promise(resolve => setTimeout(resolve, ms)); }

class TestFailure extends Error {}
function check(ok, message) { if (!ok) throw new TestFailure(message); }

// One browser in a new, empty profile below profileDir. Its process id goes
// to pidFile at once, so that the caller's clean-up can end that very
// process group even if this node process dies first.
// forFullScreen: the page will go full screen (WebKit makes its window the
// screen's size first).
async function launch(profileDir, viewport, pidFile, forFullScreen = false) {
  fs.mkdirSync(profileDir, { recursive: true });
  if (BROWSER === 'webkit')
    return webkit.launch(fs.mkdtempSync(path.join(profileDir, 'profile-')), viewport, pidFile, forFullScreen);
  const common = { headless: true, userDataDir: fs.mkdtempSync(path.join(profileDir, 'profile-')),
                   defaultViewport: viewport };
  const browser = await puppeteer.launch(BROWSER === 'firefox' ? {
    ...common,
    browser: 'firefox',
    executablePath: FIREFOX,
    args: [`--width=${viewport.width}`, `--height=${viewport.height}`],
    // Sound only after the player's first input, as a desktop profile has
    // it; no probing for a captive portal.
    extraPrefsFirefox: { 'media.autoplay.default': 1, 'media.autoplay.block-webaudio': true,
                         'network.captive-portal-service.enabled': false },
  } : {
    ...common,
    executablePath: CHROMIUM,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--autoplay-policy=user-gesture-required',
           `--window-size=${viewport.width},${viewport.height}`],
  });
  if (pidFile) fs.appendFileSync(pidFile, browser.process().pid + '\n');
  // Firefox gives the default viewport to new tabs only, not to its first.
  const [first] = await browser.pages();
  if (first && BROWSER === 'firefox') await first.setViewport(viewport);
  return browser;
}

// Instruments the page before its scripts run: every audio context made and
// every sound source started, with the context's state and clock, and when
// each ended; and whether the player's input let the page start sound (its
// user activation) whenever it made or woke a context.
function watchAudio(page) {
  return page.evaluateOnNewDocument(() => {
    window.__sounds = [];
    window.__audioContexts = [];
    window.__audioAsked = [];
    const activated = () => window.__audioAsked.push(navigator.userActivation.isActive);
    const Context = window.AudioContext;
    window.AudioContext = class extends Context {
      // ran: it has run at some time (it rests two seconds after a sound).
      constructor(...args) {
        super(...args);
        window.__audioContexts.push(this);
        activated();
        this.ran = this.state === 'running';
        this.addEventListener('statechange', () => { this.ran = this.ran || this.state === 'running'; });
      }
    };
    const resume = Context.prototype.resume;
    Context.prototype.resume = function(...args) { activated(); return resume.apply(this, args); };
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function(...args) {
      const record = { frames: this.buffer ? this.buffer.length : 0,
                       rate: this.buffer ? this.buffer.sampleRate : 0,
                       state: this.context.state, startedAt: this.context.currentTime,
                       endedAt: null, endState: null, stopped: false };
      window.__sounds.push(record);
      this.addEventListener('ended', () => {
        record.endedAt = this.context.currentTime;
        record.endState = this.context.state;
      });
      const stop = this.stop;
      this.stop = (...a) => { record.stopped = true; return stop.apply(this, a); };
      return start.apply(this, args);
    };
  });
}

// Counts, in the page, the display's refreshes (animation frames) and the
// pictures copied to the canvas, from before the page's scripts run.
function watchCopies(page) {
  return page.evaluateOnNewDocument(() => {
    window.__copies = 0;
    window.__refreshes = 0;
    const put = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function(...args) {
      ++window.__copies;
      return put.apply(this, args);
    };
    const tick = () => { ++window.__refreshes; requestAnimationFrame(tick); };
    requestAnimationFrame(tick);
  });
}

// The canvas's own pixels as {w, h, rgb} (rgb: Uint8Array, 3 bytes a pixel).
async function canvasPicture(page) {
  const b64 = await page.evaluate(() => {
    const c = document.getElementById('screen');
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    const rgb = new Uint8Array(c.width * c.height * 3);
    for (let i = 0, j = 0; i < d.length; i += 4, j += 3) {
      rgb[j] = d[i]; rgb[j + 1] = d[i + 1]; rgb[j + 2] = d[i + 2];
    }
    let s = '';
    for (let i = 0; i < rgb.length; i += 32768) s += String.fromCharCode.apply(null, rgb.subarray(i, i + 32768));
    return [c.width, c.height, btoa(s)];
  });
  return { w: b64[0], h: b64[1], rgb: new Uint8Array(Buffer.from(b64[2], 'base64')) };
}

// Uncompressed 24- or 32-bit BMP files (screenshots, the game's data).
function readBmp(file) {
  const b = fs.readFileSync(file);
  check(b.toString('latin1', 0, 2) === 'BM', `${file}: not a BMP file`);
  const offset = b.readUInt32LE(10), w = b.readInt32LE(18), h0 = b.readInt32LE(22);
  const bits = b.readUInt16LE(28), h = Math.abs(h0);
  check(bits === 24 || bits === 32, `${file}: ${bits}-bit BMP`);
  const bytes = bits / 8, pitch = Math.ceil(w * bytes / 4) * 4;
  const rgb = new Uint8Array(w * h * 3);
  for (let y = 0; y < h; ++y) {
    const row = offset + (h0 > 0 ? h - 1 - y : y) * pitch;
    for (let x = 0; x < w; ++x) {
      const p = row + x * bytes, q = (y * w + x) * 3;
      rgb[q] = b[p + 2]; rgb[q + 1] = b[p + 1]; rgb[q + 2] = b[p];
    }
  }
  return { w, h, rgb };
}

function writeBmp(file, pic) {
  const pitch = Math.ceil(pic.w * 3 / 4) * 4;
  const b = Buffer.alloc(54 + pitch * pic.h);
  b.write('BM', 0, 'latin1');
  b.writeUInt32LE(b.length, 2);
  b.writeUInt32LE(54, 10);
  b.writeUInt32LE(40, 14);
  b.writeInt32LE(pic.w, 18);
  b.writeInt32LE(pic.h, 22);
  b.writeUInt16LE(1, 26);
  b.writeUInt16LE(24, 28);
  for (let y = 0; y < pic.h; ++y)
    for (let x = 0; x < pic.w; ++x) {
      const p = 54 + (pic.h - 1 - y) * pitch + x * 3, q = (y * pic.w + x) * 3;
      b[p] = pic.rgb[q + 2]; b[p + 1] = pic.rgb[q + 1]; b[p + 2] = pic.rgb[q];
    }
  fs.writeFileSync(file, b);
}

// How many pixels differ (by more than slack in a colour value), and the
// box around them.
function difference(a, b, slack = 0) {
  if (a.w !== b.w || a.h !== b.h) return { count: a.w * a.h, box: `size ${a.w}x${a.h} vs ${b.w}x${b.h}` };
  let count = 0, x0 = a.w, y0 = a.h, x1 = -1, y1 = -1;
  for (let y = 0; y < a.h; ++y)
    for (let x = 0; x < a.w; ++x) {
      const i = (y * a.w + x) * 3;
      if (Math.abs(a.rgb[i] - b.rgb[i]) > slack || Math.abs(a.rgb[i + 1] - b.rgb[i + 1]) > slack ||
          Math.abs(a.rgb[i + 2] - b.rgb[i + 2]) > slack) {
        ++count;
        if (x < x0) x0 = x;
        if (x > x1) x1 = x;
        if (y < y0) y0 = y;
        if (y > y1) y1 = y;
      }
    }
  return { count, box: count ? `${x0},${y0}-${x1},${y1}` : '' };
}

function pixel(pic, x, y) {
  const i = (y * pic.w + x) * 3;
  return [pic.rgb[i], pic.rgb[i + 1], pic.rgb[i + 2]];
}

// Where a sprite (its pixels of the key colour left out) is drawn whole and
// unchanged within the box of top-left corners x0..x1, y0..y1; null if
// nowhere.
function findSprite(pic, sprite, key, x0, y0, x1, y1) {
  const opaque = [];
  for (let y = 0; y < sprite.h; ++y)
    for (let x = 0; x < sprite.w; ++x) {
      const [r, g, b] = pixel(sprite, x, y);
      if (!key || r !== key[0] || g !== key[1] || b !== key[2]) opaque.push([x, y, r, g, b]);
    }
  for (let y = Math.max(0, y0); y <= Math.min(y1, pic.h - sprite.h); ++y)
    for (let x = Math.max(0, x0); x <= Math.min(x1, pic.w - sprite.w); ++x) {
      let all = true;
      for (const [sx, sy, r, g, b] of opaque) {
        const i = ((y + sy) * pic.w + x + sx) * 3;
        if (pic.rgb[i] !== r || pic.rgb[i + 1] !== g || pic.rgb[i + 2] !== b) { all = false; break; }
      }
      if (all) return { x, y };
    }
  return null;
}

// Page coordinates of the game's pixel (gx, gy), by the canvas's box now.
// Mouse events carry whole CSS pixels (Chromium drops a fraction, Firefox
// rounds it), so this is the first whole pixel whose left or top edge maps
// into the game pixel; at a scale of 1 or more there always is one. The
// canvas must sit at whole device pixels, or one point of the screen is
// another game pixel in each browser.
async function pagePoint(page, gx, gy) {
  const r = await page.evaluate(() => {
    const c = document.getElementById('screen'), b = c.getBoundingClientRect();
    return [b.left, b.top, b.width / c.width, b.height / c.height, devicePixelRatio];
  });
  const whole = v => Math.abs(v * r[4] - Math.round(v * r[4])) < 1e-6;
  check(whole(r[0]) && whole(r[1]), `the canvas sits at ${r[0]}, ${r[1]}, not at whole device pixels`);
  const axis = (start, scale, g) => {
    const at = Math.ceil(start + g * scale - 1e-9);
    check(Math.floor((at - start) / scale + 1e-9) === g, `game pixel ${g} cannot be pointed at (scale ${scale})`);
    return at;
  };
  return [axis(r[0], r[2], gx), axis(r[1], r[3], gy)];
}

async function moveTo(page, gx, gy) {
  const [x, y] = await pagePoint(page, gx, gy);
  await page.mouse.move(x, y, { steps: 2 });
}

// The game reads the buttons and keys once a pass, so each is held 150 ms
// or more.
async function holdButton(page, button, ms = 250) {
  await page.mouse.down({ button });
  await sleep(ms);
  await page.mouse.up({ button });
}

async function clickAt(page, gx, gy) {
  await moveTo(page, gx, gy);
  await sleep(150);
  await holdButton(page, 'left', 250);
  await sleep(300);
}

// A touchpad's tap: the pointer goes there, and the press and the release
// come at once, between two of the game's looks at the buttons.
async function tapAt(page, gx, gy, button = 'left') {
  const [x, y] = await pagePoint(page, gx, gy);
  await page.mouse.click(x, y, { button });
  await sleep(300);
}

// A quick mouse: the move and the press come in one task, so one drain of
// the game's takes both; the release comes some passes later.
async function pressWithMove(page, gx, gy) {
  const [x, y] = await pagePoint(page, gx, gy);
  const send = types => page.evaluate(([types, x, y]) => {
    const canvas = document.getElementById('screen');
    for (const type of types)
      canvas.dispatchEvent(new MouseEvent(type, { clientX: x, clientY: y, button: 0, buttons: type === 'mouseup' ? 0 : 1,
                                                  bubbles: true, cancelable: true, view: window }));
  }, [types, x, y]);
  await send(['mousemove', 'mousedown']);
  await sleep(100);
  await send(['mouseup']);
  await sleep(300);
}

async function holdKey(page, key, ms = 250) {
  await page.keyboard.down(key);
  await sleep(ms);
  await page.keyboard.up(key);
}

// A pad in the test's hand, set up before the page loads: the page's
// navigator.getGamepads() shows it from its first press on, as browsers
// do, with the "standard" mapping; setPad presses (true) or lets go of
// buttons by number and sets axes.
function fakePad(page) {
  return page.evaluateOnNewDocument(() => {
    const up = () => ({ pressed: false, touched: false, value: 0 });
    const pad = window.__pad = { id: 'Test pad (STANDARD GAMEPAD)', index: 0, connected: false, mapping: 'standard',
                                 timestamp: 0, axes: [0, 0, 0, 0], buttons: Array.from({ length: 17 }, up) };
    Object.defineProperty(Navigator.prototype, 'getGamepads', {
      configurable: true, value: () => [pad.connected ? { ...pad, axes: [...pad.axes], buttons: [...pad.buttons] } : null,
                                        null, null, null] });
  });
}

function setPad(page, buttons, axes = []) {
  return page.evaluate(([buttons, axes]) => {
    const pad = window.__pad, first = !pad.connected;
    for (const [b, down] of Object.entries(buttons)) pad.buttons[b] = { pressed: down, touched: down, value: +down };
    axes.forEach((value, axis) => { pad.axes[axis] = value; });
    pad.timestamp = performance.now();
    pad.connected = true;
    if (first) window.dispatchEvent(new Event('gamepadconnected'));
  }, [buttons, axes]);
}

async function padPress(page, button, ms = 250) {
  await setPad(page, { [button]: true });
  await sleep(ms);
  await setPad(page, { [button]: false });
}

// Waits until test(picture) holds for the canvas; returns the picture.
async function awaitPicture(page, what, test, ms = 8000) {
  const until = Date.now() + ms;
  let pic;
  for (;;) {
    pic = await canvasPicture(page);
    if (test(pic)) return pic;
    check(Date.now() < until, `${what}: not seen within ${ms} ms`);
    await sleep(100);
  }
}

// A plain static host for folder on 127.0.0.1 that compresses nothing, as
// most hosts do not: it counts the bytes it sends and the files asked for,
// and cuts the next file whose name contains server.cut half-way.
async function serve(folder) {
  const http = require('http');
  const sockets = new Set();
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://h').pathname);
    server.asked.push(name);
    fs.readFile(path.join(folder, path.normalize(name.endsWith('/') ? name + 'index.html' : name)), (error, body) => {
      response.writeHead(error ? 404 : 200, { 'Cache-Control': 'no-cache', 'Content-Length': error ? 0 : body.length,
        'Content-Type': { '.html': 'text/html', '.js': 'text/javascript', '.gz': 'application/gzip' }[path.extname(name)] || '' });
      if (!error && server.cut && name.includes(server.cut)) {
        server.cut = null;
        response.write(body.subarray(0, body.length >> 1), () => response.socket.destroy());
      } else {
        response.end(error ? '' : body);
      }
    });
  });
  server.asked = [];
  server.on('connection', socket => sockets.add(socket));
  server.sent = () => [...sockets].reduce((sum, socket) => sum + socket.bytesWritten, 0);
  await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
  server.url = `http://127.0.0.1:${server.address().port}/`;
  return server;
}

module.exports = { W, H, BROWSER, serve, sleep, check, TestFailure, launch, watchAudio, watchCopies, canvasPicture, readBmp, writeBmp,
                   difference, pixel, findSprite, pagePoint, moveTo, holdButton, clickAt, tapAt, pressWithMove, holdKey,
                   awaitPicture, fakePad, setPad, padPress };
