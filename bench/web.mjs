// The web build's budgets, in one run, in Debian's Chromium: how soon the title
// shows beside a bare page of its own, the bytes of the site and of a first
// visit as a static host sends them, Lighthouse on its mobile and desktop
// profiles, and what a spin's tick costs. Writes the "## Web" section of
// bench/RESULTS.md.
//
//   tools/web.sh && node bench/web.mjs [runs]
//
// Needs the tests' playwright-core (cd tests/web && npm ci) and Lighthouse,
// pinned here (cd bench && npm ci); neither downloads a browser.
import { spawn } from 'node:child_process';
import { once } from 'node:events';
import { cpSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { connect, createServer } from 'node:net';
import { cpus, loadavg, tmpdir } from 'node:os';
import { join } from 'node:path';
import { setTimeout as sleep } from 'node:timers/promises';
import lighthouse from 'lighthouse';
import desktop from 'lighthouse/core/config/desktop-config.js';
import { launch } from 'chrome-launcher';
import { site, start } from '../tests/web/browser.mjs';

const runs = Number(process.argv[2] ?? 10);
const here = new URL('.', import.meta.url).pathname;

// The site and the bare page side by side, served alike, by a process of its
// own, as a web host would, not by this busy one.
const folder = mkdtempSync(join(tmpdir(), 'morvik-bench-'));
cpSync(site, folder, { recursive: true });
cpSync(join(here, 'web_bare.html'), join(folder, 'bare.html'));
const server = spawn(process.execPath, [join(here, '../tools/serve.mjs'), folder, '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
const url = (await once(server.stdout, 'data'))[0].toString().match(/http:\S+\//)[0];
const web = await start();
const chromium = `Chromium ${web.browser.version()}`;
const context = () => web.browser.newContext({ viewport: { width: 1280, height: 1024 } });

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const range = (values) => `${median(values).toFixed(1)} (${Math.min(...values).toFixed(1)} to ${Math.max(...values).toFixed(1)})`;

// Milliseconds from the start of the navigation to the first frame that shows
// "Play", "Quit" and the remark in the loaded font; each run in a new context,
// nothing cached.
async function shown(page) {
  const tab = await (await context()).newPage();
  await tab.addInitScript(() => {
    const look = (time) => {
      const text = document.body?.innerText ?? '';
      if (['Play', 'Quit', 'ruleta'].every((t) => text.includes(t)) && document.fonts.status === 'loaded') window.shown = time;
      else requestAnimationFrame(look);
    };
    requestAnimationFrame(look);
  });
  await tab.goto(url + page);
  const time = await (await tab.waitForFunction(() => window.shown)).jsonValue();
  await tab.context().close();
  return time;
}
const game = [], bare = [];
for (let run = 0; run < runs; ++run) {
  game.push(await shown(''));
  bare.push(await shown('bare.html'));
}

// Every byte the server sends a first visit, counted on the wire: the title,
// the service worker keeping the game, "Play" and the table.
const files = (dir) => readdirSync(dir, { withFileTypes: true })
  .flatMap((e) => (e.isDirectory() ? files(join(dir, e.name)) : [join(dir, e.name)]));
const siteBytes = files(site).reduce((sum, f) => sum + statSync(f).size, 0);
const code = statSync(join(site, 'morvik.js')).size + statSync(join(site, 'morvik.wasm')).size;
let moved = 0;
const wire = createServer((browser) => {
  const host = connect(new URL(url).port, '127.0.0.1');
  browser.pipe(host).on('error', () => {});
  host.on('data', (bytes) => (moved += bytes.length)).pipe(browser).on('error', () => {});
});
await new Promise((done) => wire.listen(0, '127.0.0.1', done));
const first = await (await context()).newPage();
await first.goto(`http://127.0.0.1:${wire.address().port}/`);
await first.evaluate(() => navigator.serviceWorker.ready);
await first.getByRole('button', { name: 'Play', exact: true }).click();
await first.waitForFunction(() => [...document.images].every((i) => i.complete));
await sleep(1000);
await first.context().close();
wire.close();

// A spin at the browser's own pace: the script of each Timer1 tick (its
// TimerFire), and the time from the first number drawn to the read-out.
const page = await web.open({}, { clock: false });
for (const name of ['Play', 'Chip 1', 'Even', 'Next']) await page.getByRole('button', { name, exact: true }).click();
await page.evaluate(() => {
  const cislo = document.querySelector('[data-control="Cislo"]');
  new MutationObserver(() => (window.first ??= performance.now())).observe(cislo, { subtree: true, characterData: true, childList: true });
  new MutationObserver(() => (window.last = performance.now())).observe(document.querySelector('[role=status]'), { childList: true });
});
await web.browser.startTracing(page, { categories: ['devtools.timeline'] });
await page.getByRole('button', { name: 'Next', exact: true }).click();
await page.waitForFunction(() => window.last);
await sleep(100);
const trace = JSON.parse(await web.browser.stopTracing()).traceEvents;
const spinMs = await page.evaluate(() => window.last - window.first);
const ticks = trace.filter((e) => e.name === 'TimerFire' && e.dur !== undefined).map((e) => e.dur / 1000);
await web.close();

// Lighthouse's own runs, in a Chromium it starts: five on the mobile profile,
// three on the desktop one; the median run by largest contentful paint is
// reported, and the mobile profile's five paints in the order they ran.
const chrome = await launch({ chromePath: process.env.MORVIK_CHROMIUM ?? '/usr/bin/chromium',
  chromeFlags: ['--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync'] });
const lcp = (lhr) => lhr.audits['largest-contentful-paint'].numericValue;
const audits = {};
let paints;
for (const [profile, config, count] of [['mobile', undefined, 5], ['desktop', desktop, 3]]) {
  const reports = [];
  for (let run = 0; run < count; ++run) reports.push((await lighthouse(url, { port: chrome.port, logLevel: 'error' }, config)).lhr);
  paints ??= reports.map((r) => lcp(r).toFixed(0)).join(', ');
  audits[profile] = reports.sort((a, b) => lcp(a) - lcp(b))[Math.floor(count / 2)];
}
chrome.kill();
server.kill();
rmSync(folder, { recursive: true });

const kb = (bytes) => `${(bytes / 1000).toFixed(1)} KB`;
const verdict = (ok) => (ok ? 'pass' : 'FAIL');
const ratio = median(game) / median(bare);
const lighthouseRows = Object.entries(audits).map(([profile, lhr]) => {
  const scores = Object.values(lhr.categories).map((c) => Math.round(c.score * 100));
  const short = Object.values(lhr.audits).filter((a) => a.score !== null && a.score < 1 && a.scoreDisplayMode === 'binary');
  return `| Lighthouse ${lhr.lighthouseVersion}, ${profile} profile: ${Object.values(lhr.categories).map((c) => c.title).join(', ')}`
    + `${short.length ? ` (failed: ${short.map((a) => a.id).join(', ')})` : ''} | ${scores.join(', ')} |  |  | >= 98 each |`
    + ` ${verdict(scores.every((s) => s >= 98))} |`;
});
const section = `## Web

Measured on ${new Date().toISOString().slice(0, 10)} by \`node bench/web.mjs\` in ${chromium}, headless, served by
\`tools/serve.mjs\` (Brotli, as a static host compresses) on 127.0.0.1: ${runs} interleaved loads of the game and of a bare
page (\`bench/web_bare.html\`: the title's captions in the same font, at the same places), each in a new browser
context; then a first visit counted on the wire, a spin, and Lighthouse's own runs (its simulated throttling; five on the mobile profile). Load
average ${loadavg()[0].toFixed(1)} on ${cpus().length} cores at the end. Medians, min to max in parentheses.

| measure | game | yardstick | ratio | budget |  |
|---|---|---|---|---|---|
| all the site's files together (${files(site).length} files) | ${kb(siteBytes)} |  |  | <= 300 KB | ${verdict(siteBytes <= 300_000)} |
| a first visit, every byte sent: the title, the service worker keeping the game, "Play" | ${kb(moved)} |  |  | <= 250 KB | ${verdict(moved <= 250_000)} |
| script and WebAssembly (morvik.js, morvik.wasm), uncompressed | ${kb(code)} |  |  | <= 100 KB | ${verdict(code <= 100_000)} |
| navigation to the title's captions shown, ms (yardstick: the bare page) | ${range(game)} | ${range(bare)} | ${ratio.toFixed(2)} x | <= 1.3 x | ${verdict(ratio <= 1.3)} |
| largest contentful paint, Lighthouse's mobile profile, median of five runs, ms (the five: ${paints}; desktop: ${lcp(audits.desktop).toFixed(0)}) | ${lcp(audits.mobile).toFixed(0)} |  |  | <= 1500 ms | ${verdict(lcp(audits.mobile) <= 1500)} |
${lighthouseRows.join('\n')}
| a spin, first number to the read-out, ms | ${spinMs.toFixed(0)} |  |  | about 200 to 350 |  |
| script of a spin tick (TimerFire), ms | ${range(ticks)} over ${ticks.length} ticks |  |  | well under 1 ms | ${verdict(median(ticks) < 1)} |
`;
const results = join(here, 'RESULTS.md');
const old = readFileSync(results, 'utf8');
const before = old.includes('\n## Web\n') ? old.slice(0, old.indexOf('\n## Web\n') + 1) : `${old.trimEnd()}\n\n`;
writeFileSync(results, before + section);
console.log(section);
