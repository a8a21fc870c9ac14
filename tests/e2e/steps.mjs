// Plays the steps of round.steps through a driver and checks each on
// screenshots, the same way for every front end: the desktop's (desktop.mjs,
// through an X server) and the browser's (tests/web/round.test.mjs). A driver
// only acts as a player does and takes screenshots; where things are comes
// from the layout's table of controls (layout_json), what they should look
// like from the steps and that table, and texts are read by OCR (tesseract).
//
// A driver gives, all in device pixels of its screenshots:
//   launch()                  starts the game (again)
//   screen                    { width, height } its windows are centred in
//   window(name)              the box { x, y, w, h } of Form2 or Form1, or null
//   showing(name)             whether that window shows, as the system tells
//   screenshot()              a PNG
//   click(p), dblclick(p), drag(from, to), key(name), close(window)
//   freeze(), moment(), thaw()  the game's clock held, let run a moment, let go
//   ended()                   whether the game ended (and ended well)
//   doubleClickMs             how long after a click a click on the spot is a second one
import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { after, before, test } from 'node:test';
import { setTimeout as sleep } from 'node:timers/promises';

const { PNG } = createRequire(new URL('../web/package.json', import.meta.url))('pngjs');

// Long enough for a sanitizer build, or Wine, to start on a loaded machine.
const PatienceMs = 60_000;
// A spin of 50 ticks is over well within this once it runs, on every front
// end; with a timer a hundred times slower it is not.
const SettleMs = 3_000;

// --- The one pixel reader ---

// A PNG as { width, height, at(x, y) }, colours as 0xrrggbb.
export function decode(png) {
  const { width, height, data } = PNG.sync.read(png);
  const at = (x, y) => {
    const i = 4 * (Math.round(y) * width + Math.round(x));
    return (data[i] << 16) | (data[i + 1] << 8) | data[i + 2];
  };
  return { width, height, at };
}
const rgb = ([r, g, b]) => (r << 16) | (g << 8) | b;
const channels = (c) => [c >> 16, (c >> 8) & 255, c & 255];
const distance = (a, b) => channels(a).reduce((sum, v, i) => sum + Math.abs(v - channels(b)[i]), 0);
const luminance = (c) => { const [r, g, b] = channels(c); return (r * 299 + g * 587 + b * 114) / 1000; };

// The smallest box around every pixel of `area` that `inked` holds for.
function ink(s, area, inked) {
  let left = Infinity, top = Infinity, right = -1, bottom = -1;
  for (let y = area.y; y < area.y + area.h; ++y)
    for (let x = area.x; x < area.x + area.w; ++x)
      if (inked(s.at(x, y))) {
        left = Math.min(left, x); right = Math.max(right, x);
        top = Math.min(top, y); bottom = Math.max(bottom, y);
      }
  return right < 0 ? null : { x: left, y: top, w: right - left + 1, h: bottom - top + 1 };
}

// The text in `area`, inked where `inked` says, read by tesseract off a
// greyscale PNM with a white margin.
function read(s, area, inked, lines = 1) {
  const w = area.w + 20, h = area.h + 20;
  const header = Buffer.from(`P5 ${w} ${h} 255\n`);
  const page = Buffer.alloc(w * h, 255);
  for (let y = 0; y < area.h; ++y)
    for (let x = 0; x < area.w; ++x)
      if (inked(s.at(area.x + x, area.y + y))) page[(y + 10) * w + x + 10] = 0;
  const text = execFileSync('tesseract', ['stdin', 'stdout', '--psm', lines > 1 ? '6' : '7'],
    { input: Buffer.concat([header, page]), stdio: ['pipe', 'pipe', 'ignore'] });
  return text.toString().replace(/\s+/g, ' ').trim();
}

// A number's ink as a mask: where the caption's colour covers more than half
// of the ground, whatever the two colours are.
function numberInk(s, area, text, ground) {
  const inked = (c) => 2 * distance(c, ground) > distance(text, ground);
  const box = ink(s, area, inked);
  if (!box) return null;
  const bits = [];
  let solid = 0; // pixels of the text's very colour, inside the letters' smoothed edges
  for (let y = 0; y < box.h; ++y) for (let x = 0; x < box.w; ++x) {
    bits.push(inked(s.at(box.x + x, box.y + y)));
    solid += bits.at(-1) && s.at(box.x + x, box.y + y) === text;
  }
  return { ...box, solid: solid / bits.filter(Boolean).length, bit: (x, y) => x >= 0 && y >= 0 && x < box.w && y < box.h && bits[y * box.w + x] };
}

// Whether every inked pixel of `a` lies within a pixel of one of `b`, the two
// centred on each other, but for a few.
function near(a, b) {
  const sx = Math.trunc((b.w - a.w) / 2), sy = Math.trunc((b.h - a.h) / 2);
  let inked = 0, astray = 0;
  for (let y = 0; y < a.h; ++y)
    for (let x = 0; x < a.w; ++x) {
      if (!a.bit(x, y)) continue;
      ++inked;
      astray += ![-1, 0, 1].some((dy) => [-1, 0, 1].some((dx) => b.bit(x + dx + sx, y + dy + sy)));
    }
  return astray * 12 <= inked;
}

// --- The steps ---

export function readSteps(file) {
  const steps = [];
  for (const raw of readFileSync(file, 'utf8').split('\n')) {
    const line = raw.trim();
    if (line.startsWith('- ')) steps.push({ what: line.slice(2), lines: [] });
    else if (line && !line.startsWith('#') && steps.length) steps.at(-1).lines.push(line);
  }
  return steps;
}

// The layout's table: MORVIK_LAYOUT is the layout_json program (a .js one runs under Node.js).
function readLayout() {
  const program = process.env.MORVIK_LAYOUT;
  const [command, args] = program.endsWith('.js') ? [process.execPath, [program]] : [program, []];
  return JSON.parse(execFileSync(command, args, { encoding: 'utf8' }));
}

function fail(why) {
  throw new Error(why);
}

// Registers one test per step, each played after the one before by `driver`.
export function play(driver, { steps, shots, count = Infinity }) {
  const layout = readLayout();
  // Form1.List1 is whichever bet list shows: the two lie on one spot.
  const named = (name) => layout.find((c) => c.name === name || c.name === `${name}(0)`) ?? fail(`no control ${name}`);
  const windowOf = (name) => `${name.split('.')[0]}.${name.split('.')[0]}`;
  const boxes = {}; // where each window was found
  let scale = 1;
  let shot; // the last screenshot, as a PNG and as pixels
  let pixels;
  let frozen = false;
  let lastAct = { at: 0 }; // the last click, for the double-click time
  let actedAt = 0;

  const px = (v) => Math.round(v * scale);
  const onScreen = (c) => {
    const o = boxes[windowOf(c.name)] ?? fail(`${windowOf(c.name)} not yet found`);
    const [x, y, w, h] = c.box;
    return { x: o.x + px(x), y: o.y + px(y), w: px(x + w) - px(x), h: px(y + h) - px(y) };
  };
  // Whether OCR read `text`: in English, it tells no case of a monospaced
  // letter and misreads the title's Czech words, which match any word.
  const reads = (seen, text) => {
    const [a, b] = [seen, text].map((t) => t.toLowerCase().split(' '));
    return a.length === b.length && b.every((word, i) => word === a[i] || /[^ -~]/.test(word));
  };
  const inset = (r, d) => ({ x: r.x + d, y: r.y + d, w: r.w - 2 * d, h: r.h - 2 * d });
  const centre = (r) => ({ x: r.x + Math.floor(r.w / 2), y: r.y + Math.floor(r.h / 2) });
  const listArea = () => inset(onScreen(named('Form1.List1')), px(4));
  const Black = 0, Cyan = 0x00ffff, Yellow = 0xffee00;

  async function look() {
    shot = await driver.screenshot();
    pixels = decode(shot);
    return pixels;
  }

  // Waits until `holds` is true of a screenshot, as long as `patience`. While
  // the game is frozen it runs only a moment between screenshots, so that a
  // spin's 50 ticks leave several to see it in.
  async function waitFor(what, holds, { patience = PatienceMs, since = Date.now(), screenshot = true } = {}) {
    let seen;
    while (Date.now() < since + patience) {
      seen = await holds(screenshot && (await look()));
      if (seen === true) return;
      if (frozen) await driver.moment();
      else await sleep(30);
    }
    fail(typeof seen === 'string' ? `${what} (saw ${seen})` : what);
  }

  // The entries of the shown list, top to bottom: bands of light text, the
  // selected one on a ground of its own.
  function listRows(s) {
    const area = listArea();
    const rows = [];
    let top = -1;
    for (let y = area.y; y <= area.y + area.h; ++y) {
      let inked = false;
      for (let x = area.x; y < area.y + area.h && x < area.x + area.w - 1 && !inked; ++x) inked = luminance(s.at(x, y)) > 128;
      if (inked && top < 0) top = y;
      if (!inked && top >= 0) {
        rows.push({ x: area.x, y: top, w: area.w, h: y - top, selected: s.at(area.x + area.w - 1, (top + y) >> 1) !== Black });
        top = -1;
      }
    }
    return rows;
  }
  const entries = (s) => listRows(s).map((r) => read(s, { ...r, y: r.y - px(3), h: r.h + 2 * px(3) }, (c) => luminance(c) > 128));

  // Whether a caption shows `number` in `colour`: the shape of that number's
  // cell on the table. Read so rather than by OCR, which takes the font's
  // dotted 0 for an 8. The shapes need not match to the pixel: at a
  // fractional scale the two may stand a fraction of a pixel apart, and where
  // the system blends the edges of letters with a gamma (Windows, Wine),
  // light letters on dark come out a pixel bolder than dark on light.
  function showsNumber(s, c, number, colour) {
    const cell = named(`Form1.Label1(${number})`);
    const shown = numberInk(s, inset(onScreen(c), px(1)), colour, rgb(c.under));
    const wanted = numberInk(s, onScreen(cell), rgb(cell.colour), rgb(cell.under));
    return !!shown && !!wanted && shown.solid > 0.25 && Math.abs(shown.w - wanted.w) <= 2 && Math.abs(shown.h - wanted.h) <= 2
      && near(shown, wanted) && near(wanted, shown);
  }
  const drawnNumber = (s) => [...Array(37).keys()].find((n) => showsNumber(s, named('Form1.Cislo'), n, rgb(named(`Form1.Label1(${n})`).colour)));

  function shown(s, name) {
    if (name === 'Form1.List1') // the sunken edge of a list, on the black window
      return s.at(onScreen(named(name)).x, onScreen(named(name)).y + px(100)) !== Black;
    if (name === 'Form1.Picture2') return !!ink(s, onScreen(named('Form1.Label4')), (c) => c !== Black);
    fail(`cannot tell whether ${name} shows`);
  }

  const titleUp = (s) => {
    const t = boxes['Form2.Form2'];
    const frame = rgb(named('Form2.Form2').figures[0].colour);
    return !!t && s.at(t.x, t.y) === frame && s.at(t.x + t.w - 1, t.y + t.h - 1) === frame;
  };
  const tableUp = (s) => !!boxes['Form1.Form1'] && !titleUp(s)
    && s.at(boxes['Form1.Form1'].x + px(20), boxes['Form1.Form1'].y + px(20)) === rgb(named('Form1.Picture1').under);

  // A mark of `colour` all round the control's edge, `depth` device pixels in.
  function marked(s, name, depth, colour) {
    const r = onScreen(named(name));
    const m = centre(r);
    return [[m.x, r.y + depth], [m.x, r.y + r.h - 1 - depth], [r.x + depth, m.y], [r.x + r.w - 1 - depth, m.y]]
      .every(([x, y]) => s.at(x, y) === colour);
  }

  // The window's figures where the layout puts them, and every caption whole
  // in its box: as wide as its widest line in Liberation Mono (0.6 of the
  // size a letter, a little less where the size shrinks to fit a fractional
  // scale), in the middle of the box or at its left edge.
  function laidOut(s, window) {
    const o = boxes[window];
    const at = (x, y) => s.at(o.x + px(x), o.y + px(y));
    const nearby = (x, y, colour) => [-1, 0, 1].some((dy) => [-1, 0, 1].some((dx) => s.at(o.x + px(x) + dx, o.y + px(y) + dy) === colour));
    for (const c of layout.filter((c) => windowOf(c.name) === window)) {
      for (const { line, disc, frame, pen, colour } of c.figures) {
        if (frame) {
          const [x, y, w] = frame;
          if (at(x + pen / 2, y + 200) !== rgb(colour) || at(x + pen + 2, y + 200) !== rgb(c.under)
            || at(x + w - pen / 2, y + 300) !== rgb(colour)) return `the frame of ${c.name}`;
        } else if (disc) {
          if (at(disc[0] + disc[2] / 2, disc[1] + disc[3] / 2) !== rgb(colour)) return `a disc's colour in ${c.name}`;
        } else if (!nearby((line[0] + line[2]) / 2 + 0.5, (line[1] + line[3]) / 2 + 0.5, rgb(colour))) {
          return `the line from ${line[0]},${line[1]}`;
        }
      }
      if (c.kind !== 2 || !c.lines.length) continue;
      const box = onScreen(c);
      const inked = ink(s, box, (colour) => colour !== rgb(c.under));
      const letter = 0.6 * c.font * scale;
      const letters = Math.max(...c.lines.map((l) => [...l.trimStart()].length));
      const wide = inked?.w ?? 0;
      if (wide < 0.9 * (letters - 1) * letter || wide > letters * letter + letter / 4)
        return `the caption ${c.lines.join(' ')} is ${wide} pixels wide`;
      // Read, but for the numbers, whose dotted 0 OCR takes for an 8.
      const text = c.lines.join(' ').trim();
      const seen = /^\d+$/.test(text) || read(s, box, (colour) => colour !== rgb(c.under), c.lines.length);
      if (seen !== true && !reads(seen, text)) return `the caption ${text} reads ${seen}`;
      const off = c.centred ? inked.x + inked.w / 2 - (box.x + box.w / 2) : inked.x - box.x;
      if (Math.abs(off) > letter / 2 + 1) return `the caption ${c.lines.join(' ')} lies ${off} pixels off`;
    }
    return true;
  }

  // The point a name stands for: the middle of a control, of an entry of the
  // shown list, of the list's empty part or of the bare cloth.
  async function pointOf(name) {
    if (name === 'Form1.cloth') return { x: boxes['Form1.Form1'].x + px(20), y: boxes['Form1.Form1'].y + px(20) };
    if (name === 'Form1.List1.below') return { x: centre(listArea()).x, y: listArea().y + listArea().h - 1 - px(8) };
    const entry = name.match(/^Form1\.List1\.(\d+)$/);
    if (entry) return centre(listRows(await look())[entry[1]] ?? fail(`no entry ${entry[1]} to click`));
    return centre(onScreen(named(name)));
  }

  async function act(verb, words) {
    switch (verb) {
      case 'click':
        for (const name of words) {
          const p = await pointOf(name);
          // Two clicks on one spot must not make a double click.
          if (p.x === lastAct.x && p.y === lastAct.y) await sleep(lastAct.at + driver.doubleClickMs - Date.now());
          await driver.click(p);
          lastAct = { ...p, at: Date.now() };
        }
        return true;
      case 'dblclick':
        lastAct = { ...(await pointOf(words[0])) };
        await driver.dblclick(lastAct);
        lastAct.at = Date.now();
        return true;
      case 'drag':
        await driver.drag(await pointOf(words[0]), await pointOf(words[1]));
        return true;
      case 'key':
        for (const key of words) await driver.key(key);
        return true;
      case 'close':
        await driver.close(words[0]);
        return true;
      case 'freeze':
        frozen = true;
        await driver.freeze();
        return true;
      case 'thaw':
        frozen = false;
        await driver.thaw();
        return true;
      case 'start':
        await driver.launch();
        return true;
    }
    return false;
  }

  async function check(line, verb, words) {
    switch (verb) {
      case 'ended':
        return waitFor(line, () => driver.ended(), { screenshot: false });
      case 'shows': {
        const window = `${words[0]}.${words[0]}`;
        const other = words[0] === 'Form2' ? 'Form1' : 'Form2';
        return waitFor(line, async (s) => {
          if (!(await driver.showing(words[0])) || (await driver.showing(other))) return false;
          const found = await driver.window(words[0]);
          if (words[0] === 'Form2') scale = found.w / named('Form2.Form2').box[2];
          const [, , w, h] = named(window).box;
          const middle = { x: (driver.screen.width - px(w)) / 2, y: (driver.screen.height - px(h)) / 2 };
          if (Math.abs(found.w - px(w)) + Math.abs(found.h - px(h)) > 2 || Math.abs(found.x - middle.x) + Math.abs(found.y - middle.y) > 3)
            return `${words[0]} ${found.w}x${found.h} at ${found.x},${found.y}`;
          boxes[window] = found;
          return words[0] === 'Form2' ? titleUp(s) : tableUp(s);
        });
      }
      case 'drawn-as-laid-out': {
        const window = tableUp(await look()) ? 'Form1.Form1' : 'Form2.Form2';
        return waitFor(line, (s) => laidOut(s, window));
      }
      case 'text': {
        const c = named(words[0]);
        const text = words.slice(1).join(' ');
        const number = /^\d+$/.test(text) && Number(text) <= 36;
        return waitFor(line, (s) => {
          if (number) {
            const colour = c.name === 'Form1.Cislo' ? named(`Form1.Label1(${text})`).colour : c.colour;
            return showsNumber(s, c, Number(text), rgb(colour)) || 'another number or colour';
          }
          const seen = read(s, c.kind === 6 ? inset(onScreen(c), px(1)) : onScreen(c), (colour) => distance(colour, rgb(c.under)) > 100);
          return seen === text || seen;
        });
      }
      case 'entries':
        return waitFor(line, (s) => { const seen = entries(s).join(' '); return seen === words.join(' ') || seen; });
      case 'selected':
        return waitFor(line, (s) => {
          const selected = listRows(s).findIndex((r) => r.selected);
          return selected === (words[0] === 'none' ? -1 : Number(words[0])) || `${selected}`;
        });
      case 'hidden':
      case 'shown':
        return waitFor(line, (s) => words.every((name) => shown(s, name) === (verb === 'shown')));
      case 'focused': // a frame 2 layout pixels wide
        return waitFor(line, (s) => marked(s, words[0], Math.floor(px(2) / 2), Cyan));
      case 'chosen': // a frame 3 layout pixels wide, beneath the focus's
        return waitFor(line, (s) => marked(s, words[0], px(2) + Math.floor((px(3) - px(2)) / 2), Yellow));
      case 'spinning':
        return waitFor(line, (s) => !shown(s, 'Form1.Picture2') && !shown(s, 'Form1.List1') && drawnNumber(s) !== undefined);
      case 'settled':
        return waitFor(line, (s) => shown(s, 'Form1.Picture2') && shown(s, 'Form1.List1') && drawnNumber(s) !== undefined,
          { patience: SettleMs, since: actedAt });
    }
    fail(`no action or check ${verb}`);
  }

  before(async () => {
    mkdirSync(shots, { recursive: true });
    await driver.launch();
  });
  after(async () => {
    if (frozen) await driver.thaw();
  });
  let broken = false;
  readSteps(steps).slice(0, count).forEach((step, n) => {
    test(step.what, async (t) => {
      if (broken) return t.skip('an earlier step failed');
      let line;
      try {
        for (line of step.lines) {
          const [verb, ...words] = line.split(/\s+/);
          if (await act(verb, words)) actedAt = Date.now();
          else await check(line, verb, words);
        }
      } catch (e) {
        broken = true;
        e.message = `${line}: ${e.message}`;
        throw e;
      } finally {
        if (shot) writeFileSync(`${shots}/${String(n + 1).padStart(2, '0')}-${broken ? 'failed' : 'ok'}.png`, shot);
      }
    });
  });
}
