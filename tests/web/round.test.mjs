// Plays tests/e2e/round.steps (steps.mjs) in Chromium through the browser's own input. The Back button is the
// desktop's close request: on the title it leaves the page, ending the game. MORVIK_SCALE: device pixels to
// the pixel; screenshots in screenshots/ (screenshots-<scale>/) of the folder it runs in.
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
  hold: async (name) => { // pressed again while down, it is the browser's repeat
    for (let i = 0; i < 10; ++i) await page.keyboard.down(keys[name] ?? name);
    await page.keyboard.up(keys[name] ?? name);
  },
  close: () => page.goBack(),
  freeze: async () => page.clock.pauseAt(await page.evaluate(() => Date.now() + 1000)),
  moment: () => page.clock.runFor(1),
  thaw: () => page.clock.resume(),
  async ended() {
    if (page.errors.length) throw page.errors[0]; // a script error on the way is a failed round
    return page.isClosed() || page.url() !== web.url || (await page.locator('.screen:visible').count()) === 0;
  },
}, { steps: process.env.MORVIK_STEPS, shots: scale === 1 ? 'screenshots' : `screenshots-${scale}`, count: scale === 1 ? Infinity : 4 });
