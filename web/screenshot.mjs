// Takes the README's pictures of the studio: the real page in headless Chromium at a desktop's,
// a tablet's and a phone's size, each in a session an owner would have: the product icon opened
// as the picture, a name typed as text under it.
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

// The picture in the top 96 rows and the name in the 32 below: by the Layout choice where the
// page has one, by the two areas' numbers otherwise.
async function pictureAboveText(page) {
  const layout = page.getByLabel('Layout', { exact: true });
  if (await layout.count()) {
    await layout.selectOption('picture-above-text');
    return;
  }
  for (const [name, value] of [['width', '1'], ['height', '1'], ['width', '32'], ['height', '96']])
    await page.getByLabel(`Picture ${name}`, { exact: true }).fill(value);
  for (const [name, value] of [['height', '1'], ['Y', '96'], ['height', '32']])
    await page.getByLabel(`Text ${name}`, { exact: true }).fill(value);
}

const server = await startServer();
const browser = await launchBrowser();
try {
  fs.mkdirSync(folder, { recursive: true });
  for (const { name, ...options } of sizes) {
    const context = await browser.newContext({ ...options, colorScheme: 'light' });
    const page = await openStudio(context, server.url);
    await openFile(page, icon);
    await page.getByLabel('Text', { exact: true }).fill('ANNA');
    await pictureAboveText(page);
    await page.getByRole('button', { name: /^Candidate / }).first().waitFor();
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
