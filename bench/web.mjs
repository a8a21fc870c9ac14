// The web build's budgets, measured in Debian's Chromium beside a bare page of
// its own: what the first load fetches, how soon the title screen shows, what
// a spin's tick costs. Writes the "## Web" section of bench/RESULTS.md.
//
//   tools/web.sh && node bench/web.mjs [runs]
//
// Needs the tests' playwright-core (cd tests/web && npm ci).
import { cpSync, mkdtempSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { loadavg, tmpdir } from 'node:os';
import { join } from 'node:path';
import { setTimeout as sleep } from 'node:timers/promises';
import { site, start } from '../tests/web/browser.mjs';
import { spawn } from 'node:child_process';
import { once } from 'node:events';

const runs = Number(process.argv[2] ?? 10);
const here = new URL('.', import.meta.url).pathname;

// The site and the bare page side by side, served alike.
const folder = mkdtempSync(join(tmpdir(), 'morvik-bench-'));
cpSync(site, folder, { recursive: true });
cpSync(join(here, 'web_bare.html'), join(folder, 'bare.html'));
// Served by a process of its own, as a web host would, not by this busy one.
const server = spawn(process.execPath, [join(here, '../web/serve.mjs'), folder, '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
const url = (await once(server.stdout, 'data'))[0].toString().match(/http:\S+\//)[0];
const web = await start();
const chromium = `Chromium ${web.browser.version()}`;

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const range = (values) => `${median(values).toFixed(1)} (${Math.min(...values).toFixed(1)} to ${Math.max(...values).toFixed(1)})`;

// Milliseconds from the start of the navigation to the first frame that shows
// "Play", "Quit" and the remark in the loaded font, and to the first that also
// shows every picture; each run in a new context, nothing cached.
async function shown(page) {
  const context = await web.browser.newContext({ viewport: { width: 1280, height: 1024 } });
  const tab = await context.newPage();
  await tab.addInitScript(() => {
    const look = (time) => {
      const text = document.body?.innerText ?? '';
      const captions = ['Play', 'Quit', 'ruleta'].every((t) => text.includes(t)) && document.fonts.status === 'loaded';
      if (captions && !window.captions) window.captions = time;
      const pictures = [...document.images];
      if (captions && pictures.length && pictures.every((i) => i.complete)) window.pictures = time;
      else requestAnimationFrame(look);
    };
    requestAnimationFrame(look);
  });
  const files = new Set();
  tab.on('response', (r) => files.add(new URL(r.url()).pathname.replace(/\/$/, '/index.html')));
  await tab.goto(url + page);
  await tab.waitForFunction(() => window.pictures || (window.captions && !document.images.length));
  const times = await tab.evaluate(() => [window.captions, window.pictures]);
  await context.close();
  return { times, files };
}

let loaded;
const game = { captions: [], pictures: [] };
const bare = [];
for (let run = 0; run < runs; ++run) {
  const g = await shown('');
  game.captions.push(g.times[0]);
  game.pictures.push(g.times[1]);
  loaded = g.files;
  bare.push((await shown('bare.html')).times[0]);
}
const size = (file) => statSync(join(folder, file)).size;
const firstLoad = [...loaded].reduce((sum, f) => sum + size(f), 0);
// Everything the game ever shows: what the service worker keeps.
const keptFiles = readFileSync(join(folder, 'sw.js'), 'utf8').match(/const files = \[(.*)\]/)[1].match(/'[^']+'/g)
  .map((f) => `/${f.slice(1, -1).replace(/^\.\/$/, 'index.html')}`);
const kept = keptFiles.reduce((sum, f) => sum + size(f), 0);
const code = size('/morvik.js') + size('/morvik.wasm');

// A spin at the browser's own pace: the script of each Timer1 tick (its
// TimerFire), and the time from the first number drawn to the read-out.
const page = await (await web.browser.newContext()).newPage();
await page.goto(url);
for (const name of ['Play', 'Chip 1', 'Even', 'Next']) await page.getByRole('button', { name, exact: true }).click();
await page.evaluate(() => {
  const cislo = document.querySelector('[data-control="Cislo"]');
  new MutationObserver(() => (window.first ??= performance.now())).observe(cislo, { subtree: true, characterData: true });
  new MutationObserver(() => (window.last = performance.now())).observe(document.querySelector('[role=status]'), { childList: true });
});
await web.browser.startTracing(page, { categories: ['devtools.timeline'] });
await page.getByRole('button', { name: 'Next', exact: true }).click();
await page.waitForFunction(() => window.last);
await sleep(100);
const trace = JSON.parse(await web.browser.stopTracing()).traceEvents;
const spinMs = await page.evaluate(() => window.last - window.first);
const ticks = trace.filter((e) => e.name === 'TimerFire' && e.dur !== undefined).map((e) => e.dur / 1000);
const layoutRoots = new Set(trace.filter((e) => e.name === 'Layout').flatMap((e) => e.args.endData.layoutRoots.map((r) => r.nodeName)));
await web.close();
server.kill();
rmSync(folder, { recursive: true });

const kb = (bytes) => `${(bytes / 1000).toFixed(1)} KB`;
const verdict = (ok) => (ok ? 'pass' : 'FAIL');
const ratio = median(game.captions) / median(bare);
const section = `## Web

Measured on ${new Date().toISOString().slice(0, 10)} by \`node bench/web.mjs\` in ${chromium}, headless, served on
127.0.0.1: ${runs} interleaved loads of the game and of a bare page (\`bench/web_bare.html\`: the title's captions in
the same font, at the same places), each in a new browser context; load average ${loadavg()[0].toFixed(1)} on
${(await import('node:os')).cpus().length} cores at the end. Medians, min to max in parentheses.

| measure | game | yardstick | ratio | budget |  |
|---|---|---|---|---|---|
| first load, the files fetched (${[...loaded].sort().join(', ')}) | ${kb(firstLoad)} |  |  | <= 400 KB | ${verdict(firstLoad <= 400_000)} |
| everything the game shows, the table's chips too (what the service worker keeps: ${keptFiles.length} files) | ${kb(kept)} |  |  | <= 400 KB | ${verdict(kept <= 400_000)} |
| script and WebAssembly (morvik.js, morvik.wasm) | ${kb(code)} |  |  | <= 100 KB | ${verdict(code <= 100_000)} |
| navigation to the title's captions shown, ms (yardstick: the bare page) | ${range(game.captions)} | ${range(bare)} | ${ratio.toFixed(2)} x | <= 1.3 x | ${verdict(ratio <= 1.3)} |
| navigation to the title shown with its pictures, ms | ${range(game.pictures)} |  |  |  |  |
| a spin, first number to the read-out, ms | ${spinMs.toFixed(0)} |  |  | about 200 to 350 |  |
| script of a spin tick (TimerFire), ms | ${range(ticks)} over ${ticks.length} ticks |  |  | well under 1 ms | ${verdict(median(ticks) < 1)} |
| layout roots during the spin | ${[...layoutRoots].join('; ')} |  |  | Cislo alone, but the settling tick |  |

The settling tick lays out the tray and the list again; every other tick lays
out Cislo alone (its box contains its own layout). The tests check the same on
a traced spin (tests/web/page.test.mjs).
`;
const results = join(here, 'RESULTS.md');
const old = readFileSync(results, 'utf8');
const before = old.includes('\n## Web\n') ? old.slice(0, old.indexOf('\n## Web\n') + 1) : `${old.trimEnd()}\n\n`;
writeFileSync(results, before + section);
console.log(section);
