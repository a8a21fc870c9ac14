// Plays the steps of tests/e2e/round.steps, which every front end's driver
// plays, in Chromium: the mouse and the keys go through the browser's own
// input at the places the layout's table of controls gives (layout_json), the
// screens are checked on screenshots at the layout's pixels, and texts,
// entries and the selection are read off the page.
//
// A browser player has no window to close. The equivalent of the desktop's
// close request is the browser's Back button (a phone's back gesture): on the
// table it is the close request to the table; on the title it leaves the
// page, which ends the game as the close request to the title ends the
// program. "ended" holds once the page no longer shows the game.
//
// MORVIK_SCALE plays on a screen of that many device pixels to the pixel;
// MORVIK_STEP_COUNT plays only the first steps. Each step's screenshot is
// kept in screenshots/ (screenshots-<scale>/) of the folder it runs in.
import { after, before, test } from 'node:test';
import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { setTimeout as sleep } from 'node:timers/promises';
import { start } from './browser.mjs';

const scale = Number(process.env.MORVIK_SCALE ?? 1);
const count = Number(process.env.MORVIK_STEP_COUNT ?? Infinity);
const viewport = { width: 1280, height: 1024 };
const patienceMs = 30_000;
const shots = scale === 1 ? 'screenshots' : `screenshots-${scale}`;
const titles = { Form2: 'Morvik Roulette', Form1: 'Morvik Roulette table' };

const steps = [];
for (const raw of readFileSync(process.env.MORVIK_STEPS, 'utf8').split('\n')) {
  const line = raw.trim();
  if (line.startsWith('- ')) steps.push({ what: line.slice(2), lines: [] });
  else if (line && !line.startsWith('#') && steps.length) steps.at(-1).lines.push(line);
}
const layout = JSON.parse(execFileSync(process.execPath, [process.env.MORVIK_LAYOUT], { encoding: 'utf8' }));
const named = (name) => layout.find((c) => `${c.window}.${c.name}` === name) ?? fail(`no control ${name}`);

function fail(why) {
  throw new Error(why);
}

let web;
let page;
let frozen = false;
let shot; // the last screenshot
before(async () => {
  web = await start();
  mkdirSync(shots, { recursive: true });
});
after(() => web.close());

const screenOf = (window) => page.locator(`[data-control="${window}"]`);
const shownList = () => page.locator('[data-list]:visible');
const visible = (window, name) => (name === 'List1' ? shownList() : screenOf(window).locator(`[data-control="${name}"]`)).isVisible();

// A screen stands in the middle of the page at its layout size.
async function origin(window) {
  const box = await screenOf(window).boundingBox();
  const { width, height } = layout.find((c) => c.name === window).box;
  const middle = [Math.floor((viewport.width - width) / 2), Math.floor((viewport.height - height) / 2)];
  if (Math.abs(box.x - middle[0]) > 1 || Math.abs(box.y - middle[1]) > 1 || box.width !== width || box.height !== height)
    fail(`${window} is ${box.width}x${box.height} at ${box.x},${box.y}`);
  return box;
}

// The point a name stands for: the middle of a control as laid out, of an
// entry of the shown list, of the list's empty part or of the bare cloth.
async function pointOf(name) {
  if (/^Form1\.List1\.\d+$/.test(name)) {
    const entry = await shownList().getByRole('option').nth(Number(name.split('.')[2])).boundingBox();
    if (!entry) fail(`no entry to click: ${name}`);
    return { x: entry.x + entry.width / 2, y: entry.y + entry.height / 2 };
  }
  const window = name.split('.')[0];
  const at = await origin(window);
  if (name === 'Form1.cloth') return { x: at.x + 20, y: at.y + 20 };
  if (name === 'Form1.List1.below') {
    const list = named('Form1.List1(0)').box;
    return { x: at.x + list.x + list.width / 2, y: at.y + list.y + list.height - 4 - 8 };
  }
  const { box } = named(name);
  return { x: at.x + box.x + Math.floor(box.width / 2), y: at.y + box.y + Math.floor(box.height / 2) };
}

async function screenshot() {
  shot = await page.screenshot();
  return shot;
}

// Waits until `holds` does. While the game is frozen, its clock runs a
// millisecond at a time between looks.
async function waitFor(what, holds) {
  const deadline = Date.now() + patienceMs;
  let seen;
  while (Date.now() < deadline) {
    seen = await holds();
    if (seen === true) return;
    if (frozen) await page.clock.runFor(1);
    else await sleep(30);
  }
  fail(typeof seen === 'string' ? `${what} (saw ${seen})` : what);
}

async function launch() {
  const context = await web.browser.newContext({ viewport, deviceScaleFactor: scale });
  page = await context.newPage();
  page.on('pageerror', (e) => console.log(`# script error: ${e.message}`));
  await page.clock.install();
  await page.goto(web.url);
  frozen = false;
}

// Whether the shown screen is drawn as its window is laid out: the frame,
// lines and discs at the layout's pixels, and each caption whole in its box,
// as wide as its widest line, give or take the room beside its first and last
// letter. Read by the browser off the screenshot.
async function laidOut(window) {
  const at = await origin(window);
  // Every control that shows, at its layout box.
  const boxes = await screenOf(window).locator('[data-control]').evaluateAll((controls) => controls
    .filter((e) => e.checkVisibility())
    .map((e) => { const r = e.getBoundingClientRect(); return [e.dataset.control, r.x, r.y, r.width, r.height]; }));
  for (const [name, x, y, width, height] of boxes) {
    const { box } = named(`${window}.${name}`);
    if (x !== at.x + box.x || y !== at.y + box.y || width !== box.width || height !== box.height)
      return `${name} is ${width}x${height} at ${x - at.x},${y - at.y}`;
  }
  const reader = await web.browser.newPage();
  try {
    return await reader.evaluate(async ({ data, controls, at, scale }) => {
      const image = new Image();
      image.src = `data:image/png;base64,${data}`;
      await image.decode();
      const canvas = new OffscreenCanvas(image.width, image.height);
      const context = canvas.getContext('2d', { willReadFrequently: true });
      context.drawImage(image, 0, 0);
      const pixels = context.getImageData(0, 0, image.width, image.height).data;
      const px = (x, y) => [Math.round((at.x + x) * scale), Math.round((at.y + y) * scale)];
      const pixel = ([x, y]) => [...pixels.slice(4 * (y * image.width + x), 4 * (y * image.width + x) + 3)];
      const same = (a, b) => a.every((v, i) => v === b[i]);
      const near = ([x, y], colour) => [-1, 0, 1].some((dy) => [-1, 0, 1].some((dx) => same(pixel([x + dx, y + dy]), colour)));
      const advance = (size) => Math.floor((size * 1229 + 1024) / 2048);
      for (const c of controls) {
        for (const f of c.figures) {
          if (f.frame) {
            const w = f.penWidth;
            if (!same(pixel(px(w / 2, 200)), f.colour) || !same(pixel(px(w + 2, 200)), c.fill)
              || !same(pixel(px(f.frame.width - w / 2, 300)), f.colour)) return "the title's frame";
          } else if (f.disc) {
            if (!same(pixel(px(f.disc.x + f.disc.width / 2, f.disc.y + f.disc.height / 2)), f.colour)) return "a disc's colour";
          } else if (!near(px((f.from.x + f.to.x) / 2 + 0.5, (f.from.y + f.to.y) / 2 + 0.5), f.colour)) {
            return `the line from ${f.from.x},${f.from.y}`;
          }
        }
        if (!c.caption) continue;
        const [left, top] = px(c.box.x, c.box.y);
        const [right, bottom] = px(c.box.x + c.box.width, c.box.y + c.box.height);
        let inkLeft = Infinity;
        let inkRight = -Infinity;
        for (let y = top; y < bottom; ++y) {
          for (let x = left; x < right; ++x) {
            if (!same(pixel([x, y]), c.under)) {
              inkLeft = Math.min(inkLeft, x);
              inkRight = Math.max(inkRight, x);
            }
          }
        }
        // The page scales each letter's whole-pixel advance with the rest,
        // where the desktop hints the font at the scaled size.
        const step = advance(c.fontPixels) * scale;
        const letters = Math.max(...c.lines.map((l) => [...l.trimStart()].length));
        const inked = inkRight - inkLeft + 1;
        if (!(inked >= (letters - 1) * step && inked <= letters * step + step / 4))
          return `the caption ${c.lines.join(' ')} is ${inked > 0 ? inked : 0} pixels wide`;
        // Where the caption starts: in the middle of its box, or at its left edge.
        const off = c.centred ? (inkLeft + inkRight + 1) / 2 - (left + right) / 2 : inkLeft - left;
        if (Math.abs(off) > step / 2 + 1) return `the caption ${c.lines.join(' ')} lies ${off} pixels off`;
      }
      return true;
    }, { data: shot.toString('base64'), controls: layout.filter((c) => c.window === window), at, scale });
  } finally {
    await reader.close();
  }
}

const colourOf = async (locator) => (await locator.evaluate((e) => getComputedStyle(e).color)).match(/\d+/g).map(Number);
const ended = async () => page.isClosed() || page.url() !== web.url || (await page.locator('[data-control]').count()) === 0;

async function play(line) {
  const [verb, ...words] = line.split(/\s+/);
  switch (verb) {
    case 'click':
      for (const name of words) {
        const { x, y } = await pointOf(name);
        await page.mouse.click(x, y);
      }
      return;
    case 'drag': {
      const from = await pointOf(words[0]);
      const to = await pointOf(words[1]);
      await page.mouse.move(from.x, from.y);
      await page.mouse.down();
      await page.mouse.move(to.x, to.y, { steps: 4 });
      await page.mouse.up();
      return;
    }
    case 'key':
      return page.keyboard.press(words[0]);
    case 'close': // the browser's Back (see the top of this file)
      return page.goBack();
    case 'freeze':
      frozen = true;
      return page.clock.pauseAt(await page.evaluate(() => Date.now() + 1000));
    case 'thaw':
      frozen = false;
      return page.clock.resume();
    case 'start':
      return launch();
    case 'ended':
      return waitFor(line, ended);
    case 'shows':
      return waitFor(line, async () => {
        const other = words[0] === 'Form2' ? 'Form1' : 'Form2';
        return (await screenOf(words[0]).isVisible()) && !(await screenOf(other).isVisible())
          && (await page.title()) === titles[words[0]] && (await origin(words[0]), true);
      });
    case 'drawn-as-laid-out': {
      const window = (await screenOf('Form1').isVisible()) ? 'Form1' : 'Form2';
      return waitFor(line, async () => (await screenshot(), laidOut(window)));
    }
    case 'text': {
      const [window, name] = words[0].split('.');
      const control = screenOf(window).locator(`[data-control="${name}"]`);
      const text = words.slice(1).join(' ');
      return waitFor(line, async () => {
        const seen = (await control.isVisible()) ? await control.textContent() : '(hidden)';
        // The drawn number in the colour of its cell on the table.
        if (seen === text && name === 'Cislo')
          return `${named(`Form1.Label1(${text})`).colour}` === `${await colourOf(control)}` || 'another colour';
        return seen === text || seen;
      });
    }
    case 'entries':
      return waitFor(line, async () => {
        const seen = (await shownList().getByRole('option').allTextContents()).join(' ');
        return seen === words.join(' ') || seen;
      });
    case 'selected':
      return waitFor(line, async () => {
        const selected = await shownList().getByRole('option')
          .evaluateAll((entries) => entries.findIndex((e) => e.getAttribute('aria-selected') === 'true'));
        return selected === (words[0] === 'none' ? -1 : Number(words[0])) || `${selected}`;
      });
    case 'hidden':
    case 'shown':
      return waitFor(line, async () => {
        for (const name of words) if ((await visible(...name.split('.'))) !== (verb === 'shown')) return false;
        return true;
      });
    case 'spinning':
      return waitFor(line, async () => {
        const cislo = screenOf('Form1').locator('[data-control="Cislo"]');
        const number = await cislo.textContent();
        return !(await visible('Form1', 'Picture2')) && !(await visible('Form1', 'List1')) && /^\d+$/.test(number)
          && `${named(`Form1.Label1(${number})`).colour}` === `${await colourOf(cislo)}`;
      });
    default:
      fail(`no action or check ${verb}`);
  }
}

let broken = false;
steps.slice(0, count).forEach((step, n) => {
  test(step.what, async (t) => {
    if (broken) return t.skip('an earlier step failed');
    if (!page) await launch();
    let line;
    try {
      for (line of step.lines) await play(line);
    } catch (e) {
      broken = true;
      e.message = `${line}: ${e.message}`;
      throw e;
    } finally {
      if (shot || !page.isClosed()) {
        const file = `${shots}/${String(n + 1).padStart(2, '0')}-${broken ? 'failed' : 'ok'}.png`;
        if (!page.isClosed() && page.url() === web.url) await screenshot();
        if (shot) writeFileSync(file, shot);
      }
    }
  });
});
