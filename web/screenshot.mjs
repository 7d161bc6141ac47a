// Takes the README's picture of the studio: the real page in headless Chromium, with the
// product icon opened as a picture in the top 96 rows, a name below, and a line painted by mouse.
//   node web/screenshot.mjs OUTPUT.png   (scripts/take-web-screenshot.sh builds first)
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { clickCell, launchBrowser, openFile, openStudio, startServer } from './tests/browser/harness.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const output = process.argv[2];
if (!output) {
  console.error('usage: node web/screenshot.mjs OUTPUT.png');
  process.exit(2);
}
const server = await startServer();
const browser = await launchBrowser();
try {
  const context = await browser.newContext({ viewport: { width: 1000, height: 1040 } });
  const page = await openStudio(context, server.url);
  await openFile(page, path.join(here, '..', 'packaging', 'icons', 'hicolor', '256x256', 'apps', 'org.tarrow.BootScreenEditor.png'));
  for (const [name, value] of [['width', '1'], ['height', '1'], ['width', '32'], ['height', '96']])
    await page.getByLabel(`Picture ${name}`, { exact: true }).fill(value);
  for (const [name, value] of [['height', '1'], ['Y', '96'], ['height', '32']])
    await page.getByLabel(`Text ${name}`, { exact: true }).fill(value);
  await page.getByLabel('Text', { exact: true }).fill('ANNA');
  for (let column = 2; column < 30; ++column) await clickCell(page, column, 94);
  await page.mouse.move(0, 0);
  // Written beside the target and renamed, so a failed run never leaves half an image.
  await page.screenshot({ path: `${output}.partial.png` });
  fs.renameSync(`${output}.partial.png`, output);
  console.log(`screenshot: wrote ${output}`);
} finally {
  await browser.close();
  server.stop();
}
