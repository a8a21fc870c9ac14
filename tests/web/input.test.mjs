// What only the web page does with a player's input: the keyboard and a
// screen reader as the browser hands them over, Timer1 as the page asks for
// it, zoom and a pinch, Back after a reload, a "Play" before the game loaded.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { control, screen, start } from './browser.mjs';

let web;
before(async () => {
  web = await start();
});
after(() => web.close());

const button = (page, name) => page.getByRole('button', { name, exact: true });
const focused = (page) => page.evaluate(() => document.activeElement.dataset.control);
// A screen reader's press: a click with no pointer (detail 0).
const pressed = (locator) => locator.evaluate((e) => e.click());

test('the keyboard plays and the page follows its focus; Timer1 is asked for every millisecond; a screen reader chooses, lays, selects; losing the keyboard lets Delete go; a double click hands over once', async () => {
  const page = await web.open();
  await page.evaluate(() => {
    window.asked = [];
    const set = window.setInterval;
    window.setInterval = (f, ms, ...rest) => (asked.push(ms), set(f, ms, ...rest));
  });
  assert.equal(await focused(page), 'Label1(0)');
  await page.keyboard.press('Tab');
  assert.equal(await focused(page), 'Label1(1)');
  await page.keyboard.press('Shift+Tab');
  await page.keyboard.press('Enter');
  assert.deepEqual(await page.evaluate(() => asked), [1]);
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowRight');
  assert.equal(await focused(page), 'Label1(3)');
  await page.keyboard.press('Shift+Tab');
  assert.equal(await focused(page), 'Label1(2)');

  await pressed(button(page, 'Chip 5'));
  assert.equal(await button(page, 'Chip 5').getAttribute('aria-pressed'), 'true');
  for (const name of ['17', 'Red', 'Chip 1', 'Odd']) await pressed(button(page, name));
  const bets = page.getByRole('listbox', { name: 'Player 1 bets' });
  await pressed(bets.getByRole('option').nth(1));
  assert.deepEqual(await bets.getByRole('option', { selected: true }).allTextContents(), ['Red-5']);

  // Delete held while the page loses the keyboard is never seen going up.
  await page.keyboard.down('Delete');
  await page.evaluate(() => dispatchEvent(new Event('blur')));
  await pressed(bets.getByRole('option').nth(0));
  await page.clock.runFor(5);
  assert.deepEqual(await bets.getByRole('option').allTextContents(), ['17-5', 'Red-5', 'Odd-1']);
  await page.keyboard.up('Delete');

  // A double click on Next hands the table over once: it does not spin.
  await button(page, 'Next').dblclick();
  assert.equal(await control(page, 'Form1', 'Label4').textContent(), 'Player 2');
  assert.ok(await control(page, 'Form1', 'Picture2').isVisible());
  assert.deepEqual(page.errors, []);
});

test("zoomed in, the table stays as large as the browser makes it, drawn at the zoom's density, and the page pans", async () => {
  // The screen as Chromium draws it, in device pixels.
  const drawn = async (page, metrics) => {
    const cdp = await page.context().newCDPSession(page);
    await cdp.send('Emulation.setDeviceMetricsOverride', { ...metrics, mobile: false });
    const { x, y } = await screen(page, 'Form1').boundingBox();
    const clip = { x: x + (await page.evaluate(() => scrollX)), y: y + (await page.evaluate(() => scrollY)), width: 859, height: 669, scale: 1 };
    return (await cdp.send('Page.captureScreenshot', { clip, captureBeyondViewport: true })).data;
  };
  const dense = await web.open({ viewport: { width: 859, height: 669 }, deviceScaleFactor: 2 });
  await button(dense, 'Play').click();
  const expected = await drawn(dense, { width: 859, height: 669, deviceScaleFactor: 2 });
  // Ctrl + to 200 % in a window of 1280 by 1024.
  const page = await web.open();
  await button(page, 'Play').click();
  const seen = await drawn(page, { width: 640, height: 512, deviceScaleFactor: 2 });
  assert.ok(seen === expected, 'drawn as on a screen of 2 pixels to the pixel');
  await page.mouse.move(100, 100);
  await page.mouse.wheel(200, 100);
  await page.waitForFunction(() => scrollX === 200 && scrollY === 100);
});

test('on a phone the table fits the screen as the page loads, and a pinch enlarges it', async () => {
  const page = await web.open({ viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true, deviceScaleFactor: 3 }, { clock: false });
  await button(page, 'Play').tap();
  const box = await screen(page, 'Form1').boundingBox();
  assert.ok(box.x >= 0 && box.x + box.width <= 390.5 && box.width > 388, `the table is ${box.width} wide at ${box.x}`);
  // Chromium here synthesizes no pinch of two fingers: the one of a touch pad,
  // and nothing on the page that stops fingers from zooming.
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Input.synthesizePinchGesture', { x: 200, y: 300, scaleFactor: 2, gestureSourceType: 'mouse' });
  assert.ok(await page.evaluate(() => visualViewport.scale) > 1.5);
  assert.deepEqual(await page.evaluate(() => [...document.querySelectorAll('*')].filter((e) => !/auto|pinch-zoom/.test(getComputedStyle(e).touchAction)).length), 0);
});

test('a finger slid off a cell onto the next, too little for a pan, lays nothing; a tap lays', async () => {
  const page = await web.open({ hasTouch: true });
  await button(page, 'Play').tap();
  await button(page, 'Chip 1').tap();
  const cell = await button(page, '17').boundingBox();
  const touch = await page.context().newCDPSession(page);
  const at = (x) => ({ touchPoints: [{ x: cell.x + cell.width + x, y: cell.y + cell.height / 2 }] });
  await touch.send('Input.dispatchTouchEvent', { type: 'touchStart', ...at(-3) });
  await touch.send('Input.dispatchTouchEvent', { type: 'touchMove', ...at(3) });
  await touch.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  await button(page, '20').tap();
  assert.deepEqual(await page.getByRole('option').allTextContents(), ['20-1']);
});

test('Back after a reload on the table, and a Play pressed before the game has loaded', async () => {
  const page = await web.open({}, { clock: false });
  await button(page, 'Play').click();
  await page.reload();
  await page.goBack();
  await control(page, 'Form2', 'Label1(0)').waitFor();
  assert.deepEqual(page.errors, []);

  // The game's code held back until Play has been pressed.
  const early = await (await web.browser.newContext({ serviceWorkers: 'block' })).newPage();
  let load;
  const held = new Promise((done) => { load = done; });
  await early.route('**/morvik.wasm', async (route) => (await held, route.continue()));
  await early.goto(web.url);
  await button(early, 'Play').click();
  assert.equal(await early.evaluate(() => getComputedStyle(document.body, '::after').content), '"Loading…"');
  load();
  await early.waitForFunction(() => document.title === 'Morvik Roulette table');
});
