// What only a browser shows of the page beyond the round (round.test.mjs), on a copy of the site served by the
// development server, with a file beside it that no address may reach.
import { after, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { get } from 'node:http';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { control, screen, site, start } from './browser.mjs';
import { decode } from '../e2e/steps.mjs';

const folder = mkdtempSync(`${tmpdir()}/morvik-site-`);
cpSync(site, `${folder}/site`, { recursive: true });
writeFileSync(`${folder}/outside.txt`, '');
const web = await start(`${folder}/site`);
after(() => web.close().then(() => rmSync(folder, { recursive: true })));

const button = (page, name) => page.getByRole('button', { name, exact: true });
const entries = (page) => page.getByRole('option');
const cdp = (page) => page.context().newCDPSession(page);
const bets = ['Play', 'Chip 5', '17', 'Red', 'Chip 1', 'Odd']; // 17-5 Red-5 Odd-1
const colour = (n) => (n === 0 ? 'green' : [1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36].includes(n) ? 'red' : 'black');

test('a screen reader plays a round', async (t) => {
  const page = await web.open();
  const pressed = (locator) => locator.evaluate((e) => e.click()); // a screen reader's press: no pointer (detail 0)
  await t.test('every control found by its role and name, the Czech remark in Czech; the page follows the focus', async () => {
    assert.equal(await screen(page, 'Form2').ariaSnapshot(), `- region "Morvik Roulette":
  - img "Morvik Roulette"
  - img "Morvik Game"
  - button "Play"
  - button "Quit"
  - text: Tato ruleta se hraje jako běžná ruleta.`);
    assert.equal(await screen(page, 'Form2').locator('[lang=cs]').textContent(), 'Tato ruleta se hraje jako běžná ruleta.');
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.dataset.control), 'Label1(1)');
    for (const name of bets) await pressed(button(page, name));
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
      ...cells.slice(0, 37).map((n) => `${n}: ${colour(n)}`), 'Chip 1: 1 chip', 'Chip 5: 0 chips', 'Chip 10: 2 chips', 'Chip 20: 2 chips', 'Chip 50: 2 chips', 'Chip 100: 2 chips']);
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
    for (const name of ['Next', 'Next']) await pressed(button(page, name));
    const heard = page.locator('[role=status]');
    await page.clock.runFor(45);
    assert.equal(await heard.textContent(), '');
    await page.clock.runFor(20);
    const drawn = Number(await control(page, 'Form1', 'Cislo').textContent());
    assert.equal(await heard.textContent(), `Drawn number ${drawn}, ${colour(drawn)}`);
    assert.deepEqual(page.errors, []);
  });
});

test('a finger slid off a cell lays nothing; held on an entry, it takes it back; a tap, a pan or a mouse held selects', async () => {
  const page = await web.open({ hasTouch: true });
  for (const name of bets) await button(page, name).tap();
  const touch = await cdp(page);
  const send = (type, touchPoints) => touch.send('Input.dispatchTouchEvent', { type, touchPoints });
  // A finger put down at (x, y), moved by (dx, dy) if at all, held `ms` and lifted.
  const finger = async ({ x, y }, dx, dy, ms = 0) => {
    await send('touchStart', [{ x, y }]);
    if (dx || dy) await send('touchMove', [{ x: x + dx, y: y + dy }]);
    await page.clock.runFor(ms);
    await send('touchEnd', []);
    await page.clock.runFor(5);
  };
  const middle = async (entry) => { const b = await entry.boundingBox(); return { x: b.x + b.width / 2, y: b.y + b.height / 2 }; };
  // Onto the next cell, too little for a pan; across the cloth, a pan.
  const cell = await button(page, '20').boundingBox();
  for (const dx of [6, -150]) await finger({ x: cell.x + cell.width - 3, y: cell.y + 12 }, dx, 0);
  assert.deepEqual(await entries(page).allTextContents(), ['17-5', 'Red-5', 'Odd-1']);
  await finger(await middle(entries(page).nth(2)), 0, 150, 700); // a hold that turned into a pan
  await finger(await middle(entries(page).nth(1)), 0, 0, 100);
  await finger(await middle(entries(page).nth(0)), 0, 0, 700);
  await entries(page).nth(0).hover();
  await page.mouse.down();
  await page.clock.runFor(700);
  await page.mouse.up();
  assert.deepEqual(await entries(page).allTextContents(), ['Red-5', 'Odd-1']);
  assert.deepEqual(page.errors, []);
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
  // The table as Chromium draws it on a screen of `width` by `height` at 2 device pixels to the pixel, at the size
  // fitted as the page loaded, once every picture is the density's own (which loads only now).
  const drawn = async (options, width, height) => {
    const page = await web.open(options);
    await button(page, 'Play').click();
    const session = await cdp(page);
    await session.send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 2, mobile: false });
    await page.waitForFunction(() => [...document.images].every((i) => i.complete && i.currentSrc.endsWith('@2x.webp')));
    const clip = { ...(await screen(page, 'Form1').boundingBox()), scale: 1 };
    return [page, Buffer.from((await session.send('Page.captureScreenshot', { clip, captureBeyondViewport: true })).data, 'base64')];
  };
  const [, expected] = await drawn({ viewport: { width: 859, height: 669 }, deviceScaleFactor: 2 }, 859, 669);
  // Line1 of the betting table runs down its column 136: two columns of white between the green.
  assert.deepEqual([271, 272, 273, 274].map((x) => decode(expected).at(x, 600)), [0x008000, 0xffffff, 0xffffff, 0x008000]);
  const [page, zoomed] = await drawn({}, 640, 512); // Ctrl + to 200 % in a window of 1280 by 1024
  assert.ok(zoomed.equals(expected), 'drawn as on a screen of 2 pixels to the pixel');
  await page.mouse.wheel(200, 100);
  await page.waitForFunction(() => scrollX === 200 && scrollY === 100);
});

// The page's message, read out at once, in place of the screens.
const message = (page, title) => Promise.all([page.getByRole('region', { name: title }).and(page.locator(':focus')).waitFor(),
  page.locator('.screen:visible').waitFor({ state: 'detached' })]);

test('a page of the game', async (t) => {
  const page = await web.open({}, { clock: false });
  // The accessibility rule engine that Lighthouse runs. In the high-contrast looks, the chip of 1 in hand and the
  // focus on 18, measured (tests/e2e/contrast.py) in the game's colours, then the system's (Chromium's light theme).
  await t.test('axe-core finds nothing on either screen, nor in the high-contrast looks', async () => {
    await page.addScriptTag({ path: new URL(import.meta.resolve('axe-core')).pathname });
    const faults = (high) => page.evaluate(async (high) => {
      const { violations } = await axe.run({ runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'best-practice'] },
        rules: { 'label-content-name-mismatch': { enabled: true }, 'target-size': { enabled: true } } });
      // Red numbers on green cloth, as on every roulette table; each is read out by its name.
      const red = (v, n) => !high && v.id === 'color-contrast' && /Label1\(\d+\)/.test(n.target);
      return violations.flatMap((v) => v.nodes.filter((n) => !red(v, n)).map((n) => `${v.id}: ${n.target}`));
    }, high);
    assert.deepEqual(await faults(false), [], 'the title');
    for (const name of ['Play', 'Chip 1', '18']) await button(page, name).click();
    await page.keyboard.press('ArrowRight');
    assert.deepEqual(await faults(false), [], 'the table');
    for (const [look, focus, chip] of [[{ contrast: 'more' }, '16.7', '17.4'], [{ forcedColors: 'active' }, '19.0', '13.9']]) {
      const before = await screen(page, 'Form1').innerHTML(); // the table redrawn in the new look a frame later
      await page.emulateMedia(look);
      await page.waitForFunction((html) => document.querySelector('[data-control=Form1]').innerHTML !== html, before);
      assert.deepEqual(await faults(true), [], JSON.stringify(look));
      const shot = `${tmpdir()}/morvik-contrast.png`;
      await screen(page, 'Form1').screenshot({ path: shot });
      assert.equal(spawnSync(new URL('../e2e/contrast.py', import.meta.url).pathname, [shot, 1]).stdout.toString(), 'numeral 17 21.0\nnumeral 18 21.0\n'
        + `drawn number 21.0\nfocus 18 outside ${focus}\nfocus 18 inside ${focus}\nchip in hand outside ${chip}\nchip in hand inside ${chip}\n`
        + 'red to black deuteranomaly 21.0\nred to black protanomaly 21.0\nred to black tritanomaly 21.0\n');
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
  await t.test('after "Quit" no key reaches the game, and Tab then Enter follows the message\'s "New game"', async () => {
    for (const name of ['X', 'Quit']) await button(page, name).click();
    await message(page, 'The game has ended');
    for (const key of ['Shift+Tab', 'Enter', 'Tab']) await page.keyboard.press(key);
    assert.deepEqual(await page.evaluate(() => [document.title, history.state, document.activeElement.textContent]), ['Morvik Roulette', null, 'New game']);
    assert.deepEqual(page.errors, []);
    await Promise.all([page.waitForEvent('load'), page.keyboard.press('Enter')]);
  });
});

test('code lost, refused or cut short: the page says why, in English or in a Czech browser in Czech, and "Try again" starts the game on the same page', async () => {
  const en = ['en-US', 'Morvik Roulette could not start', 'Try again', '"Loading…"', 'Morvik Roulette table'];
  const cs = ['cs-CZ', 'Morvik Roulette se nepodařilo spustit', 'Zkusit znovu', '"Načítá se…"', 'Stůl Morvik Roulette'];
  for (const [file, fail, reason, [locale, failed, again, loading, table] = en] of [['morvik.js', (route) => route.abort(), /^The file morvik.js could not be fetched.$/],
    ['morvik.js', (route) => route.abort(), /^Soubor morvik.js se nepodařilo stáhnout.$/, cs],
    ['morvik.js', (route) => route.fulfill({ body: readFileSync(`${site}/morvik.js`).subarray(0, 30000), contentType: 'text/javascript' }), /^Uncaught SyntaxError: /],
    ['morvik.wasm', (route) => route.abort(), /^TypeError: Failed to fetch$/],
    ['morvik.wasm', (route) => route.fulfill({ status: 404 }), /^both async and sync fetching of the wasm failed$/]]) {
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
  const ask = (path, headers) => new Promise((done) => get(web.url, { path, headers }, (r) => done(r.resume())));
  await t.test('a malformed address is answered 400, one outside the site 404; files compressed, an unchanged one 304', async () => {
    for (const [path, status] of [['/%E0%A4%A', 400], ['/../outside.txt', 404], ['/%2e%2e/outside.txt', 404], ['/..%2foutside.txt', 404], ['/%2e%2e%2foutside.txt', 404]])
      assert.equal((await ask(path)).statusCode, status, path);
    const home = await ask('/', { 'Accept-Encoding': 'gzip, br' });
    assert.equal(home.headers['content-encoding'], 'br');
    assert.equal((await ask('/', { 'If-None-Match': home.headers.etag })).statusCode, 304);
  });
  await t.test('a taken port is named, and how to choose another', async () => {
    const port = new URL(web.url).port;
    const taken = spawnSync(process.execPath, [new URL('../../tools/serve.mjs', import.meta.url).pathname, folder, port], { encoding: 'utf8' });
    assert.deepEqual([taken.status, taken.stderr], [1, `Port ${port} is taken. Choose another: MORVIK_PORT=${Number(port) + 1} tools/web.sh serve\n`]);
  });
  await t.test('opened once, the game starts offline from either address and takes a newer build', async () => {
    const page = await (await web.browser.newContext()).newPage();
    await page.goto(web.url);
    await page.evaluate(() => navigator.serviceWorker.ready);
    const index = `${folder}/site/index.html`;
    writeFileSync(index, readFileSync(index, 'utf8').replace('</body>', '<p id="published-later"></p></body>'));
    for (const [offline, address, published] of [[true, web.url, 0], [true, `${web.url}index.html`, 0], [false, web.url, 1], [true, web.url, 1]]) {
      await page.context().setOffline(offline);
      await page.goto(address);
      assert.equal(await page.locator('#published-later').count(), published, address);
      await button(page, 'Play').click(); // maybe before the game has started, which then goes on to the table
      await page.waitForFunction(() => document.title === 'Morvik Roulette table');
      assert.ok(await page.evaluate(() => document.fonts.check('bold 27px Morvik')));
    }
  });
});
