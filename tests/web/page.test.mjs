// The web page beyond the round every front end plays (round.test.mjs): what
// a screen reader finds and hears, what a spin's tick touches, the touch
// screen's way to take a bet back, smaller and denser screens, a start with no
// network, the page's messages instead of the game, the development server.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { setTimeout as sleep } from 'node:timers/promises';
import { promisify } from 'node:util';
import { colours, control, screen, site, start } from './browser.mjs';
import { serve } from '../../tools/serve.mjs';

let web;
before(async () => {
  web = await start();
});
after(() => web.close());

const button = (page, name) => page.getByRole('button', { name, exact: true });
const entries = (page) => page.getByRole('option');

async function play(page, names, how = 'click') {
  for (const name of names) await button(page, name)[how]();
}

// Every visible button, found by its name and by nothing else.
async function assertButtons(page, names) {
  for (const name of names) assert.equal(await button(page, name).count(), 1, `button "${name}"`);
  assert.equal(await page.getByRole('button').count(), names.length);
}

const numbers = Array.from({ length: 37 }, (_, k) => String(k));

test('a screen reader finds every control by its role and name, and hears each drawn number once', async () => {
  const page = await web.open();
  assert.equal(await page.getByRole('region', { name: 'Morvik Roulette', exact: true }).count(), 1);
  await assertButtons(page, ['Play', 'Quit']);
  for (const name of ['Morvik Roulette', 'Morvik Game']) assert.equal(await page.getByRole('img', { name }).count(), 1);

  await play(page, ['Play', 'Chip 1', '17']);
  await assertButtons(page, [...numbers, 'Big 19-36', 'Small 1-18', 'Even', 'Odd', 'Black', 'Red',
    'Chip 1', 'Chip 5', 'Chip 10', 'Chip 20', 'Chip 50', 'Chip 100', 'Next', 'X']);
  const bets = page.getByRole('listbox', { name: 'Player 1 bets' });
  assert.deepEqual(await bets.getByRole('option').allTextContents(), ['17-1']);
  assert.equal(await page.getByRole('listbox', { name: 'Player 2 bets' }).count(), 0);
  assert.equal(await page.getByRole('group', { name: 'Drawn number' }).textContent(), '1');
  // Descriptions as Chromium gives them to screen readers.
  const { nodes } = await (await page.context().newCDPSession(page)).send('Accessibility.getFullAXTree');
  const described = Object.fromEntries(nodes.filter((n) => n.description?.value).map((n) => [n.name.value, n.description.value]));
  assert.deepEqual(described, { 'Chip 1': '1 chip', 'Chip 5': '2 chips', 'Chip 10': '2 chips', 'Chip 20': '2 chips',
    'Chip 50': '2 chips', 'Chip 100': '2 chips', X: 'Back to the title window' });

  // A spin: nothing but Cislo changes or is laid out while it runs, and the
  // number is read out once it has stopped.
  await play(page, ['Next', 'Next']);
  await page.evaluate(() => {
    const cislo = document.querySelector('[data-control="Cislo"]');
    const status = document.querySelector('[role=status]');
    window.elsewhere = [];
    window.heard = [];
    new MutationObserver((changes) => changes.forEach((c) => cislo.contains(c.target) || elsewhere.push(c.target.outerHTML)))
      .observe(document.body, { subtree: true, childList: true, attributes: true, characterData: true });
    new MutationObserver(() => heard.push(status.textContent)).observe(status, { subtree: true, childList: true, characterData: true });
  });
  // Timer1 ticks every millisecond: 45 of a spin's 50 ticks, the page drawn
  // between them, each layout Chromium makes meanwhile traced.
  await web.browser.startTracing(page, { categories: ['devtools.timeline'] });
  for (let ms = 0; ms < 45; ms += 9) {
    await page.clock.runFor(9);
    await sleep(40);
  }
  const layouts = JSON.parse(await web.browser.stopTracing()).traceEvents.filter((e) => e.name === 'Layout');
  const roots = layouts.flatMap((e) => e.args.endData.layoutRoots.map((r) => r.quads[0].slice(0, 2).join()));
  const cislo = await control(page, 'Form1', 'Cislo').boundingBox();
  assert.ok(roots.length > 0 && roots.every((r) => r === `${cislo.x},${cislo.y}`), `laid out from ${roots}`);
  assert.deepEqual(await page.evaluate(() => [elsewhere, heard]), [[], []]);
  await page.clock.runFor(20);
  const drawn = await control(page, 'Form1', 'Cislo').textContent();
  assert.deepEqual(await page.evaluate(() => heard), [`Drawn number ${drawn}`]);
  assert.deepEqual(page.errors, []);
});

test('a finger held on an entry takes it back, where a tap only selects; a finger dragged off lays nothing', async () => {
  const page = await web.open({ hasTouch: true });
  await play(page, ['Play', 'Chip 5', '17', 'Red', 'Chip 1', 'Odd'], 'tap');
  const touch = await page.context().newCDPSession(page);
  const finger = async (entry, ms) => {
    const box = await entry.boundingBox();
    const at = [{ x: box.x + box.width / 2, y: box.y + box.height / 2 }];
    await touch.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: at });
    await page.clock.runFor(ms);
    await touch.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
    await page.clock.runFor(5);
  };
  // A finger dragged off a cell and lifted over the cloth lays nothing.
  const cell = await button(page, '20').boundingBox();
  await touch.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [{ x: cell.x + 30, y: cell.y + 12 }] });
  await touch.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: [{ x: cell.x - 100, y: cell.y }] });
  await touch.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  await finger(entries(page).nth(1), 100);
  assert.equal(await entries(page).nth(1).getAttribute('aria-selected'), 'true');
  await finger(entries(page).nth(0), 700);
  assert.deepEqual(await entries(page).allTextContents(), ['Red-5', 'Odd-1']);
  assert.equal(await control(page, 'Form1', 'Label3(1)').textContent(), '1');
  assert.deepEqual(page.errors, []);
});

test('on a smaller window the whole screen scales down to fit; on a denser screen its lines stay sharp', async () => {
  const small = await web.open({ viewport: { width: 480, height: 400 } });
  for (const [window, width, height] of [['Form2', 809, 505], ['Form1', 859, 669]]) {
    if (window === 'Form1') await button(small, 'Play').click();
    const box = await screen(small, window).boundingBox();
    assert.ok(box.x >= 0 && box.y >= 0 && box.x + box.width < 480.5 && box.y + box.height < 400.5, `${window} fits`);
    assert.ok(Math.abs(box.width / box.height - width / height) < 0.01, `${window} keeps its shape`);
    assert.ok(box.width > 478 || box.height > 398, `${window} fills the window one way`);
  }

  // Line1 of the betting table runs down its column 136: at two device
  // pixels to the pixel, it is two columns of white between the green.
  const dense = await web.open({ deviceScaleFactor: 2 }, { clock: false });
  await button(dense, 'Play').click();
  const { x, y } = await screen(dense, 'Form1').boundingBox();
  const column = (dx) => [2 * (x + 136) + dx, 2 * (y + 300)];
  assert.deepEqual(await colours(web.browser, await dense.screenshot(), [-1, 0, 1, 2].map(column)),
    [[0, 128, 0], [255, 255, 255], [255, 255, 255], [0, 128, 0]]);
});

// The rules of the engine that Lighthouse runs, and its best practices.
async function accessibilityFaults(page) {
  await page.addScriptTag({ path: createRequire(import.meta.url).resolve('axe-core') });
  return page.evaluate(async () => {
    const { violations } = await axe.run({
      runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'best-practice'] },
      rules: { 'label-content-name-mismatch': { enabled: true }, 'target-size': { enabled: true } },
    });
    // The red numbers on the green cloth are the colours of every roulette
    // table; each number is also read out by its name.
    const red = (v, n) => v.id === 'color-contrast' && /Label1\(\d+\)/.test(n.target);
    return violations.flatMap((v) => v.nodes.filter((n) => !red(v, n)).map((n) => `${v.id}: ${n.target}`));
  });
}

test('the accessibility rule engine finds nothing on either screen, which lie in the main landmark under a heading; the Czech remark is marked Czech', async () => {
  const page = await web.open({}, { clock: false });
  assert.equal(await page.getByRole('main').getByRole('region', { name: 'Morvik Roulette', exact: true }).count(), 1);
  assert.equal(await page.getByRole('heading', { name: 'Morvik Roulette', level: 1 }).count(), 1);
  const remark = page.getByText('Tato ruleta se hraje jako běžná ruleta.');
  assert.equal(await remark.evaluate((e) => e.closest('[lang]').lang), 'cs');
  assert.deepEqual(await accessibilityFaults(page), []);
  await button(page, 'Play').click();
  assert.deepEqual(await accessibilityFaults(page), []);
});

test('"Quit" leaves a message of how to start again, and a game that cannot load says why, each in the page\'s own look', async () => {
  const page = await web.open();
  await button(page, 'Quit').click();
  const ended = page.getByRole('region', { name: 'The game has ended' });
  assert.ok(await ended.isVisible());
  assert.ok(await ended.evaluate((e) => e === document.activeElement), 'read out at once');
  assert.equal(await ended.getByRole('link', { name: 'New game' }).getAttribute('href'), './');
  assert.equal(await page.locator('.screen:visible').count(), 0);

  // The code, then the WebAssembly, not to be had.
  for (const [file, reason] of [['morvik.js', 'The file morvik.js could not be fetched.'],
    ['morvik.wasm', 'both async and sync fetching of the wasm failed']]) {
    const context = await web.browser.newContext();
    const failed = await context.newPage();
    await failed.route(`**/${file}`, (route) => route.fulfill({ status: 404 }));
    await failed.goto(web.url);
    const message = failed.getByRole('region', { name: 'Morvik Roulette could not start' });
    await message.waitFor();
    assert.equal(await message.locator('#reason').textContent(), reason);
    assert.equal(await failed.locator('.screen:visible').count(), 0, 'no title whose buttons do nothing');
    assert.equal(await message.getByRole('link', { name: 'Try again' }).getAttribute('href'), './');
    assert.deepEqual(await failed.evaluate(() => getComputedStyle(document.querySelector('#failed h2')).fontFamily),
      'Morvik, monospace');
    await context.close();
  }
});

test('a player who opened the game once fetched each file once, starts it again with no network from either address, and plays a newly published build at the next visit', async () => {
  const folder = mkdtempSync(join(tmpdir(), 'morvik-site-'));
  cpSync(site, folder, { recursive: true });
  const { url, server } = await serve(folder);
  const downloads = [];
  server.on('request', (request, response) =>
    response.on('finish', () => response.statusCode === 200 && downloads.push(request.url)));
  const context = await web.browser.newContext();
  try {
    const page = await context.newPage();
    await page.goto(url);
    await page.evaluate(() => navigator.serviceWorker.ready);
    await button(page, 'Play').click();
    await page.waitForFunction(() => [...document.images].every((i) => i.complete && i.naturalWidth));
    assert.deepEqual(downloads.filter((file, k) => downloads.indexOf(file) !== k), [], 'downloaded twice');
    assert.ok(downloads.includes('/pictures/chip-100.webp') && downloads.includes('/pictures/chip-100@2x.webp'));

    const index = join(folder, 'index.html');
    writeFileSync(index, readFileSync(index, 'utf8').replace('</body>', '<p id="published-later"></p></body>'));
    await page.reload();
    assert.equal(await page.locator('#published-later').count(), 1);

    server.closeAllConnections();
    await new Promise((done) => server.close(done));
    await context.setOffline(true);
    for (const address of [url, `${url}index.html`]) {
      await page.goto(address);
      assert.equal(await page.locator('#published-later').count(), 1, address);
      await button(page, 'Play').click();
      assert.equal(await page.title(), 'Morvik Roulette table', address);
      assert.ok(await page.evaluate(() => document.fonts.check('bold 27px Morvik')));
    }
  } finally {
    await context.close();
    server.closeAllConnections();
    server.close();
    rmSync(folder, { recursive: true });
  }
});

test('the development server answers a malformed address with 400 and serves on, compresses, answers an unchanged file with 304, and names a taken port and how to choose another', async () => {
  const { url, server } = await serve(site);
  try {
    assert.equal((await fetch(`${url}%E0%A4%A`)).status, 400);
    const page = await fetch(url, { headers: { 'Accept-Encoding': 'gzip, br' } });
    assert.equal(page.headers.get('content-encoding'), 'br');
    assert.match(await page.text(), /<title>Morvik Roulette<\/title>/);
    const unchanged = await fetch(`${url}morvik.wasm`, { headers: { 'If-None-Match': page.headers.get('etag') } });
    assert.equal(unchanged.status, 200, 'another file, another ETag');
    const again = await fetch(`${url}morvik.wasm`, { headers: { 'If-None-Match': unchanged.headers.get('etag') } });
    assert.equal(again.status, 304);

    const port = new URL(url).port;
    const taken = await promisify(execFile)(process.execPath, [new URL('../../tools/serve.mjs', import.meta.url).pathname, site, port])
      .catch((e) => e);
    assert.equal(taken.code, 1);
    assert.equal(taken.stderr, `Port ${port} is taken. Choose another: MORVIK_PORT=${Number(port) + 1} tools/web.sh serve\n`);
  } finally {
    server.close();
  }
});
