// The built site (MORVIK_SITE) served on 127.0.0.1, and Debian's Chromium driven by playwright-core.
import { chromium } from 'playwright-core';
import { serve } from '../../tools/serve.mjs';

export const site = process.env.MORVIK_SITE ?? new URL('../../build/web/site', import.meta.url).pathname;

export async function start(folder = site) {
  const { url, server } = await serve(folder);
  const browser = await chromium.launch({
    executablePath: process.env.MORVIK_CHROMIUM ?? '/usr/bin/chromium',
    // Headless, with a user data folder of its own; it must not call home.
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
  return {
    url,
    browser,
    // A page of its own context, its timers (Timer1) held till the test runs them; script errors kept.
    async open(options = {}, { clock = true } = {}) {
      const page = await (await browser.newContext({ viewport: { width: 1280, height: 1024 }, ...options })).newPage();
      page.errors = [];
      page.on('pageerror', (e) => page.errors.push(e));
      page.on('console', (m) => m.type() === 'error' && page.errors.push(new Error(m.text())));
      if (clock) await page.clock.install();
      await page.goto(url);
      // The title shows before the game has started, which is after the page's load.
      await page.waitForFunction(() => window.Module?.calledRun && document.fonts.status === 'loaded');
      if (clock) await page.clock.pauseAt(await page.evaluate(() => Date.now() + 1000));
      return page;
    },
    async close() {
      await browser.close();
      server.closeAllConnections();
      server.close();
    },
  };
}

// The screen element of a window, and a control inside it by its layout name.
export const screen = (page, window) => page.locator(`[data-control="${window}"]`);
export const control = (page, window, name) => screen(page, window).locator(`[data-control="${name}"]`);

