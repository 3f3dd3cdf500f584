// The page in the hand, in Debian's headless Chromium emulating devices.
//   node touch.js walk URL DATA
//     By touch alone (the DevTools protocol's touch input, no mouse or
//     keyboard) on a tablet in landscape and a phone in landscape and in
//     portrait: the title, the menu by quick taps on its labels, an options
//     choice, the credits and "Menu" back, Start, the aim, a charged shot
//     that flies, "Menu" out of the match, Quit and the ended page. The
//     crosshair's centre comes under the finger; a pinch on the letterbox
//     does not zoom; the picture is at whole device pixels, "Menu" beside it.
//   node touch.js offline SITE
//     SITE served here, uncacheable, played once, then reloaded with the
//     server gone: the main menu. The manifest reads without errors and its
//     icons load.
'use strict';
const fs = require('fs');
const path = require('path');
const { KnownDevices } = require('puppeteer-core');
const t = require('./lib');

const [command, url, data] = process.argv.slice(2);
const pidFile = process.env.VELMORA_PIDFILE;
const profiles = process.env.VELMORA_PROFILES || fs.mkdtempSync('/tmp/velmora-web-profiles-');
const white = [255, 255, 255];
const drawn = (name, x0, y0, x1 = x0, y1 = y0) => p => t.findSprite(p, t.readBmp(path.join(data, name)), white, x0, y0, x1, y1);
const menuShown = p => t.pixel(p, 1000, 20).join() === '0,50,100';

async function started(page, problems) {
  page.on('pageerror', e => problems.push(`page error: ${e.message}`));
  page.on('console', m => { if (m.type() === 'error') problems.push(`console error: ${m.text()}`); });
  await page.waitForFunction(() => performance.getEntriesByName('velmora-first-picture').length > 0,
                             { timeout: 30000 }).catch(() => { throw new t.TestFailure('the game did not start'); });
  return Math.round(await page.evaluate(() => performance.getEntriesByName('velmora-first-picture')[0].startTime));
}

async function walk() {
  const browser = await t.launch(profiles, { width: 800, height: 600 }, pidFile);
  try {
    for (const name of ['iPad landscape', 'Pixel 5 landscape', 'Pixel 5']) {
      const page = await browser.newPage(), problems = [];
      await page.emulate(KnownDevices[name]);
      await t.watchAudio(page);
      const cdp = await page.createCDPSession();
      const fingers = (type, points = []) =>
        cdp.send('Input.dispatchTouchEvent', { type, touchPoints: points.map(([x, y], id) => ({ x, y, id })) });
      // The page point over the game's pixel (gx, gy), or over a control.
      const at = (gx, gy) => page.evaluate((gx, gy) => {
        const c = document.getElementById(typeof gx == 'string' ? gx : 'screen'), b = c.getBoundingClientRect();
        return typeof gx == 'string' ? [b.left + b.width / 2, b.top + b.height / 2]
                                     : [b.left + (gx + 0.5) * b.width / c.width, b.top + (gy + 0.5) * b.height / c.height];
      }, gx, gy);
      // As quick as taps come: the game sees each press for a pass all the same.
      const tap = async (...points) => {
        await fingers('touchStart', await Promise.all(points));
        await fingers('touchEnd');
        await t.sleep(300);
      };
      const see = (what, test) => t.awaitPicture(page, `${name}: ${what}`, test);

      await page.goto(url);
      await started(page, problems);
      await see('the title', drawn('Velmora.bmp', 300, 7));
      await tap(at(512, 400));
      await see('the main menu', menuShown);
      await page.waitForFunction(() => window.__audioContexts.some(c => c.ran), { timeout: 5000 })
        .catch(() => { throw new t.TestFailure(`${name}: the first touch did not start the sound`); });

      const g = await page.evaluate(() => [document.getElementById('screen').getBoundingClientRect().toJSON(),
                                           document.getElementById('menu').getBoundingClientRect().toJSON(),
                                           innerWidth, innerHeight, devicePixelRatio]);
      const [c, m, vw, vh, dpr] = g, whole = v => Math.abs(v * dpr - Math.round(v * dpr)) < dpr / 64;
      t.check([c.left, c.top, c.width, c.height].every(whole) && m.width >= 44 && m.height >= 44 &&
              (m.left >= c.right || m.top >= c.bottom), `${name}: the picture or "Menu" misplaced: ${JSON.stringify(g)}`);
      // The height in landscape (or the width beside the controls), else the width.
      t.check(vw > vh ? c.height > vh - 1 || c.right > m.left - 10 : c.width > vw - 1,
              `${name}: the picture does not fill the screen: ${JSON.stringify(g)}`);
      console.log(`${name}: the picture is ${c.width.toFixed(1)}x${c.height.toFixed(1)} CSS px, ` +
                  `${Math.round(100 * c.width * c.height / vw / vh)} % of the ${vw}x${vh} viewport`);

      // A pinch on the letterbox.
      const [x, y] = c.left > 20 ? [c.left / 2, vh / 2] : [vw / 2, (c.bottom + vh) / 2];
      const dy = Math.min(60, vh - y - 2);
      await fingers('touchStart', [[x - 10, y - 5], [x + 10, y + 5]]);
      for (let step = 1; step <= 10; ++step) {
        await fingers('touchMove', [[x - 10 - 8 * step, y - dy * step / 10], [x + 10 + 8 * step, y + dy * step / 10]]);
        await t.sleep(20);
      }
      await fingers('touchEnd');
      await t.sleep(300);
      const scale = await page.evaluate(() => visualViewport.scale);
      t.check(scale === 1, `${name}: a pinch on the letterbox zoomed the page to ${scale}`);

      await fingers('touchStart', [await at(700, 600)]);
      await see('the crosshair centred under the finger', drawn('Fadenkreuz.bmp', 675, 575));
      await fingers('touchEnd');
      await tap(at(475, 395));                                  // Options
      await t.sleep(500);
      await tap(at(455, 425));                                  // level 2
      await see('level 2 chosen', drawn('MiniBall.bmp', 390, 400));
      await tap(at(960, 750));                                  // Credits
      await see('the credits', drawn('VelmoraMini.bmp', 250, 520));
      await tap(at('menu'));
      await see('the options again', drawn('MiniBall.bmp', 390, 400));
      await tap(at(50, 750));                                   // Back
      await see('the menu again', menuShown);
      await t.sleep(600);                                       // the menu takes taps 500 ms after the options
      await tap(at(450, 325));                                  // Start
      await see('the match', drawn('TestFigur1.bmp', 0, 0, t.W, 0));
      // The aim by two fingers (or "Aim"); a held finger charges, lifting it shoots.
      await tap(...(name === 'Pixel 5 landscape' ? [at('aim')] : [at(300, 300), at(600, 300)]));
      await see('the aim', drawn('VMFeldDecker.bmp', 750, 610));
      await fingers('touchStart', [await at(490, 500)]);
      await t.sleep(600);
      await fingers('touchEnd');
      await see('the ball in flight', drawn('Ball.bmp', 0, 0, t.W, 429));
      await tap(at('menu'));
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

async function offline() {
  const server = await t.serve(url);
  const browser = await t.launch(profiles, { width: 1024, height: 768 }, pidFile);
  try {
    const page = (await browser.pages())[0] || await browser.newPage(), problems = [];
    await page.goto(server.url);
    const first = await started(page, problems);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 60000 })
      .catch(() => { throw new t.TestFailure('no service worker took the page'); });
    await page.reload();
    const later = await started(page, problems);
    server.close();
    server.closeAllConnections();
    await page.reload();
    const away = await started(page, problems);
    await t.holdKey(page, 'Enter', 200);
    await t.awaitPicture(page, 'the main menu offline', menuShown);
    console.log(`load: first visit ${first} ms, later visits ${later} ms online, ${away} ms offline ` +
                `(to the first picture; load ${require('os').loadavg()[0].toFixed(1)})`);

    const manifest = await (await page.createCDPSession()).send('Page.getAppManifest');
    t.check(manifest.errors.length === 0 && manifest.data, `the manifest: ${JSON.stringify(manifest)}`);
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
