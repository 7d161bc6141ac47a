// Takes the README's pictures of the studio: the real page in headless Chromium at a desktop's,
// a tablet's and a phone's size, each in a session an owner would have: the product icon opened
// as the picture, a name typed as text (which goes under it).
//   node web/screenshot.mjs FOLDER   (scripts/take-web-screenshot.sh builds first)
// writes FOLDER/studio-desktop.png, studio-tablet.png and studio-phone.png.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { launchBrowser, openFile, openStudio, startServer } from './tests/browser/harness.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const folder = process.argv[2];
if (!folder) {
  console.error('usage: node web/screenshot.mjs FOLDER');
  process.exit(2);
}
const icon = path.join(here, '..', 'packaging', 'icons', 'hicolor', '256x256', 'apps', 'org.tarrow.BootScreenEditor.png');
const sizes = [
  { name: 'desktop', viewport: { width: 1280, height: 800 } },
  { name: 'tablet', viewport: { width: 768, height: 1024 }, hasTouch: true },
  { name: 'phone', viewport: { width: 360, height: 740 }, hasTouch: true, isMobile: true },
];

const server = await startServer();
const browser = await launchBrowser();
try {
  fs.mkdirSync(folder, { recursive: true });
  for (const { name, ...options } of sizes) {
    const context = await browser.newContext({ ...options, colorScheme: 'light' });
    const page = await openStudio(context, server.url);
    await openFile(page, icon);
    // With a picture and text, the page lays the picture out above the text by itself.
    await page.getByLabel('Text', { exact: true }).fill('ANNA LUND');
    await page.getByRole('group', { name: 'Candidates' }).getByRole('button').first().waitFor();
    await page.evaluate(() => document.activeElement?.blur());
    await page.evaluate(() => window.scrollTo(0, 0));
    await page.mouse.move(0, 0);
    // Written beside the target and renamed, so a failed run never leaves half an image.
    const output = path.join(folder, `studio-${name}.png`);
    await page.screenshot({ path: `${output}.partial.png` });
    fs.renameSync(`${output}.partial.png`, output);
    console.log(`screenshot: wrote ${output}`);
    await context.close();
  }
} finally {
  await browser.close();
  await server.stop();
}
