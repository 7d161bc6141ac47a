// The studio as an installed app and a screen shared by link: the manifest and its icons,
// Chromium's own installability check, a link copied in one profile and opened in another (and
// offline), a damaged or foreign link refused.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import { chromium } from 'playwright-core';
import {
  clickCell, dataDir, openFile, openStudio, savedBytes, shownScreen, startServer, useServerAndBrowser, useStudioPerTest,
} from './harness.mjs';

const session = useServerAndBrowser();
let context;
let page;
useStudioPerTest(session, (c, p) => { context = c; page = p; });

const workerReady = (tab) => tab.evaluate(() => Promise.race([navigator.serviceWorker.ready.then(() => true),
  new Promise((resolve, reject) => setTimeout(() => reject(new Error('no service worker')), 5000))]));

// A PNG's width and height from its header.
const pngSize = (bytes) => [bytes.readUInt32BE(16), bytes.readUInt32BE(20)];

test('the manifest names the studio, its icons and the files it opens; Chromium finds nothing missing to install it', async () => {
  // Installability is judged for a profile kept on disk, as an owner's is.
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'studio-profile-'));
  const persistent = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--no-first-run', '--disable-quic'],
  });
  try {
    const tab = await openStudio(persistent, session.server.url);
    await workerReady(tab);
    const cdp = await persistent.newCDPSession(tab);
    const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors, []);
    const { url, errors, data } = await cdp.send('Page.getAppManifest');
    assert.deepEqual(errors, []);
    const manifest = JSON.parse(data);
    assert.equal(manifest.display, 'standalone');
    assert.ok(manifest.name && manifest.short_name && manifest.description);
    assert.equal(new URL(manifest.start_url, url).href, session.server.url);
    assert.equal(new URL(manifest.scope, url).href, session.server.url);
    assert.match(manifest.theme_color, /^#[0-9a-f]{6}$/);
    assert.match(manifest.background_color, /^#[0-9a-f]{6}$/);
    // The product icon at 192 and 512 px, for any use and maskable.
    const icons = new Set();
    for (const icon of manifest.icons) {
      const response = await tab.request.get(new URL(icon.src, url).href);
      assert.equal(response.headers()['content-type'], 'image/png', icon.src);
      assert.deepEqual(pngSize(await response.body()), icon.sizes.split('x').map(Number), icon.src);
      icons.add(`${icon.sizes} ${icon.purpose}`);
    }
    for (const size of ['192x192', '512x512']) for (const purpose of ['any', 'maskable'])
      assert.ok(icons.has(`${size} ${purpose}`), `${size} ${purpose}`);
    // .tbs files under the type the Debian package registers, and the pictures the page opens.
    const registered = fs.readFileSync(path.join(dataDir, '..', '..', '..', 'packaging', 'org.tarrow.BootScreenEditor.mime.xml'), 'utf8')
      .match(/mime-type type="([^"]+)"/)[1];
    const accepted = manifest.file_handlers[0].accept;
    assert.deepEqual(accepted[registered], ['.tbs']);
    for (const type of ['image/png', 'image/jpeg', 'image/gif', 'image/bmp', 'image/webp']) assert.ok(accepted[type], type);
  } finally {
    await persistent.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
});

test('a link copied in one profile opens the same screen in another, offline too, as a step to undo', async () => {
  await context.grantPermissions(['clipboard-read', 'clipboard-write'], { origin: session.server.url });
  await openFile(page, path.join(dataDir, 'badge.png'));
  await clickCell(page, 2, 2);
  await page.getByRole('button', { name: 'Copy link' }).click();
  const link = await page.evaluate(() => navigator.clipboard.readText());
  assert.ok(link.startsWith(session.server.url) && link.length <= 1000, link);
  const saved = await savedBytes(page, 'Save .tbs');

  const other = await session.browser.newContext({ acceptDownloads: true });
  try {
    const tab = await openStudio(other, session.server.url);
    await clickCell(tab, 30, 120); // work of its own, which the link's screen replaces as one step
    const before = await shownScreen(tab);
    await workerReady(tab);
    await other.setOffline(true);
    // Pasted into the address bar of a tab already open: only the fragment changes.
    await tab.evaluate((href) => { location.href = href; }, link);
    await tab.waitForFunction(() => /link/i.test(document.getElementById('messages').textContent));
    assert.deepEqual((await savedBytes(tab, 'Save .tbs')).bytes, saved.bytes);
    await tab.getByRole('button', { name: 'Undo' }).click();
    assert.equal(await shownScreen(tab), before);
    // Opened afresh, with the network gone.
    const fresh = await other.newPage();
    await fresh.goto(link);
    await fresh.waitForSelector('body[data-ready="true"]');
    assert.deepEqual((await savedBytes(fresh, 'Save .tbs')).bytes, saved.bytes);
  } finally {
    await other.close();
  }
});

test('a damaged or foreign link gets a message and changes nothing', async () => {
  const good = await page.evaluate(() => window.studio.link());
  const fragment = good.slice(good.indexOf('#'));
  for (const bad of ['#screen=AAAA', `${fragment.slice(0, -1)}*`, `${fragment}A`, '#section-2', '#picture=abc']) {
    const tab = await context.newPage();
    await tab.goto(`${session.server.url}${bad}`);
    await tab.waitForSelector('body[data-ready="true"]');
    assert.match(await tab.getByRole('alert').textContent(), /link/, bad);
    assert.equal(await shownScreen(tab), '0'.repeat(4096), bad);
    await tab.close();
  }
});

test('a new version waits for the next start and says so; the page at work is not swapped', async () => {
  // A copy of the site, whose worker is then changed as a new build would change it.
  const root = fs.mkdtempSync(path.join(os.tmpdir(), 'studio-site-'));
  fs.cpSync(path.join(dataDir, '..', '..', '..', 'build-web', 'site'), root, { recursive: true });
  const own = await startServer(root);
  try {
    const tab = await context.newPage();
    await tab.goto(own.url);
    await tab.waitForSelector('body[data-ready="true"]');
    await workerReady(tab);
    await clickCell(tab, 5, 5);
    const before = await shownScreen(tab);
    const first = await tab.evaluate(() => navigator.serviceWorker.controller?.scriptURL ?? null);
    assert.ok(first);
    fs.appendFileSync(path.join(root, 'offline-worker.js'), '\n// a new build\n');
    const cdp = await context.newCDPSession(tab);
    await cdp.send('Network.clearBrowserCache');
    await tab.evaluate(async () => (await navigator.serviceWorker.getRegistration()).update());
    await tab.waitForFunction(() => /new version/.test(document.getElementById('messages').textContent));
    assert.equal(await tab.evaluate(async () => (await navigator.serviceWorker.getRegistration()).waiting !== null), true);
    assert.equal(await shownScreen(tab), before);
  } finally {
    await own.stop();
    fs.rmSync(root, { recursive: true, force: true });
  }
});

test('a file the system hands the installed studio opens as with Open', async () => {
  // The browser's launch queue, as an installed app gets it when opened with a file.
  const tab = await context.newPage();
  await tab.addInitScript(() => {
    Object.defineProperty(window, 'launchQueue', {
      configurable: true, value: { setConsumer: (consumer) => { window.launchConsumer = consumer; } },
    });
  });
  await tab.goto(session.server.url);
  await tab.waitForSelector('body[data-ready="true"]');
  const bytes = [...fs.readFileSync(path.join(dataDir, 'badge-default.tbs'))];
  await tab.evaluate((content) => window.launchConsumer({
    files: [{ kind: 'file', getFile: async () => new File([new Uint8Array(content)], 'badge-default.tbs') }],
  }), bytes);
  await tab.waitForFunction(() => /Opened badge-default\.tbs/.test(document.getElementById('messages').textContent));
  const saved = await savedBytes(tab, 'Save .tbs');
  assert.deepEqual(saved.bytes, fs.readFileSync(path.join(dataDir, 'badge-default.tbs')));
  assert.equal(saved.name, 'badge-default.tbs');
});
