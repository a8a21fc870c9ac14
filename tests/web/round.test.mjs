// Plays tests/e2e/round.steps (checked by steps.mjs) in Chromium, the mouse and
// the keys through the browser's own input, the screens photographed as the
// player sees them.
//
// A browser player has no window to close: the Back button (a phone's back
// gesture) is the desktop's close request, to the table on the table; on the
// title it leaves the page, ending the game as closing the title ends the
// program. "ended" holds once the page no longer shows the game.
//
// MORVIK_SCALE: device pixels to the pixel. Each step's screenshot stays in
// screenshots/ (screenshots-<scale>/) of the folder it runs in.
import { after } from 'node:test';
import { play } from '../e2e/steps.mjs';
import { screen, start } from './browser.mjs';

const scale = Number(process.env.MORVIK_SCALE ?? 1);
const titles = { Form2: 'Morvik Roulette', Form1: 'Morvik Roulette table' };
const keys = { Left: 'ArrowLeft', Right: 'ArrowRight', Up: 'ArrowUp', Down: 'ArrowDown' };

let web, page;
after(() => web?.close());

// The page works in CSS pixels, the steps in the screenshot's device pixels.
const css = (p) => [p.x / scale, p.y / scale];

play({
  screen: { width: 1280 * scale, height: 1024 * scale }, // open's viewport
  async launch() {
    web ??= await start();
    page = await web.open({ deviceScaleFactor: scale });
    await page.clock.resume();
  },
  showing: async (name) => (await screen(page, name).isVisible()) && (await page.title()) === titles[name],
  async window(name) {
    const { x, y, width, height } = await screen(page, name).boundingBox();
    return { x: x * scale, y: y * scale, w: width * scale, h: height * scale };
  },
  screenshot: () => page.screenshot(),
  click: (p) => page.mouse.click(...css(p)),
  dblclick: (p) => page.mouse.dblclick(...css(p)),
  async drag(from, to) {
    await page.mouse.move(...css(from));
    await page.mouse.down();
    await page.mouse.move(...css(to), { steps: 4 });
    await page.mouse.up();
  },
  key: (name) => page.keyboard.press(keys[name] ?? name),
  close: () => page.goBack(),
  freeze: async () => page.clock.pauseAt(await page.evaluate(() => Date.now() + 1000)),
  moment: () => page.clock.runFor(1),
  thaw: () => page.clock.resume(),
  async ended() {
    if (page.errors.length) throw page.errors[0]; // a script error on the way is a failed round
    return page.isClosed() || page.url() !== web.url || (await page.locator('.screen:visible').count()) === 0;
  },
}, {
  steps: process.env.MORVIK_STEPS,
  shots: scale === 1 ? 'screenshots' : `screenshots-${scale}`,
  count: scale === 1 ? Infinity : 4,
});
