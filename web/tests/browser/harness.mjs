// What every browser test needs: the deployable folder served on a free loopback port, and
// Debian's Chromium driven by playwright-core, started as this machine allows (as root without
// the sandbox, and without the background calls that a closed network refuses).
import { spawn } from 'node:child_process';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { after, afterEach, before, beforeEach } from 'node:test';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
export const dataDir = path.join(here, '..', 'data');

// `root`: another folder to serve than the built site.
export async function startServer(root = null) {
  const child = spawn(process.execPath, [path.join(here, '..', '..', 'serve.mjs'), '--port', '0', ...(root ? ['--root', root] : [])],
    { stdio: ['ignore', 'pipe', 'inherit'] });
  const url = await new Promise((resolve, reject) => {
    child.stdout.on('data', (chunk) => {
      const found = String(chunk).match(/http:\/\/127\.0\.0\.1:\d+\//);
      if (found) resolve(found[0]);
    });
    child.on('exit', (code) => reject(new Error(`the server stopped (${code})`)));
  });
  // stop() resolves once the server is gone and its port refuses connections.
  const exited = new Promise((resolve) => child.on('exit', resolve));
  return { url, stop: () => { child.kill(); return exited; } };
}

// The served site and a browser for a whole test file: started before its tests, closed after.
export function useServerAndBrowser() {
  const session = { server: null, browser: null };
  before(async () => {
    session.server = await startServer();
    session.browser = await launchBrowser();
  });
  after(async () => {
    await session.browser?.close();
    await session.server?.stop();
  });
  return session;
}

// A fresh context (downloads allowed) with the studio open for each test of a file; `use` is
// handed the context and the page before each test.
export function useStudioPerTest(session, use) {
  let context = null;
  beforeEach(async () => {
    context = await session.browser.newContext({ acceptDownloads: true });
    use(context, await openStudio(context, session.server.url));
  });
  afterEach(async () => {
    await context?.close();
  });
}

export function launchBrowser() {
  return chromium.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run', '--disable-quic'],
  });
}

// A page of the studio, ready to use.
export async function openStudio(context, url) {
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForSelector('body[data-ready="true"]');
  return page;
}

// The screen shown now, as 4096 digits (row by row, 1 = lit).
export function shownScreen(page) {
  return page.evaluate(() => Array.from(window.studio.shown()).join(''));
}

export async function openFile(page, file) {
  const before = await page.locator('#messages').textContent();
  await page.getByLabel('Open', { exact: true }).setInputFiles(file);
  await page.waitForFunction((text) => document.getElementById('messages').textContent !== text, before);
  return page.locator('#messages').textContent();
}

// The screen's box in the viewport, with the whole screen scrolled into view.
export async function screenBox(page) {
  const screen = page.getByRole('img', { name: 'Boot screen', exact: true });
  await screen.evaluate((element) => element.scrollIntoView({ block: 'center' }));
  return screen.boundingBox();
}

// Clicks the centre of a cell of the screen, with the left or right button.
export async function clickCell(page, column, row, button = 'left') {
  const box = await screenBox(page);
  await page.mouse.click(box.x + (column + 0.5) * (box.width / 32), box.y + (row + 0.5) * (box.height / 128), { button });
}

export async function savedBytes(page, buttonName) {
  const [download] = await Promise.all([
    page.waitForEvent('download'),
    page.getByRole('button', { name: buttonName, exact: true }).click(),
  ]);
  const stream = await download.createReadStream();
  const chunks = [];
  for await (const chunk of stream) chunks.push(chunk);
  return { name: download.suggestedFilename(), bytes: Buffer.concat(chunks) };
}
