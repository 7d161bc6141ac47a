// The workspace at a desktop's, a tablet's and a phone's size, in the light and the dark theme:
// nothing scrolls sideways, the screen and Save .tbs stay in view while the controls scroll, a
// refused file's message shows where it can be read, axe finds nothing, and on a touch screen
// every target is big enough for a finger.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import AxeBuilder from '@axe-core/playwright';
import { dataDir, openFile, openStudio, useServerAndBrowser } from './harness.mjs';

const session = useServerAndBrowser();

const sizes = [
  // `sticks`: the stage (screen, status line, candidates) stays beside the controls as they scroll.
  { name: 'desktop', viewport: { width: 1280, height: 800 }, sticks: true },
  { name: 'tablet', viewport: { width: 768, height: 1024 }, sticks: true },
  { name: 'phone', viewport: { width: 360, height: 740 }, hasTouch: true, isMobile: true, sticks: false },
];

const scratch = fs.mkdtempSync('/tmp/studio-workspace-');
const refused = path.join(scratch, 'x.png');
fs.writeFileSync(refused, 'not a picture at all\n');

// The part of the element's box outside the viewport, in words; '' when all of it is inside.
async function outside(locator) {
  const box = await locator.boundingBox();
  if (!box) return 'not shown';
  const { width, height } = locator.page().viewportSize();
  const off = [];
  if (box.x < 0) off.push(`${-box.x}px left`);
  if (box.y < 0) off.push(`${-box.y}px above`);
  if (box.x + box.width > width) off.push(`${box.x + box.width - width}px right`);
  if (box.y + box.height > height) off.push(`${box.y + box.height - height}px below`);
  return off.join(', ');
}

// How far the page scrolls sideways.
const sideways = (page) => page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);

// The targets a finger must hit smaller than 44 x 44 CSS pixels: buttons (and the label that is
// the Open button), lists, section headings, and check boxes and radios measured with their
// labels, every section opened.
function smallTargets(page) {
  return page.evaluate(() => {
    for (const section of document.querySelectorAll('details')) section.open = true;
    const small = [];
    const targets = document.querySelectorAll('button, .button, select, summary, input[type="checkbox"], input[type="radio"]');
    for (const target of targets) {
      if (!target.checkVisibility()) continue;
      const boxes = [target, ...(target.labels ?? [])].map((each) => each.getBoundingClientRect());
      const width = Math.max(...boxes.map((box) => box.right)) - Math.min(...boxes.map((box) => box.left));
      const height = Math.max(...boxes.map((box) => box.bottom)) - Math.min(...boxes.map((box) => box.top));
      const name = target.labels?.[0]?.textContent || target.textContent || target.id;
      if (width < 44 || height < 44) small.push(`${target.localName} "${name.trim()}": ${width} x ${height}`);
    }
    return small;
  });
}

for (const { name, sticks, ...size } of sizes) {
  for (const colorScheme of ['light', 'dark']) {
    test(`${name} ${size.viewport.width} x ${size.viewport.height}, ${colorScheme}`, async () => {
      const context = await session.browser.newContext({ ...size, colorScheme });
      try {
        const page = await openStudio(context, session.server.url);
        await openFile(page, path.join(dataDir, 'badge.png'));
        await page.getByRole('group', { name: 'Candidates' }).getByRole('button').first().waitFor();
        const screen = page.getByRole('img', { name: 'Boot screen', exact: true });
        const save = page.getByRole('button', { name: 'Save .tbs', exact: true });

        assert.equal(await sideways(page), 0, 'the page scrolls sideways');
        assert.equal(await outside(screen), '', 'the screen');
        assert.equal(await outside(save), '', 'Save .tbs');
        const axe = await new AxeBuilder({ page }).analyze();
        assert.deepEqual(axe.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`), []);
        if (size.hasTouch) assert.deepEqual(await smallTargets(page), []);

        // The controls scrolled to their end: the bar stays, and the screen beside them.
        await page.evaluate(() => window.scrollTo(0, document.documentElement.scrollHeight));
        assert.ok(await page.evaluate(() => window.scrollY) > 0, 'the controls do not scroll');
        assert.equal(await outside(save), '', 'Save .tbs, scrolled');
        if (sticks) assert.equal(await outside(screen), '', 'the screen, scrolled');

        // A file opened from there that is refused: its message is in view.
        await openFile(page, refused);
        const message = page.getByRole('alert').filter({ hasText: 'x.png' });
        assert.equal(await outside(message), '', 'the message');
        assert.equal(await sideways(page), 0, 'the page scrolls sideways with the message');
      } finally {
        await context.close();
      }
    });
  }
}
