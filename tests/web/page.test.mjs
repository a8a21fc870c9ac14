// The web page beyond the round that every front end plays (round.test.mjs):
// what a screen reader finds and hears, what a spin's tick touches, Backspace
// and the touch screen's way to take a bet back, the page on smaller and
// denser screens, and a start with no network.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { setTimeout as sleep } from 'node:timers/promises';
import { colours, control, screen, site, start } from './browser.mjs';
import { serve } from '../../web/serve.mjs';

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
  assert.equal(await page.title(), 'Morvik Roulette');
  assert.equal(await page.getByRole('region', { name: 'Morvik Roulette', exact: true }).count(), 1);
  await assertButtons(page, ['Play', 'Quit']);
  for (const name of ['Morvik Roulette', 'Morvik Game']) assert.equal(await page.getByRole('img', { name }).count(), 1);

  await play(page, ['Play', 'Chip 1', '17']);
  assert.equal(await page.title(), 'Morvik Roulette table');
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

test('Backspace takes back the selected entry; so does a finger held on an entry, where a tap only selects; a finger dragged off lays nothing', async () => {
  const page = await web.open({ hasTouch: true });
  await play(page, ['Play', 'Chip 5', '17', 'Red', 'Chip 1', 'Odd'], 'tap');
  await entries(page).nth(1).click();
  await page.keyboard.press('Backspace');
  await page.clock.runFor(5);
  assert.deepEqual(await entries(page).allTextContents(), ['17-5', 'Odd-1']);

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
  assert.deepEqual(await entries(page).allTextContents(), ['Odd-1']);
  assert.equal(await control(page, 'Form1', 'Label3(1)').textContent(), '2');
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

test('a player who opened the game once starts it again with no network', async () => {
  const { url, server } = await serve(site);
  const context = await web.browser.newContext();
  const page = await context.newPage();
  await page.goto(url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  server.closeAllConnections();
  await new Promise((done) => server.close(done));
  await context.setOffline(true);
  await page.reload();
  await button(page, 'Play').click();
  assert.equal(await page.title(), 'Morvik Roulette table');
  assert.ok(await page.evaluate(() => document.fonts.check('bold 27px Morvik')));
  await context.close();
});
