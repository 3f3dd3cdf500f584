// WebKitGTK's MiniBrowser driven through WebKitWebDriver (W3C WebDriver
// classic, by node's own fetch) under an Xvfb of its own, behind the few
// browser, page, mouse and keyboard calls of puppeteer that the walk uses,
// so that one walk runs in all three engines.
//
// Where the driver falls short the adapter makes up for it in the test:
// - WebDriver classic has no script to run before the page's own: a proxy
//   in front of the test's server puts those scripts at the top of every
//   page it serves, with one that gathers the page's errors;
// - a right-button release from the driver arrives as a left-button
//   mouseup, after which the page gets no pointer events: the right button
//   is pressed for real, by xdotool on the Xvfb display;
// - the keys are real keys too, so that in full screen Escape leaves it as
//   it does for a player;
// - under openbox, whose full screen WebKit's is, the adapter sizes the
//   window: the view the size asked for, or for a walk in full screen the
//   window the screen's size (WebKit leaves a full screen whose window
//   changes size); another tab to the front is the window minimised.
'use strict';
const fs = require('fs');
const http = require('http');
const net = require('net');
const { spawn, execFileSync } = require('child_process');

const DRIVER = process.env.VELMORA_WEBKITDRIVER || '/usr/bin/WebKitWebDriver';
// webkit2gtk-driver brings MiniBrowser along; its folder has the API's version.
const MINIBROWSER = process.env.VELMORA_MINIBROWSER || (() => {
  for (const lib of ['/usr/lib', ...fs.readdirSync('/usr/lib').filter(d => d.includes('-linux-')).map(d => `/usr/lib/${d}`)])
    for (const d of fs.readdirSync(lib).filter(d => /^webkit(2)?gtk-/.test(d)))
      if (fs.existsSync(`${lib}/${d}/MiniBrowser`)) return `${lib}/${d}/MiniBrowser`;
  return 'MiniBrowser';
})();
const X_KEYS = { Enter: 'Return' };

function sleep(ms) { return new Promise(resolve => setTimeout(resolve, ms)); }

// Gathers the page's uncaught errors and console errors for page.on().
function problemWatch() {
  window.__problems = [];
  addEventListener('error', e => window.__problems.push(['pageerror', String(e.message)]));
  addEventListener('unhandledrejection', e => window.__problems.push(['pageerror', String(e.reason)]));
  const error = console.error;
  console.error = (...a) => { window.__problems.push(['console', a.join(' ')]); return error.apply(console, a); };
}

function freePort() {
  return new Promise((resolve, reject) => {
    const s = net.createServer().listen(0, '127.0.0.1', () => { const p = s.address().port; s.close(() => resolve(p)); });
    s.on('error', reject);
  });
}

// Starts a program in a process group of its own, named in pidFile at once.
function start(file, args, env, pidFile, log) {
  const out = fs.openSync(log, 'a');
  const child = spawn(file, args, { env, detached: true, stdio: ['ignore', out, out, 'pipe'] });
  fs.closeSync(out);
  if (pidFile) fs.appendFileSync(pidFile, child.pid + '\n');
  return child;
}

class Page {
  constructor(browser) {
    this.browser = browser;
    this.scripts = [problemWatch.toString() + ';problemWatch();'];
    this.listeners = { pageerror: [], console: [], requestfailed: [] };
    this.mouse = {
      move: (x, y, o = {}) => this.pointer([{ type: 'pointerMove', x: Math.round(x), y: Math.round(y),
                                              duration: 20 * (o.steps || 1) }], [x, y]),
      down: (o = {}) => this.button('down', o.button),
      up: (o = {}) => this.button('up', o.button),
      click: (x, y, o = {}) => this.tap(x, y, o.button),
    };
    this.keyboard = { down: key => this.key('keyDown', key), up: key => this.key('keyUp', key) };
  }
  on(event, listener) { this.listeners[event].push(listener); }
  evaluateOnNewDocument(fn) { this.scripts.push(`(${fn})();`); }

  async goto(url) {
    if (!this.proxy) this.proxy = await this.startProxy(new URL(url).origin);
    const u = new URL(url);
    await this.browser.command('POST', '/url', { url: `${this.proxy}${u.pathname}${u.search}` });
  }

  // Serves upstream's files, the pages with this page's scripts first.
  startProxy(upstream) {
    const server = http.createServer(async (req, res) => {
      try {
        const headers = {};
        for (const [k, v] of Object.entries(req.headers)) if (!/^(host|connection|accept-encoding)$/.test(k)) headers[k] = v;
        const r = await fetch(upstream + req.url, { method: req.method, headers, redirect: 'manual' });
        let body = Buffer.from(await r.arrayBuffer());
        const out = {};
        r.headers.forEach((v, k) => { if (!/^(content-length|content-encoding|connection|transfer-encoding)$/.test(k)) out[k] = v; });
        if (/text\/html/.test(r.headers.get('content-type') || '')) {
          const html = body.toString('utf8'), inject = `<script>${this.scripts.join('\n')}</script>`;
          const at = html.search(/<head[^>]*>/i);
          const end = at < 0 ? 0 : at + html.match(/<head[^>]*>/i)[0].length;
          body = Buffer.from(html.slice(0, end) + inject + html.slice(end));
        }
        out['content-length'] = body.length;
        res.writeHead(r.status, out);
        res.end(body);
      } catch (e) {
        for (const l of this.listeners.requestfailed) l({ url: () => req.url });
        res.destroy();
      }
    });
    this.browser.servers.push(server);
    return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve(`http://127.0.0.1:${server.address().port}`)));
  }

  // Runs fn(arg) in the page and waits for its promise; hands on the
  // page's errors gathered meanwhile.
  async evaluate(fn, arg) {
    const v = await this.browser.command('POST', '/execute/async', {
      script: `const done = arguments[1];
        const drain = () => (window.__problems || []).splice(0);
        Promise.resolve().then(() => (${fn})(arguments[0]))
          .then(v => done({ v: v === undefined ? null : v, p: drain() }),
                e => done({ e: String(e) + ' (stack: ' + (e && e.stack) + ')', p: drain() }));`,
      args: [arg === undefined ? null : arg] });
    for (const [type, text] of v.p || []) {
      if (type === 'pageerror') for (const l of this.listeners.pageerror) l(new Error(text));
      else for (const l of this.listeners.console) l({ type: () => 'error', text: () => text });
    }
    if (v.e) throw new Error(`in the page: ${v.e}`);
    return v.v;
  }
  async waitForFunction(fn, options = {}, arg) {
    const until = Date.now() + (options.timeout || 30000);
    for (;;) {
      if (await this.evaluate(fn, arg)) return;
      if (Date.now() > until) throw new Error(`waiting failed: ${options.timeout} ms exceeded`);
      await sleep(100);
    }
  }
  async click(selector) {
    const element = await this.browser.command('POST', '/element', { using: 'css selector', value: selector });
    await this.browser.command('POST', `/element/${Object.values(element)[0]}/click`, {});
    await this.browser.fit(this, 1000);
  }
  // The driver does not switch MiniBrowser's tabs: another tab to the front
  // takes the game's window off the screen, as it goes when minimised, which
  // hides the page as well.
  async bringToFront() {
    const mapped = this === this.browser.first;
    if (mapped === this.browser.mapped) return;
    this.browser.x(mapped ? 'windowactivate' : 'windowminimize', '--sync', this.browser.window);
    this.browser.mapped = mapped;
    // The page hears of it a little later (the walk checks that it did).
    await this.browser.first.waitForFunction(v => document.visibilityState === v, { timeout: 3000 },
                                             mapped ? 'visible' : 'hidden').catch(() => {});
    if (mapped) await this.browser.fit(this, 0, true);
  }
  async setViewport() {}

  async pointer(actions, at) {
    if (at) this.at = at.map(Math.round);
    await this.browser.command('POST', '/actions', {
      actions: [{ type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions }] });
  }
  async button(how, name = 'left') {
    if (name === 'right') {
      // Real X input; the X pointer first goes where the driver's is.
      const [x, y] = this.at || [0, 0];
      if (String(this.browser.xAt) !== String([x, y])) await this.xMove(x, y);
      this.browser.x(how === 'down' ? 'mousedown' : 'mouseup', '3');
      return;
    }
    await this.pointer([{ type: how === 'down' ? 'pointerDown' : 'pointerUp', button: name === 'middle' ? 1 : 0 }]);
  }
  // A press and release at once, in one action; the right button's a real one.
  async tap(x, y, name = 'left') {
    if (name === 'right') {
      await this.xMove(Math.round(x), Math.round(y));
      this.at = [x, y].map(Math.round);
      this.browser.x('click', '3');
      return;
    }
    await this.pointer([{ type: 'pointerMove', x: Math.round(x), y: Math.round(y), duration: 0 },
                        { type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 }], [x, y]);
  }
  // The X pointer to the page's point (x, y): the window's place on the
  // screen is found by where the page sees the pointer.
  async xMove(x, y) {
    const b = this.browser;
    for (let tries = 0; ; ++tries) {
      const at = [x + b.offset[0], y + b.offset[1]];
      if (String(b.xAt) === String(at)) return;
      await this.evaluate(() => {
        window.__xAt = null;
        addEventListener('mousemove', e => { window.__xAt = [e.clientX, e.clientY]; }, { capture: true, once: true });
      });
      b.x('mousemove', '--sync', String(at[0]), String(at[1]));
      b.xAt = at;
      await this.waitForFunction(() => window.__xAt, { timeout: 2000 });
      const seen = await this.evaluate(() => window.__xAt);
      if (seen[0] === x && seen[1] === y) return;
      if (tries === 2) throw new Error(`the X pointer at ${at} reached the page at ${seen}, not ${x},${y}`);
      b.offset = [at[0] - seen[0], at[1] - seen[1]];
    }
  }
  async key(how, key) {
    this.browser.x(how === 'keyDown' ? 'keydown' : 'keyup', X_KEYS[key] || key);
    // Escape may have left the full screen.
    if (how === 'keyUp') await this.browser.fit(this, 500);
  }
}

class Browser {
  async open(profile, viewport, pidFile, forFullScreen) {
    this.forFullScreen = forFullScreen;
    this.servers = [];
    this.children = [];
    const env = { ...process.env, HOME: profile, XDG_CONFIG_HOME: `${profile}/config`,
                  XDG_DATA_HOME: `${profile}/data`, XDG_CACHE_HOME: `${profile}/cache`,
                  // Under Xvfb compositing draws a quarter of the pictures.
                  WEBKIT_DISABLE_COMPOSITING_MODE: '1' };
    // A screen the view's size: the window, with the browser's bar, reaches
    // below it (no point the walk presses is there).
    const xvfb = start('Xvfb', ['-displayfd', '3', '-screen', '0', `${viewport.width}x${viewport.height}x24`,
                                '-nolisten', 'tcp', '-noreset'], env, pidFile, `${profile}/xvfb.log`);
    this.children.push(xvfb);
    const display = await new Promise((resolve, reject) => {
      let text = '';
      xvfb.stdio[3].on('data', d => { text += d; if (text.includes('\n')) resolve(text.trim()); });
      xvfb.on('exit', () => reject(new Error(`Xvfb ended: ${fs.readFileSync(`${profile}/xvfb.log`, 'utf8')}`)));
    });
    this.display = `:${display}`;
    env.DISPLAY = this.display;
    this.env = env;
    // A window manager, as a player's desktop has: the browser's window
    // goes full screen through it.
    this.children.push(start('openbox', ['--sm-disable'], env, pidFile, `${profile}/openbox.log`));
    for (let i = 0; !/window id/.test(execFileSync('xprop', ['-root', '_NET_SUPPORTING_WM_CHECK'], { env })); ++i) {
      if (i === 100) throw new Error('openbox did not start');
      await sleep(50);
    }
    for (let tries = 0; ; ++tries) {
      const port = await freePort();
      const driver = start(DRIVER, [`--port=${port}`], env, pidFile, `${profile}/driver.log`);
      this.children.push(driver);
      this.driver = driver;
      this.base = `http://127.0.0.1:${port}`;
      let up = false;
      for (let i = 0; i < 100 && driver.exitCode === null && !up; ++i) {
        await sleep(100);
        up = await fetch(`${this.base}/status`).then(r => r.ok, () => false);
      }
      if (up) break;
      if (tries === 3) throw new Error(`WebKitWebDriver did not start: ${fs.readFileSync(`${profile}/driver.log`, 'utf8')}`);
    }
    const session = await this.command('POST', '', { capabilities: { alwaysMatch: {
      browserName: 'MiniBrowser',
      'webkitgtk:browserOptions': { binary: MINIBROWSER, args: ['--automation'] } } } }, '/session');
    this.session = session.sessionId;
    this.first = new Page(this);
    this.viewport = viewport;
    this.window = execFileSync('xdotool', ['search', '--onlyvisible', '--class', 'MiniBrowser'], { env })
      .toString().trim();
    if (!/^\d+$/.test(this.window)) throw new Error(`MiniBrowser's window: ${this.window}`);
    this.mapped = true;
    this.full = null;
    await this.fit(this.first, 0);
    return this;
  }
  // Once the page has entered or left the full screen (waiting up to ms
  // for it), the window where a window manager would put it.
  async fit(page, ms, again) {
    let full;
    for (const until = Date.now() + ms; ;) {
      // (A page on its way to the next may not answer.)
      full = await page.evaluate(() => document.fullscreenElement !== null).catch(() => this.full);
      if (full !== this.full || Date.now() >= until) break;
      await sleep(50);
    }
    if (full === this.full && !again) return;
    this.full = full;
    this.offset = [0, 0];
    const { width, height } = this.viewport;
    if (full) {
      // WebKit leaves a full screen whose window changes size: the window
      // was made the screen's size before.
      for (let i = 0; ; ++i) {
        const now = await page.evaluate(() => [innerWidth, innerHeight]);
        if (now[0] === width && now[1] === height) return;
        if (i === 100) throw new Error(`in full screen the view is ${now}, not ${width}x${height}`);
        await sleep(50);
      }
    }
    if (this.forFullScreen) {
      await this.command('POST', '/window/rect', { x: 0, y: 0, width, height });
      return;
    }
    // (The browser's bar may come and go.)
    for (let i = 0; ; ++i) {
      const rect = await this.command('GET', '/window/rect');
      const now = await page.evaluate(() => [innerWidth, innerHeight]);
      if (now[0] === width && now[1] === height) break;
      if (i === 20) throw new Error(`the view is ${now}, not ${width}x${height}`);
      await this.command('POST', '/window/rect', { x: 0, y: 0, width: width + rect.width - now[0],
                                                   height: height + rect.height - now[1] });
      await sleep(100);
    }
  }
  async command(method, what, body, prefix) {
    const url = `${this.base}${prefix || `/session/${this.session}`}${what}`;
    const r = await fetch(url, { method, headers: { 'content-type': 'application/json' },
                                 body: body === undefined ? undefined : JSON.stringify(body) });
    const j = await r.json();
    if (!r.ok) throw new Error(`WebDriver ${method} ${what}: ${j.value.error}: ${j.value.message}`);
    return j.value;
  }
  x(...args) { execFileSync('xdotool', args, { env: this.env, stdio: ['ignore', 'pipe', 'pipe'] }); }
  async pages() { return [this.first]; }
  // Another tab, to hide the game's page behind (see bringToFront); not a
  // real one, whose tab strip would stay in full screen.
  async newPage() { return new Page(this); }
  process() { return this.driver; }
  async close() {
    if (this.session) await this.command('DELETE', '').catch(() => {});
    for (const s of this.servers) s.close();
    for (const c of this.children.reverse()) {
      try { process.kill(-c.pid, 'SIGTERM'); } catch (e) { /* gone */ }
    }
  }
}

async function launch(profile, viewport, pidFile, forFullScreen) {
  const browser = new Browser();
  try {
    return await browser.open(profile, viewport, pidFile, forFullScreen);
  } catch (e) {
    await browser.close();
    throw e;
  }
}

module.exports = { launch };
