// Takes the README's pictures of both screens from the built site in
// Chromium: node tools/web-screenshots.mjs writes docs/web-title.png and
// docs/web-table.png (the table with a few bets laid and one selected).
import { start, screen } from '../tests/web/browser.mjs';

const docs = new URL('../docs/', import.meta.url).pathname;
const web = await start();
const page = await web.open({}, { clock: false });
await screen(page, 'Form2').screenshot({ path: `${docs}web-title.png` });
for (const name of ['Play', 'Chip 10', '20', 'Red', 'Chip 5', '27', '27', 'Chip 50', 'Big 19-36'])
  await page.getByRole('button', { name, exact: true }).click();
await page.getByRole('option').nth(1).click();
await screen(page, 'Form1').screenshot({ path: `${docs}web-table.png` });
await web.close();
