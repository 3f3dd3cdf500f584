// The page in the hand, in Debian's headless Chromium emulating devices.
//   node touch.js walk URL DATA [OUT]
//     By touch alone (the DevTools protocol's touch input, no mouse or
//     keyboard), on a tablet in landscape and a phone in landscape and in
//     portrait: the title, the menu by taps on its labels, an options choice,
//     the credits and "Menu" back, Start, the aim, a charged shot that flies,
//     "Menu" out of the match, Quit and the ended page. The crosshair's
//     centre comes under the finger; a pinch on the letterbox does not zoom.
//     A picture not seen is left in OUT.
//   node touch.js offline SITE
//     SITE served here, uncacheable, played once, then reloaded with the
//     server gone: the main menu. The manifest reads without errors and its
//     icons load.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const { KnownDevices } = require('puppeteer-core');
const t = require('./lib');

const [command, url, data, out] = process.argv.slice(2);
const pidFile = process.env.VELMORA_PIDFILE;
const profiles = process.env.VELMORA_PROFILES || fs.mkdtempSync('/tmp/velmora-web-profiles-');
const white = [255, 255, 255];
const sprite = name => t.readBmp(path.join(data, name));
const menuShown = p => t.pixel(p, 1000, 20).join() === '0,50,100';

async function firstPicture(page) {
  await page.waitForFunction(() => performance.getEntriesByName('velmora-first-picture').length > 0,
                             { timeout: 30000 }).catch(() => { throw new t.TestFailure('the game did not start'); });
  return Math.round(await page.evaluate(() => performance.getEntriesByName('velmora-first-picture')[0].startTime));
}

function watch(page, problems) {
  page.on('pageerror', e => problems.push(`page error: ${e.message}`));
  page.on('console', m => { if (m.type() === 'error') problems.push(`console error: ${m.text()}`); });
}

async function walk() {
  const browser = await t.launch(profiles, { width: 800, height: 600 }, pidFile);
  try {
    for (const name of ['iPad landscape', 'Pixel 5 landscape', 'Pixel 5']) {
      const page = await browser.newPage();
      const problems = [];
      watch(page, problems);
      await page.emulate(KnownDevices[name]);
      await t.watchAudio(page);
      const cdp = await page.createCDPSession();
      const fingers = (type, points) =>
        cdp.send('Input.dispatchTouchEvent', { type, touchPoints: points.map(([x, y], id) => ({ x, y, id })) });
      // The page point over the middle of the game's pixel (gx, gy).
      const at = (gx, gy) => page.evaluate((gx, gy) => {
        const c = document.getElementById('screen'), b = c.getBoundingClientRect();
        return [b.left + (gx + 0.5) * b.width / c.width, b.top + (gy + 0.5) * b.height / c.height];
      }, gx, gy);
      const control = id => page.evaluate(id => {
        const b = document.getElementById(id).getBoundingClientRect();
        return [b.left + b.width / 2, b.top + b.height / 2];
      }, id);
      // As quick as taps come: the press lasts a pass of the game all the same.
      const tap = async (...points) => {
        await fingers('touchStart', await Promise.all(points));
        await fingers('touchEnd', []);
        await t.sleep(300);
      };
      const see = (what, test) => t.awaitPicture(page, `${name}: ${what}`, test).catch(async e => {
        if (out) t.writeBmp(path.join(out, `${name}-${what}.bmp`.replace(/ /g, '-')), await t.canvasPicture(page));
        throw e;
      });

      await page.goto(url);
      await firstPicture(page);
      await see('the title', p => t.findSprite(p, sprite('Velmora.bmp'), white, 300, 7, 300, 7));
      await tap(at(512, 400));
      await see('the main menu', menuShown);
      await page.waitForFunction(() => window.__audioContexts.some(c => c.state === 'running'), { timeout: 5000 })
        .catch(() => { throw new t.TestFailure(`${name}: the first touch did not start the sound`); });
      const g = await page.evaluate(() => {
        const c = document.getElementById('screen').getBoundingClientRect().toJSON();
        return { c, menu: document.getElementById('menu').getBoundingClientRect().toJSON(),
                 vw: innerWidth, vh: innerHeight, dpr: devicePixelRatio };
      });
      // (to the layout's 1/64 CSS px)
      const whole = v => Math.abs(v * g.dpr - Math.round(v * g.dpr)) < g.dpr / 64;
      t.check([g.c.left, g.c.top, g.c.width, g.c.height].every(whole),
              `${name}: the canvas is not at whole device pixels: ${JSON.stringify(g.c)}`);
      const m = g.menu, overlap = m.left < g.c.right && g.c.left < m.right && m.top < g.c.bottom && g.c.top < m.bottom;
      t.check(m.width >= 44 && m.height >= 44 && m.left >= 0 && m.top >= 0 && m.right <= g.vw &&
              m.bottom <= g.vh && !overlap, `${name}: "Menu" is at ${JSON.stringify(m)}, the picture at ${JSON.stringify(g.c)}`);
      const fills = g.vw > g.vh ? g.vh - g.c.height : g.vw - g.c.width;
      t.check(fills < 1 || (g.vw > g.vh && g.vw - g.c.width < 2 * m.width + 24),
              `${name}: the picture ${g.c.width}x${g.c.height} leaves ${fills} px of ${g.vw}x${g.vh}`);
      console.log(`${name}: the picture is ${g.c.width.toFixed(1)}x${g.c.height.toFixed(1)} CSS px, ` +
                  `${Math.round(100 * g.c.width * g.c.height / g.vw / g.vh)} % of the ${g.vw}x${g.vh} viewport`);

      // A pinch on the letterbox leaves the page as it was.
      const spare = await page.evaluate(c => [[c.left / 2, innerHeight / 2], [innerWidth / 2, (c.bottom + innerHeight) / 2]]
        .find(([x, y]) => ['stage', ''].includes(document.elementFromPoint(x, y).id)), g.c);
      t.check(spare, `${name}: no letterbox`);
      const [x, y] = spare, dy = Math.min(60, g.vh - y - 2, y - 2);
      await fingers('touchStart', [[x - 10, y - 5], [x + 10, y + 5]]);
      for (let step = 1; step <= 10; ++step) {
        await fingers('touchMove', [[x - 10 - 8 * step, y - dy * step / 10], [x + 10 + 8 * step, y + dy * step / 10]]);
        await t.sleep(20);
      }
      await fingers('touchEnd', []);
      await t.sleep(300);
      const scale = await page.evaluate(() => visualViewport.scale);
      t.check(scale === 1, `${name}: a pinch on the letterbox zoomed the page to ${scale}`);

      // The crosshair's centre under a held finger.
      await fingers('touchStart', [await at(700, 600)]);
      await see('the crosshair centred under the finger',
                p => t.findSprite(p, sprite('Fadenkreuz.bmp'), white, 675, 575, 675, 575));
      await fingers('touchEnd', []);

      const marker = (mx, my) => p => t.findSprite(p, sprite('MiniBall.bmp'), white, mx, my, mx, my);
      await tap(at(475, 395));                                  // Options
      await t.sleep(500);
      await tap(at(455, 425));                                  // level 2
      await see('level 2 chosen', marker(390, 400));
      await tap(at(960, 750));                                  // Credits
      await see('the credits', p => t.findSprite(p, sprite('VelmoraMini.bmp'), white, 250, 520, 250, 520));
      await tap(control('menu'));
      await see('the options again', marker(390, 400));
      await tap(at(50, 750));                                   // Back
      await see('the menu again', menuShown);
      await t.sleep(300);
      await tap(at(450, 325));                                  // Start
      await see('the match', p => t.findSprite(p, sprite('TestFigur1.bmp'), white, 0, 0, t.W, 0));

      // The aim by two fingers, or by "Aim" on one device; a held finger
      // charges, lifting it shoots.
      await tap(...(name === 'Pixel 5 landscape' ? [control('aim')] : [at(300, 300), at(600, 300)]));
      await see('the aim', p => t.findSprite(p, sprite('VMFeldDecker.bmp'), null, 750, 610, 750, 610));
      await fingers('touchStart', [await at(490, 500)]);
      await t.sleep(600);
      await fingers('touchEnd', []);
      await see('the ball in flight', p => {
        const ball = t.findSprite(p, sprite('Ball.bmp'), white, 0, 0, t.W, 640);
        return ball !== null && ball.y < 430;
      });

      await tap(control('menu'));
      await see('the menu after the match', menuShown);
      await t.sleep(300);
      await tap(at(450, 465));                                  // Quit
      await page.waitForFunction(() => document.getElementById('ended-text').textContent === 'The game has ended.' &&
                                       getComputedStyle(document.getElementById('ended')).display !== 'none',
                                 { timeout: 10000 })
        .catch(() => { throw new t.TestFailure(`${name}: Quit did not end the game`); });
      t.check(problems.length === 0, `${name}: ${problems.join('\n')}`);
      console.log(`${name}: by touch alone: PASS`);
      await page.close();
    }
  } finally {
    await browser.close();
  }
}

// The folder on 127.0.0.1, with nothing for the browser's own cache.
function serve(dir) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                  '.webmanifest': 'application/manifest+json', '.png': 'image/png' };
  const server = http.createServer((request, response) => {
    const file = path.join(dir, path.normalize(new URL(request.url, 'http://h').pathname));
    fs.readFile(file, (error, body) => {
      response.writeHead(error ? 404 : 200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                                              'Cache-Control': 'no-store' });
      response.end(error ? '' : body);
    });
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve(server)));
}

async function offline() {
  const server = await serve(url);
  const browser = await t.launch(profiles, { width: 1024, height: 768 }, pidFile);
  try {
    const page = (await browser.pages())[0] || await browser.newPage();
    const problems = [];
    watch(page, problems);
    await page.goto(`http://127.0.0.1:${server.address().port}/velmora.html`);
    const first = await firstPicture(page);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 60000 })
      .catch(() => { throw new t.TestFailure('no service worker took the page'); });
    await page.reload();
    const later = await firstPicture(page);
    server.close();
    server.closeAllConnections();
    await page.reload();
    const away = await firstPicture(page);
    await t.holdKey(page, 'Enter', 200);
    await t.awaitPicture(page, 'the main menu offline', menuShown);
    console.log(`load: first visit ${first} ms, later visits ${later} ms online, ${away} ms offline ` +
                `(to the first picture; load ${require('os').loadavg()[0].toFixed(1)})`);

    const manifest = await (await page.createCDPSession()).send('Page.getAppManifest');
    t.check(manifest.errors.length === 0 && manifest.data,
            `the manifest: ${JSON.stringify(manifest.errors)} ${manifest.data ? '' : '(none)'}`);
    for (const icon of JSON.parse(manifest.data).icons) {
      const size = await page.evaluate(src => fetch(src).then(r => r.blob()).then(createImageBitmap)
        .then(b => `${b.width}x${b.height}`, e => String(e)), new URL(icon.src, manifest.url).href);
      t.check(size === icon.sizes, `the icon ${icon.src} is ${size}, not ${icon.sizes}`);
    }
    t.check(problems.length === 0, problems.join('\n'));
    console.log('offline: PASS');
  } finally {
    server.close();
    await browser.close();
  }
}

(command === 'walk' ? walk() : offline()).catch(e => {
  console.error(`FAIL: ${e instanceof t.TestFailure ? e.message : e.stack}`);
  process.exitCode = 1;
});
