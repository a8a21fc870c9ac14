// Plays round.steps through a driver (desktop.mjs, tests/web/round.test.mjs), checked alike on screenshots
// against the layout's table (layout_json, MORVIK_LAYOUT), texts by OCR. A driver gives, in device pixels of its screenshots:
//   screen                      { width, height } that its windows are centred in
//   launch(), ended()           starts the game (again); whether it ended, and well
//   showing(name), window(name) whether Form2 or Form1 shows; its box { x, y, w, h }
//   screenshot() (a PNG), click(p), dblclick(p), drag(from, to), key(name), hold(name), close(window)
//   freeze(), moment(), thaw()  the game's clock held, let run a moment, let go
import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { before, test } from 'node:test';
import { setTimeout as sleep } from 'node:timers/promises';

const { PNG } = createRequire(new URL('../web/package.json', import.meta.url))('pngjs');

const PatienceMs = 60_000; // for a sanitizer build, or Wine, to start on a loaded machine
const SettleMs = 3_000; // a spin of 50 ticks, but not on a timer a hundred times slower
const DoubleClickMs = 800; // longer than Qt's 400 ms and Windows' 500 ms

// The one pixel reader: colours as 0xrrggbb.

export function decode(png) {
  const { width, data } = PNG.sync.read(png);
  return { at: (x, y) => { const i = 4 * (Math.round(y) * width + Math.round(x)); return (data[i] << 16) | (data[i + 1] << 8) | data[i + 2]; } };
}
const rgb = ([r, g, b]) => (r << 16) | (g << 8) | b;
const channels = (c) => [c >> 16, (c >> 8) & 255, c & 255];
const distance = (a, b) => channels(a).reduce((sum, v, i) => sum + Math.abs(v - channels(b)[i]), 0);
const light = (c) => { const [r, g, b] = channels(c); return r * 299 + g * 587 + b * 114 > 128_000; };
const fail = (why) => { throw new Error(why); };

// The smallest box around every pixel of `area` that `inked` holds for.
function ink(s, area, inked) {
  let left = Infinity, top = Infinity, right = -1, bottom = -1;
  for (let y = area.y; y < area.y + area.h; ++y)
    for (let x = area.x; x < area.x + area.w; ++x)
      if (inked(s.at(x, y))) [left, right, top, bottom] = [Math.min(left, x), Math.max(right, x), Math.min(top, y), y];
  return right < 0 ? null : { x: left, y: top, w: right - left + 1, h: bottom - top + 1 };
}

// The text in `area` on `ground`, read by tesseract off a greyscale PNM with a white margin, smoothed edges
// kept (in black and white a dotted 0 reads 6), each pixel `zoom` wide (small, X reads "xX"; large, "Plaver").
function read(s, area, ground, zoom, lines = 1) {
  const w = zoom * area.w + 40, h = zoom * area.h + 40, page = Buffer.alloc(w * h, 255), ink = [];
  for (let y = 0; y < area.h; ++y) for (let x = 0; x < area.w; ++x) ink.push(distance(s.at(area.x + x, area.y + y), ground));
  const most = Math.max(1, ...ink);
  ink.forEach((d, i) => {
    for (let k = 0; k < zoom * zoom; ++k)
      page[(zoom * Math.floor(i / area.w) + Math.floor(k / zoom) + 20) * w + zoom * (i % area.w) + (k % zoom) + 20] = 255 - Math.round((255 * d) / most);
  });
  return execFileSync('tesseract', ['stdin', 'stdout', '--psm', lines > 1 ? '6' : '7'],
    { input: Buffer.concat([Buffer.from(`P5 ${w} ${h} 255\n`), page]), stdio: ['pipe', 'pipe', 'ignore'] })
    .toString().replace(/\s+/g, ' ').trim();
}
// Whether OCR read `text`, spaces and case aside; the title's Czech words, which it misreads, match anything.
function reads(seen, text) {
  const words = text.split(' ').map((w) => (/[^ -~]/.test(w) ? '.+' : w.replace(/[.*+?^${}()|[\]\\]/g, '\\$&')));
  return new RegExp(`^${words.join('')}$`, 'i').test(seen.replaceAll(' ', ''));
}

// A number's ink as a mask (over half of `text`'s colour); `solid`: the share in the very colour.
function numberInk(s, area, text, ground) {
  const inked = (c) => 2 * distance(c, ground) > distance(text, ground);
  const box = ink(s, area, inked);
  if (!box) return null;
  const bit = (x, y) => x >= 0 && y >= 0 && x < box.w && y < box.h && inked(s.at(box.x + x, box.y + y));
  let solid = 0, all = 0;
  for (let y = 0; y < box.h; ++y)
    for (let x = 0; x < box.w; ++x) if (bit(x, y)) [all, solid] = [all + 1, solid + (s.at(box.x + x, box.y + y) === text)];
  return { ...box, bit, solid: solid / all };
}

// Whether all but a few inked pixels of `a` lie within a pixel of one of `b`, the two centred on each other.
function near(a, b) {
  const sx = Math.trunc((b.w - a.w) / 2), sy = Math.trunc((b.h - a.h) / 2);
  let inked = 0, astray = 0;
  for (let y = 0; y < a.h; ++y)
    for (let x = 0; x < a.w; ++x)
      if (a.bit(x, y)) [inked, astray] = [inked + 1, astray + ![-1, 0, 1].some((dy) => [-1, 0, 1].some((dx) => b.bit(x + dx + sx, y + dy + sy)))];
  return astray * 12 <= inked;
}

// Registers one test per step of the steps file, played in turn by `driver`.
export function play(driver, { steps, shots, count = Infinity }) {
  const program = process.env.MORVIK_LAYOUT; // a .js one runs under Node.js
  const layout = JSON.parse(execFileSync(...(program.endsWith('.js') ? [process.execPath, [program]] : [program]), { encoding: 'utf8' }));
  // Form1.List1 is whichever bet list shows: the two lie on one spot.
  const named = (name) => layout.find((c) => c.name === name || c.name === `${name}(0)`) ?? fail(`no control ${name}`);
  const cell = (number) => named(`Form1.Label1(${number})`);
  const windowOf = (name) => name.split('.')[0];
  const boxes = {}; // where each window was found
  let scale = 1, frozen = false, broken = false;
  let shot, last = {}, actedAt = 0; // the last screenshot, click (for the double-click time) and action

  const px = (v) => Math.round(v * scale);
  const zoom = () => (scale < 1.75 ? 2 : 1); // texts read at about twice the layout's size
  const onScreen = (c) => {
    const o = boxes[windowOf(c.name)] ?? fail(`${windowOf(c.name)} not yet found`);
    const [x, y, w, h] = c.box;
    return { x: o.x + px(x), y: o.y + px(y), w: px(x + w) - px(x), h: px(y + h) - px(y) };
  };
  const inset = (r, d) => ({ x: r.x + d, y: r.y + d, w: r.w - 2 * d, h: r.h - 2 * d });
  const centre = (r) => ({ x: r.x + Math.floor(r.w / 2), y: r.y + Math.floor(r.h / 2) });
  const listArea = () => inset(onScreen(named('Form1.List1')), px(4));
  const look = async () => decode(shot = await driver.screenshot());

  // Waits until `holds` is true of a screenshot, as long as `patience`.
  async function waitFor(what, holds, { patience = PatienceMs, since = Date.now(), screenshot = true } = {}) {
    let seen;
    while (Date.now() < since + patience) {
      if ((seen = await holds(screenshot && (await look()))) === true) return;
      await (frozen ? driver.moment() : sleep(30));
    }
    fail(typeof seen === 'string' ? `${what} (saw ${seen})` : what);
  }

  // The shown list's entries, top to bottom: bands of light text, the selected one on a ground of its own.
  function listRows(s) {
    const area = listArea(), rows = [];
    for (let y = area.y, top = -1; y <= area.y + area.h; ++y) {
      const inked = y < area.y + area.h && [...Array(area.w - 1).keys()].some((x) => light(s.at(area.x + x, y)));
      if (!inked && top >= 0)
        rows.push({ x: area.x, y: top, w: area.w, h: y - top, selected: s.at(area.x + area.w - 1, (top + y) >> 1) !== 0 });
      top = !inked ? -1 : top < 0 ? y : top;
    }
    return rows;
  }
  const entries = (s) => listRows(s).map((r) => read(s, { ...r, y: r.y - px(3), h: r.h + 2 * px(3) }, 0, zoom())).join(' ');

  // Whether a caption shows `number` in `colour`: the shape of that number's cell (OCR takes a dotted 0 for 8),
  // give or take a fractional scale's shift and the pixel of boldness Wine's gamma adds to light on dark.
  function showsNumber(s, c, number, colour) {
    const shown = numberInk(s, inset(onScreen(c), px(2)), colour, rgb(c.under)); // within Cislo's sunken edge
    const wanted = numberInk(s, onScreen(cell(number)), rgb(cell(number).colour), rgb(cell(number).under));
    return !!shown && !!wanted && shown.solid > 0.25 && Math.abs(shown.w - wanted.w) <= 2
      && Math.abs(shown.h - wanted.h) <= 2 && near(shown, wanted) && near(wanted, shown);
  }
  const drawnNumber = (s) => [...Array(37).keys()].some((n) => showsNumber(s, named('Form1.Cislo'), n, rgb(cell(n).colour)));
  // The tray by its player's name; the list by its sunken edge, on the black window.
  const trayAndList = (s) => [!!ink(s, onScreen(named('Form1.Label4')), (c) => c !== 0),
    s.at(onScreen(named('Form1.List1')).x, onScreen(named('Form1.List1')).y + px(100)) !== 0];

  const titleUp = (s, t = boxes.Form2, frame = rgb(named('Form2.Form2').figures[0].colour)) =>
    !!t && s.at(t.x, t.y) === frame && s.at(t.x + t.w - 1, t.y + t.h - 1) === frame;
  const tableUp = (s, t = boxes.Form1) =>
    !!t && !titleUp(s) && s.at(t.x + px(20), t.y + px(20)) === rgb(named('Form1.Picture1').under);

  // A mark of `colour` all round the control's edge, `depth` device pixels in.
  function marked(s, name, depth, colour) {
    const r = onScreen(named(name)), m = centre(r);
    return [[m.x, r.y + depth], [m.x, r.y + r.h - 1 - depth], [r.x + depth, m.y], [r.x + r.w - 1 - depth, m.y]]
      .every(([x, y]) => s.at(x, y) === colour);
  }

  // The window's figures where the layout puts them, and every caption whole in its box: read so, as wide as
  // its widest line in Liberation Mono (0.6 of the size a letter), centred or at the box's left edge.
  function laidOut(s, window) {
    const o = boxes[window];
    const at = (x, y, dx = 0, dy = 0) => s.at(o.x + px(x) + dx, o.y + px(y) + dy);
    const around = (x, y, colour) => [-1, 0, 1].some((dy) => [-1, 0, 1].some((dx) => at(x, y, dx, dy) === colour));
    for (const c of layout.filter((c) => windowOf(c.name) === window)) {
      for (const { line, disc, frame, pen, colour } of c.figures) {
        if (frame && (at(frame[0] + pen / 2, frame[1] + 200) !== rgb(colour) || at(frame[0] + pen + 2, frame[1] + 200) !== rgb(c.under)
          || at(frame[0] + frame[2] - pen / 2, frame[1] + 300) !== rgb(colour))) return `the frame of ${c.name}`;
        if (disc && at(disc[0] + disc[2] / 2, disc[1] + disc[3] / 2) !== rgb(colour)) return `a disc's colour in ${c.name}`;
        if (line && !around((line[0] + line[2]) / 2 + 0.5, (line[1] + line[3]) / 2 + 0.5, rgb(colour)))
          return `the line from ${line[0]},${line[1]}`;
      }
      if (c.kind !== 2 || !c.lines.length) continue; // a caption's
      const box = onScreen(c), text = c.lines.join(' ').trim();
      const inked = ink(s, box, (colour) => colour !== rgb(c.under)) ?? { x: 0, w: 0 };
      const letter = 0.6 * c.font * scale, letters = Math.max(...c.lines.map((l) => [...l.trimStart()].length));
      if (inked.w < 0.9 * (letters - 1) * letter || inked.w > letters * letter + letter / 4)
        return `the caption ${text} is ${inked.w} pixels wide`;
      const off = c.centred ? inked.x + inked.w / 2 - (box.x + box.w / 2) : inked.x - box.x;
      if (Math.abs(off) > letter / 2 + 1) return `the caption ${text} lies ${off} pixels off`;
      const seen = /^\d+$/.test(text) || read(s, box, rgb(c.under), zoom(), c.lines.length);
      if (seen !== true && !reads(seen, text)) return `the caption ${text} reads ${seen}`;
    }
    return true;
  }

  // The point a name stands for, as round.steps names them.
  async function pointOf(name) {
    const entry = name.match(/^Form1\.List1\.(-?\d+)$/); // -1: the last in sight
    if (entry) return centre(listRows(await look()).at(entry[1]) ?? fail(`no entry ${entry[1]} to click`));
    if (name === 'Form1.cloth') return { x: boxes.Form1.x + px(20), y: boxes.Form1.y + px(20) };
    if (name === 'Form1.List1.below') return { x: centre(listArea()).x, y: listArea().y + listArea().h - 1 - px(8) };
    return centre(onScreen(named(name)));
  }

  // The actions, each done at once.
  const actions = {
    // One click on each control (two on one spot further apart than a double click), or a double click.
    async click(names, double = false) {
      for (const name of names) {
        const p = await pointOf(name);
        if (!double && p.x === last.x && p.y === last.y) await sleep(last.at + DoubleClickMs - Date.now());
        await (double ? driver.dblclick(p) : driver.click(p));
        last = { ...p, at: Date.now() };
      }
    },
    dblclick: (names) => actions.click(names, true),
    // Presses on each control but the last, each let go over the last.
    async drag(names) {
      for (const name of names.slice(0, -1)) await driver.drag(await pointOf(name), await pointOf(names.at(-1)));
    },
    // Tab, Shift+Tab, Enter, Space, Left, Right, Up, Down, Delete, Backspace, in turn.
    key: async (keys) => { for (const key of keys) await driver.key(key); },
    hold: ([key]) => driver.hold(key), // held down a second, the desktop repeating it
    close: ([window]) => driver.close(window), // the desktop's close request to Form2 or Form1
    // The game's clock runs a moment at a time between looks, so that checks see a spin run; thaw lets it go.
    freeze: () => { frozen = true; return driver.freeze(); },
    thaw: () => { frozen = false; return driver.thaw(); },
    start: () => driver.launch(), // the game again, after it ended
  };

  // The checks, each waited for until it holds of a screenshot (true, or what was seen) and how long.
  const checks = {
    ended: () => [() => driver.ended(), { screenshot: false }], // with status 0
    // That window, in the middle of the screen and wholly on it, and not the other.
    shows: ([name]) => [async (s) => {
      if (!(await driver.showing(name)) || (await driver.showing(name === 'Form2' ? 'Form1' : 'Form2'))) return false;
      const found = await driver.window(name), [, , w, h] = named(`${name}.${name}`).box, screen = driver.screen;
      scale = found.w / w;
      const middle = { x: (screen.width - px(w)) / 2, y: (screen.height - px(h)) / 2 };
      if (Math.abs(found.w - px(w)) + Math.abs(found.h - px(h)) > 2 || Math.abs(found.x - middle.x) + Math.abs(found.y - middle.y) > 3
        || found.x < 0 || found.y < 0 || found.x + found.w > screen.width || found.y + found.h > screen.height)
        return `${name} ${found.w}x${found.h} at ${found.x},${found.y}`;
      boxes[name] = found;
      return name === 'Form2' ? titleUp(s) : tableUp(s);
    }],
    'drawn-as-laid-out': () => [(s) => laidOut(s, tableUp(s) ? 'Form1' : 'Form2')],
    text: ([name, ...words]) => [(s) => {
      const c = named(name), text = words.join(' ');
      if (/^\d+$/.test(text) && Number(text) <= 36)
        return showsNumber(s, c, Number(text), rgb(c.name === 'Form1.Cislo' ? cell(text).colour : c.colour)) || 'another number or colour';
      const seen = read(s, onScreen(c), rgb(c.under), zoom());
      return reads(seen, text) || seen;
    }],
    // The shown list's, top to bottom; after "...", its last in sight.
    entries: (words) => [(s, seen = entries(s)) => (words[0] === '...' ? seen.endsWith(words.slice(1).join(' ')) : seen === words.join(' ')) || seen],
    selected: ([row]) => [(s, at = listRows(s).findIndex((r) => r.selected)) => at === (row === 'none' ? -1 : Number(row)) || `${at}`],
    // The keyboard's mark, a frame 2 layout pixels wide; the chip in hand's, 3 wide beneath it.
    focused: ([name]) => [(s) => marked(s, name, Math.floor(px(2) / 2), 0x00ffff)],
    chosen: ([name]) => [(s) => marked(s, name, px(2) + Math.floor((px(3) - px(2)) / 2), 0xffee00)],
    // Cislo shows a number, the tray and the list do not; then, soon, they do.
    spinning: () => [(s) => !trayAndList(s).some(Boolean) && drawnNumber(s)],
    settled: () => [(s) => trayAndList(s).every(Boolean) && drawnNumber(s), { patience: SettleMs, since: actedAt }],
  };

  mkdirSync(shots, { recursive: true });
  before(() => driver.launch());
  // "play" stands for the title shown, Play clicked and the table shown.
  const all = readFileSync(steps, 'utf8').split(/^- /m).slice(1).map((step) => step.split('\n').map((l) => l.trim()))
    .map(([what, ...lines]) => ({ what, lines: lines.filter((l) => l && !l.startsWith('#'))
      .flatMap((l) => (l === 'play' ? ['shows Form2', 'click Form2.Label1(0)', 'shows Form1'] : l)) }));
  all.slice(0, count).forEach((step, n) => test(step.what, async (t) => {
    if (broken) return t.skip('an earlier step failed');
    let line;
    try {
      for (line of step.lines) {
        const [verb, ...words] = line.split(/\s+/);
        if (actions[verb]) {
          await actions[verb](words);
          actedAt = Date.now();
        } else {
          await waitFor(line, ...(checks[verb] ?? fail(`no action or check ${verb}`))(words));
        }
      }
    } catch (e) {
      broken = true;
      e.message = `${line}: ${e.message}`;
      throw e;
    } finally {
      if (shot) writeFileSync(`${shots}/${String(n + 1).padStart(2, '0')}-${broken ? 'failed' : 'ok'}.png`, shot);
    }
  }));
}
