// What only a browser shows of the page beyond the round (round.test.mjs).
import { after, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { get } from 'node:http';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { control, screen, site, start } from './browser.mjs';
import { decode } from '../e2e/steps.mjs';
import { serve } from '../../tools/serve.mjs';

const web = await start();
after(() => web.close());

const button = (page, name) => page.getByRole('button', { name, exact: true });
const entries = (page) => page.getByRole('option');
// A screen reader's press: a click with no pointer (detail 0).
const pressed = (locator) => locator.evaluate((e) => e.click());
const cdp = (page) => page.context().newCDPSession(page);
const red = [1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36];

test('a screen reader plays a round', async (t) => {
  const page = await web.open();
  await t.test('every control found by its role and name; the page follows the focus', async () => {
    assert.equal(await screen(page, 'Form2').ariaSnapshot(), `- region "Morvik Roulette":
  - img "Morvik Roulette"
  - img "Morvik Game"
  - button "Play"
  - button "Quit"
  - text: Tato ruleta se hraje jako běžná ruleta.`);
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.dataset.control), 'Label1(1)');
    for (const name of ['Play', 'Chip 5', '17', 'Red', 'Chip 1', 'Odd']) await pressed(button(page, name));
    await pressed(entries(page).nth(1));
    const cells = [...Array(37).keys(), 'Big 19-36', 'Small 1-18', 'Even', 'Odd', 'Black', 'Red'];
    // What screen readers are told: the table's lines are no pictures to them.
    assert.equal(await screen(page, 'Form1').ariaSnapshot(), `- region "Morvik Roulette table":
${cells.map((name) => `  - button "${name}"`).join('\n')}
  - text: Player 1
  - button "Chip 1" [pressed]
${[5, 10, 20, 50, 100].map((value) => `  - button "Chip ${value}"`).join('\n')}
  - text: 1 0 2 2 2 2
  - button "Next"
  - listbox "Player 1 bets":
    - option "17-5"
    - option "Red-5" [selected]
    - option "Odd-1"
  - group "Drawn number": "1"
  - button "X"`);
    const { nodes } = await (await cdp(page)).send('Accessibility.getFullAXTree');
    assert.deepEqual(nodes.filter((n) => n.description?.value).map((n) => `${n.name.value}: ${n.description.value}`), ['X: Back to the title window',
      ...cells.slice(0, 37).map((n) => `${n}: ${n === 0 ? 'green' : red.includes(n) ? 'red' : 'black'}`), 'Chip 1: 1 chip', 'Chip 5: 0 chips', 'Chip 10: 2 chips', 'Chip 20: 2 chips', 'Chip 50: 2 chips', 'Chip 100: 2 chips']);
  });
  // Delete held while the page loses the keyboard is never seen going up.
  await t.test('a blur lets a held Delete go', async () => {
    await page.keyboard.down('Delete');
    await page.evaluate(() => dispatchEvent(new Event('blur')));
    await pressed(entries(page).nth(0));
    await page.clock.runFor(5);
    assert.deepEqual(await entries(page).allTextContents(), ['17-5', 'Red-5', 'Odd-1']);
  });
  // Not while it runs: some 50 ticks of Timer1, every millisecond.
  await t.test('the drawn number is heard once the spin has stopped', async () => {
    await pressed(button(page, 'Next'));
    await pressed(button(page, 'Next'));
    const heard = page.locator('[role=status]');
    await page.clock.runFor(45);
    assert.equal(await heard.textContent(), '');
    await page.clock.runFor(20);
    const drawn = Number(await control(page, 'Form1', 'Cislo').textContent());
    assert.equal(await heard.textContent(), `Drawn number ${drawn}, ${drawn === 0 ? 'green' : red.includes(drawn) ? 'red' : 'black'}`);
    assert.deepEqual(page.errors, []);
  });
});

test('touch', async (t) => {
  const page = await web.open({ hasTouch: true });
  for (const name of ['Play', 'Chip 5', '17', 'Red', 'Chip 1', 'Odd']) await button(page, name).tap();
  const touch = await cdp(page);
  const finger = (type, x, y) => touch.send('Input.dispatchTouchEvent', { type, touchPoints: type === 'touchEnd' ? [] : [{ x, y }] });
  await t.test('a finger slid off a cell, a little or far, lays nothing', async () => {
    // Onto the next cell, too little for a pan; across the cloth, a pan.
    const cell = await button(page, '20').boundingBox();
    for (const dx of [6, -150]) {
      await finger('touchStart', cell.x + cell.width - 3, cell.y + 12);
      await finger('touchMove', cell.x + cell.width - 3 + dx, cell.y + 12);
      await finger('touchEnd');
    }
    assert.deepEqual(await entries(page).allTextContents(), ['17-5', 'Red-5', 'Odd-1']);
  });
  await t.test('a finger held on an entry takes it back; a tap, a pan or a mouse held selects', async () => {
    // Held `ms`, the finger first moved down by `pan`.
    const hold = async (entry, ms, pan = 0) => {
      const box = await entry.boundingBox();
      await finger('touchStart', box.x + box.width / 2, box.y + box.height / 2);
      if (pan) await finger('touchMove', box.x + box.width / 2, box.y + box.height / 2 + pan);
      await page.clock.runFor(ms);
      await finger('touchEnd');
      await page.clock.runFor(5);
    };
    await hold(entries(page).nth(2), 700, 150); // a hold that turned into a pan
    await hold(entries(page).nth(1), 100);
    await hold(entries(page).nth(0), 700);
    // A mouse held as long only selects.
    await entries(page).nth(0).hover();
    await page.mouse.down();
    await page.clock.runFor(700);
    await page.mouse.up();
    assert.deepEqual(await entries(page).allTextContents(), ['Red-5', 'Odd-1']);
    assert.deepEqual(page.errors, []);
  });
});

test('on a phone the table fits the screen as the page loads, and a pinch enlarges it', async () => {
  const phone = await web.open({ viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true, deviceScaleFactor: 3 }, { clock: false });
  await button(phone, 'Play').tap();
  const box = await screen(phone, 'Form1').boundingBox();
  assert.ok(box.x >= 0 && box.x + box.width <= 390.5 && box.width > 388, `the table is ${box.width} wide at ${box.x}`);
  assert.ok(Math.abs(box.width / box.height - 859 / 669) < 0.01, 'the table keeps its shape');
  // A touch pad's pinch (Chromium synthesizes no two fingers' here), and nothing that stops fingers zooming.
  await (await cdp(phone)).send('Input.synthesizePinchGesture', { x: 200, y: 300, scaleFactor: 2, gestureSourceType: 'mouse' });
  assert.ok(await phone.evaluate(() => visualViewport.scale > 1.5), 'pinched');
  assert.deepEqual(await phone.evaluate(() => [...document.querySelectorAll('*')].filter((e) => !/auto|pinch-zoom/.test(getComputedStyle(e).touchAction)).length), 0);
});

test('zoomed to 200 %, the table is drawn sharp as at 2 device pixels to the pixel, and pans', async () => {
  // The table as Chromium draws it, in device pixels, at the size fitted as the page loaded.
  const drawn = async (page, metrics) => {
    const session = await cdp(page);
    await session.send('Emulation.setDeviceMetricsOverride', { ...metrics, mobile: false });
    // Drawn once every picture is the density's own, which loads only now.
    await page.waitForFunction(() => [...document.images].every((i) => i.complete && i.currentSrc.endsWith('@2x.webp')));
    const clip = { ...(await screen(page, 'Form1').boundingBox()), scale: 1 };
    return Buffer.from((await session.send('Page.captureScreenshot', { clip, captureBeyondViewport: true })).data, 'base64');
  };
  const dense = await web.open({ viewport: { width: 859, height: 669 }, deviceScaleFactor: 2 });
  await button(dense, 'Play').click();
  const expected = await drawn(dense, { width: 859, height: 669, deviceScaleFactor: 2 });
  // Line1 of the betting table runs down its column 136: two columns of white between the green.
  assert.deepEqual([271, 272, 273, 274].map((x) => decode(expected).at(x, 600)), [0x008000, 0xffffff, 0xffffff, 0x008000]);
  // Ctrl + to 200 % in a window of 1280 by 1024.
  const page = await web.open();
  await button(page, 'Play').click();
  assert.ok((await drawn(page, { width: 640, height: 512, deviceScaleFactor: 2 })).equals(expected), 'drawn as on a screen of 2 pixels to the pixel');
  await page.mouse.wheel(200, 100);
  await page.waitForFunction(() => scrollX === 200 && scrollY === 100);
});

test('a page of the game', async (t) => {
  const page = await web.open({}, { clock: false });
  await t.test('the Czech remark is marked Czech', async () => {
    assert.equal(await page.getByText('Tato ruleta se hraje jako běžná ruleta.').evaluate((e) => e.closest('[lang]').lang), 'cs');
  });
  // The accessibility rule engine that Lighthouse runs.
  await t.test('axe-core finds nothing on either screen, nor in the high-contrast looks', async () => {
    await page.addScriptTag({ path: new URL(import.meta.resolve('axe-core')).pathname });
    // In the high-contrast looks, the chip of 1 in hand and the focus on 18, measured (tests/e2e/contrast.py)
    // in the game's colours, then the system's (Chromium's light theme).
    const marks = (focus, chip) => `focus 18 outside ${focus}\nfocus 18 inside ${focus}\nchip in hand outside ${chip}\nchip in hand inside ${chip}`;
    const figures = (focus, chip) => `numeral 17 21.0\nnumeral 18 21.0\ndrawn number 21.0\n${marks(focus, chip)}\n${
    ['deuteranomaly', 'protanomaly', 'tritanomaly'].map((cvd) => `red to black ${cvd} 21.0\n`).join('')}`;
    for (const [window, look, measured] of [['Form2'], ['Form1'], ['Form1', { contrast: 'more' }, figures('16.7', '17.4')],
      ['Form1', { forcedColors: 'active' }, figures('19.0', '13.9')]]) {
      if (look) { // the table redrawn in the new look (its change event comes a frame later) before axe and the picture
        const before = await screen(page, 'Form1').innerHTML();
        await page.emulateMedia(look);
        await page.waitForFunction((html) => document.querySelector('[data-control=Form1]').innerHTML !== html, before);
      } else if (window === 'Form1') {
        for (const name of ['Play', 'Chip 1', '18']) await button(page, name).click();
        await page.keyboard.press('ArrowRight');
      }
      const faults = await page.evaluate(async (high) => {
        const { violations } = await axe.run({
          runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'best-practice'] },
          rules: { 'label-content-name-mismatch': { enabled: true }, 'target-size': { enabled: true } },
        });
        // Red numbers on green cloth, as on every roulette table; each is read out by its name.
        const red = (v, n) => !high && v.id === 'color-contrast' && /Label1\(\d+\)/.test(n.target);
        return violations.flatMap((v) => v.nodes.filter((n) => !red(v, n)).map((n) => `${v.id}: ${n.target}`));
      }, Boolean(look));
      assert.deepEqual(faults, [], `${window} ${JSON.stringify(look)}`);
      const shot = `${tmpdir()}/morvik-contrast.png`;
      if (measured && await screen(page, 'Form1').screenshot({ path: shot }))
        assert.equal(spawnSync(new URL('../e2e/contrast.py', import.meta.url).pathname, [shot, 1]).stdout.toString(), measured);
    }
  });
  await t.test('the wheel over a full bet list brings its first entries into sight', async () => {
    for (const value of [1, 5, 10, 20, 50, 100])
      for (const name of [`Chip ${value}`, '17', '18']) await button(page, name).click();
    assert.equal(await entries(page).first().textContent(), '17-1', 'twelve entries, the newest eleven in sight');
    await entries(page).first().hover();
    for (const first of ['17-1', '18-1']) { // a touchpad's steps of a fifth of a notch: an entry in two
      await page.mouse.wheel(0, -20);
      assert.equal(await entries(page).first().textContent(), first);
    }
  });
  await t.test('Back after a reload on the table shows the title', async () => {
    await page.reload();
    await page.goBack();
    assert.equal(await page.title(), 'Morvik Roulette');
    assert.deepEqual(page.errors, []);
  });
});

// The page's message, read out at once, in place of the screens.
const message = (page, title) => Promise.all([page.getByRole('region', { name: title }).and(page.locator(':focus')).waitFor(),
  page.locator('.screen:visible').waitFor({ state: 'detached' })]);

test('after "Quit" no key reaches the game, and Tab then Enter follows the message\'s "New game"', async () => {
  const page = await web.open({}, { clock: false });
  await button(page, 'Quit').click();
  await message(page, 'The game has ended');
  for (const key of ['Shift+Tab', 'Enter', 'Tab']) await page.keyboard.press(key);
  assert.deepEqual(await page.evaluate(() => [document.title, history.state, document.activeElement.textContent]), ['Morvik Roulette', null, 'New game']);
  await Promise.all([page.waitForEvent('load'), page.keyboard.press('Enter')]);
});

test('code lost, refused or cut short: the page says why, in English or in a Czech browser in Czech, and "Try again" starts the game on the same page', async () => {
  const cut = (file) => (route) => route.fulfill({ body: readFileSync(`${site}/${file}`).subarray(0, 30000), contentType: file.endsWith('wasm') ? 'application/wasm' : 'text/javascript' });
  const en = ['en-US', 'Morvik Roulette could not start', 'Try again', '"Loading…"', 'Morvik Roulette table'];
  const cs = ['cs-CZ', 'Morvik Roulette se nepodařilo spustit', 'Zkusit znovu', '"Načítá se…"', 'Stůl Morvik Roulette'];
  for (const [file, fail, reason, [locale, failed, again, loading, table] = en] of [['morvik.js', (route) => route.abort(), /^The file morvik.js could not be fetched.$/],
    ['morvik.js', (route) => route.abort(), /^Soubor morvik.js se nepodařilo stáhnout.$/, cs],
    ['morvik.js', cut('morvik.js'), /^Uncaught SyntaxError: /],
    ['morvik.wasm', (route) => route.abort(), /^TypeError: Failed to fetch$/],
    ['morvik.wasm', (route) => route.fulfill({ status: 404 }), /^both async and sync fetching of the wasm failed$/],
    ['morvik.wasm', cut('morvik.wasm'), /^CompileError: WebAssembly.instantiate\(\): /]]) {
    const page = await (await web.browser.newContext({ serviceWorkers: 'block', locale })).newPage();
    await page.route(`**/${file}`, fail);
    await page.goto(web.url);
    await page.evaluate(() => (window.kept = true));
    let held; // the network back, the WebAssembly held till Play is pressed
    for (const network of [false, true]) {
      await message(page, failed);
      assert.match(await page.locator('#reason').textContent(), reason);
      if (network) held = page.unroute(`**/${file}`).then(() => new Promise((hold) => page.route('**/morvik.wasm', hold)));
      await page.getByRole('link', { name: again }).click();
    }
    await page.locator('[data-control="Label1(0)"]').click();
    assert.equal(await page.evaluate(() => getComputedStyle(document.body, '::after').content), loading);
    await (await held).continue();
    await page.waitForFunction((title) => document.title === title && window.kept, table);
  }
});

test('served by the development server', async (t) => {
  const folder = mkdtempSync(`${tmpdir()}/morvik-site-`);
  cpSync(site, `${folder}/site`, { recursive: true });
  writeFileSync(`${folder}/outside.txt`, '');
  const { url, server } = await serve(`${folder}/site`);
  t.after(() => {
    server.closeAllConnections();
    server.close();
    rmSync(folder, { recursive: true });
  });
  await t.test('a malformed address is answered 400, one outside the site 404', async () => {
    for (const [path, status] of [['/%E0%A4%A', 400], ['/../outside.txt', 404], ['/%2e%2e/outside.txt', 404], ['/..%2foutside.txt', 404], ['/%2e%2e%2foutside.txt', 404]])
      assert.equal(await new Promise((done) => get(url, { path }, (r) => done(r.resume().statusCode))), status, path);
  });
  await t.test('files are compressed, and an unchanged one is answered 304', async () => {
    const home = await fetch(url, { headers: { 'Accept-Encoding': 'gzip, br' } });
    assert.equal(home.headers.get('content-encoding'), 'br');
    assert.match(await home.text(), /<title>Morvik Roulette<\/title>/);
    const unchanged = await fetch(`${url}morvik.wasm`, { headers: { 'If-None-Match': home.headers.get('etag') } });
    assert.equal(unchanged.status, 200, 'another file, another ETag');
    const again = await fetch(`${url}morvik.wasm`, { headers: { 'If-None-Match': unchanged.headers.get('etag') } });
    assert.equal(again.status, 304);
  });
  await t.test('a taken port is named, and how to choose another', async () => {
    const port = new URL(url).port;
    const taken = spawnSync(process.execPath, [new URL('../../tools/serve.mjs', import.meta.url).pathname, folder, port], { encoding: 'utf8' });
    assert.deepEqual([taken.status, taken.stderr], [1, `Port ${port} is taken. Choose another: MORVIK_PORT=${Number(port) + 1} tools/web.sh serve\n`]);
  });
  await t.test('opened once, the game starts offline from either address and takes a newer build', async () => {
    const page = await (await web.browser.newContext()).newPage();
    await page.goto(url);
    await page.evaluate(() => navigator.serviceWorker.ready);
    const index = `${folder}/site/index.html`;
    writeFileSync(index, readFileSync(index, 'utf8').replace('</body>', '<p id="published-later"></p></body>'));
    for (const [offline, address, published] of [[true, url, 0], [true, `${url}index.html`, 0], [false, url, 1], [true, url, 1]]) {
      await page.context().setOffline(offline);
      await page.goto(address);
      assert.equal(await page.locator('#published-later').count(), published, address);
      await button(page, 'Play').click();
      assert.equal(await page.title(), 'Morvik Roulette table', address);
      assert.ok(await page.evaluate(() => document.fonts.check('bold 27px Morvik')));
    }
  });
});
