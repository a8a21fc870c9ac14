// Plays round.steps (steps.mjs) on the real program, on an X server of its own under openbox, with xdotool,
// wmctrl and ImageMagick's import; found by its windows' titles and scale by their size, any desktop front end.
//   node desktop.mjs <steps file> <screenshot folder> [--steps N] -- <command that starts the game...>
//
// MORVIK_LAYOUT: the layout_json program. Exits 77 when a tool is missing.
import { spawn, spawnSync } from 'node:child_process';
import { once } from 'node:events';
import { after } from 'node:test';
import { setTimeout as sleep } from 'node:timers/promises';
import { play } from './steps.mjs';

const args = process.argv.slice(2);
const command = args.slice(args.indexOf('--') + 1);
const [width, height] = (process.env.MORVIK_SCREEN || '1920x1440').split('x').map(Number), screen = { width, height };
const { XAUTHORITY, QT_QPA_PLATFORM, ...env } = process.env; // neither of the desktop the tests run on
// What a tool prints, nothing when it fails.
const run = (tool, ...words) => {
  const done = spawnSync(tool, words, { env, maxBuffer: 1 << 26, stdio: ['ignore', 'pipe', 'ignore'] });
  return done.status === 0 ? done.stdout : Buffer.alloc(0);
};
const text = (...words) => run(...words).toString().trim();
if (!text('which', 'Xvfb', 'openbox', 'wmctrl', 'xdotool', 'import', 'tesseract')) { // all found, or none told
  console.log('# skipped: install xvfb, openbox, wmctrl, xdotool, imagemagick and tesseract-ocr');
  process.exit(77);
}

// -displayfd picks a free display and tells its number on standard output; a held key repeats every 30 ms from 300 ms.
const server = spawn('Xvfb', ['-displayfd', '1', '-screen', '0', `${screen.width}x${screen.height}x24`, '-nolisten', 'tcp',
  '-br', '-noreset', '-ardelay', '300', '-arinterval', '30'], { stdio: ['ignore', 'pipe', 'ignore'] });
let number = '';
while (!number.includes('\n')) number += (await once(server.stdout, 'data'))[0];
env.DISPLAY = `:${number.trim()}`;
console.log(`# Xvfb on display ${env.DISPLAY}; ${command.join(' ')}`);
const windowManager = spawn('openbox', [], { env, stdio: 'ignore' });
// Taken as ready once it owns the screen: wmctrl then answers.
while (!text('wmctrl', '-m')) await sleep(50);

let game, exit, pointer = {};
const keysym = (name) => ({ 'Shift+Tab': 'shift+Tab', Enter: 'Return', Space: 'space', Backspace: 'BackSpace' }[name] ?? name);
const visible = (name) => text('xdotool', 'search', '--onlyvisible', '--name', `^${name}$`).split('\n')[0];
// --sync waits for the pointer to move, which it never does when it is there already.
const moveTo = (p) => {
  const move = p.x === pointer.x && p.y === pointer.y ? [] : ['mousemove', '--sync', `${p.x}`, `${p.y}`];
  pointer = p;
  return move;
};

// To the game's process group: every process it started, Wine's program among them.
const signal = (name) => process.kill(-game.pid, name);

after(() => { if (!exit) signal('SIGKILL'); windowManager.kill(); server.kill(); }); // the game stopped or not
const limit = args.indexOf('--steps');
play({
  screen,
  launch() {
    exit = undefined;
    game = spawn(command[0], command.slice(1), { env, stdio: 'inherit', detached: true });
    game.on('exit', (code, how) => { exit = { code, how }; });
  },
  ended() {
    if (exit && (exit.code !== 0 || exit.how)) throw new Error(`the game ended with status ${exit.code ?? exit.how}`);
    return !!exit;
  },
  showing: (name) => !!visible(name),
  window(name) {
    const shell = Object.fromEntries(text('xdotool', 'getwindowgeometry', '--shell', visible(name)).split('\n').map((l) => l.split('=')));
    return { x: Number(shell.X), y: Number(shell.Y), w: Number(shell.WIDTH), h: Number(shell.HEIGHT) };
  },
  screenshot: () => run('import', '-window', 'root', '-quality', '10', 'png:-'),
  click: (p) => run('xdotool', ...moveTo(p), 'click', '1'),
  dblclick: (p) => run('xdotool', ...moveTo(p), 'click', '--repeat', '2', '--delay', '60', '1'),
  drag: (from, to) => run('xdotool', ...moveTo(from), 'mousedown', '1', ...moveTo(to), 'mouseup', '1'),
  key: (name) => run('xdotool', 'key', keysym(name)),
  hold: (name) => run('xdotool', 'keydown', keysym(name), 'sleep', '1', 'keyup', keysym(name)),
  close: (window) => run('wmctrl', '-F', '-c', window),
  freeze: () => signal('SIGSTOP'),
  // A tenth of a millisecond: on a loaded machine, a spin still leaves several screenshots to see it in.
  moment() {
    signal('SIGCONT');
    Atomics.wait(new Int32Array(new SharedArrayBuffer(4)), 0, 0, 0.1);
    signal('SIGSTOP');
  },
  thaw: () => signal('SIGCONT'),
}, { steps: args[0], shots: args[1], count: limit >= 0 ? Number(args[limit + 1]) : Infinity });
