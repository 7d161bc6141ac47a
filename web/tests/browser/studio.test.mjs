// The studio end to end in headless Chromium: a picture in and the .tbs that tbs writes out,
// painting with undo and redo, a reload that keeps the work, hostile files, no request after
// load, the Content Security Policy, and accessibility.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { describe, test } from 'node:test';
import AxeBuilder from '@axe-core/playwright';
import {
  clickCell, dataDir, openFile, openStudio, savedBytes, screenBox, shownScreen, startServer, useServerAndBrowser, useStudioPerTest,
} from './harness.mjs';

const session = useServerAndBrowser();
let context;
let page;
useStudioPerTest(session, (c, p) => { context = c; page = p; });

const data = (name) => path.join(dataDir, name);
const commandLine = () => page.getByLabel('Command line', { exact: true }).inputValue();

// Runs the commands the page shows, as shown, in a folder that holds the file opened, with the
// tbs that TBS names (the normal build's, when the whole suite runs): they must make the bytes
// the page saved. Without TBS, the commands' words are checked against the golden files only.
async function assertCommandsMake(saved, opened) {
  if (!process.env.TBS) return;
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'studio-commands-'));
  const bin = path.join(folder, 'bin');
  fs.mkdirSync(bin);
  fs.symlinkSync(path.resolve(process.env.TBS), path.join(bin, 'tbs'));
  if (opened) fs.copyFileSync(opened, path.join(folder, path.basename(opened)));
  const commands = await commandLine();
  assert.notEqual(commands, '');
  execFileSync('bash', ['-euo', 'pipefail', '-c', commands], {
    cwd: folder, env: { ...process.env, PATH: `${bin}:${process.env.PATH}` }, stdio: ['ignore', 'inherit', 'inherit'],
  });
  assert.deepEqual(fs.readFileSync(path.join(folder, 'screen.tbs')), saved, commands);
  fs.rmSync(folder, { recursive: true });
}
const cell = (screen, column, row) => screen[row * 32 + column];
const labels = {
  fit: 'Fit', rotate: 'Rotate', dither: 'Dither', background: 'Background', levels: 'Levels',
  brightness: 'Brightness', contrast: 'Contrast', gamma: 'Gamma',
};

async function setThreshold(value) {
  await page.getByLabel('Automatic threshold', { exact: true }).uncheck();
  await page.getByLabel('Threshold', { exact: true }).fill(String(value));
}

// Sets the four inputs of the picture's or the text's area (in the Custom layout, where they
// show), shrunk first so that no step on the way leaves the display.
async function setArea(prefix, area) {
  await page.getByLabel('Layout', { exact: true }).selectOption('custom');
  const [x, y, width, height] = area.split(',');
  const input = (name) => page.getByLabel(`${prefix} ${name}`, { exact: true });
  await input('width').fill('1');
  await input('height').fill('1');
  await input('X').fill(x);
  await input('Y').fill(y);
  await input('width').fill(width);
  await input('height').fill(height);
}

// Sets the page's controls as `tbs convert` options say.
async function setOptions(words) {
  for (let i = 0; i < words.length; ++i) {
    const name = words[i].replace(/^--/, '');
    const control = page.getByLabel(labels[name] ?? 'Invert', { exact: true });
    if (name === 'area') await setArea('Picture', words[++i]);
    else if (name === 'invert') await control.check();
    else if (name === 'threshold') await setThreshold(words[++i]);
    else if (['brightness', 'contrast', 'gamma'].includes(name)) await control.fill(words[++i]);
    else await control.selectOption(words[++i]);
  }
}

// "--fit cover --invert" as sorted [name, value] pairs, a flag's value ''.
function optionPairs(text) {
  return [...text.matchAll(/--([\w-]+)(?: ([^-\s]\S*))?/g)].map((match) => `${match[1]} ${match[2] ?? ''}`).sort();
}

describe('a picture in, the screen tbs writes out', () => {
  const rows = fs.readFileSync(data('conversions.txt'), 'utf8').split('\n')
    .filter((line) => line && !line.startsWith('#') && line.split(' ')[0].endsWith('.png'));
  for (const row of rows) {
    const [picture, expected, ...words] = row.split(/\s+/);
    test(`${picture} ${words.join(' ')}`, async () => {
      assert.match(await openFile(page, data(picture)), new RegExp(`Opened ${picture}`));
      await setOptions(words);
      // The command shown gives the options set (in the table's order).
      const shown = (await commandLine()).split('\n')[0];
      assert.match(shown, new RegExp(`^tbs convert ${picture} (.*)-o screen.tbs$`));
      assert.deepEqual(optionPairs(shown.replace(/^tbs convert \S+ ?/, '').replace(/ ?-o screen.tbs$/, '')),
        optionPairs(words.join(' ')));
      const saved = await savedBytes(page, 'Save .tbs');
      assert.equal(saved.name, picture.replace(/\.png$/, '.tbs'));
      assert.deepEqual(saved.bytes, fs.readFileSync(data(expected)));
    });
  }

  const compositions = fs.readFileSync(data('compositions.txt'), 'utf8').split('\n')
    .filter((line) => line && !line.startsWith('#'));
  for (const row of compositions) {
    const [convert, lines, textOptions] = row.split('|').map((part) => part.trim());
    const [expected, picture, ...words] = convert.split(/\s+/);
    test(`${expected}: a picture and text, as tbs convert and tbs text --over make it`, async () => {
      await openFile(page, data(picture));
      await setOptions(words);
      const textWords = textOptions.split(/\s+/);
      for (let i = 0; i < textWords.length; ++i) {
        const name = textWords[i].replace(/^--/, '');
        if (name === 'area') await setArea('Text', textWords[++i]);
        else if (name === 'invert') await page.getByLabel('Dark text', { exact: true }).check();
        else if (name === 'wrap') await page.getByLabel('Wrap lines', { exact: true }).check();
        else await page.getByLabel({ rotate: 'Text rotation', font: 'Font', align: 'Align' }[name], { exact: true })
          .selectOption(textWords[++i]);
      }
      await page.getByLabel('Text', { exact: true }).fill(lines.split(';').join('\n'));
      assert.equal(await page.locator('#text-problem').textContent(), '');
      const command = (await commandLine()).split('\n')[1];
      assert.match(command, /^tbs text .* --over screen.tbs -o screen.tbs$/);
      assert.deepEqual(optionPairs(command.match(/ (--.*) --over screen.tbs -o screen.tbs$/)[1]), optionPairs(textOptions));
      const saved = await savedBytes(page, 'Save .tbs');
      assert.deepEqual(saved.bytes, fs.readFileSync(data(expected)));
      await assertCommandsMake(saved.bytes, data(picture));
    });
  }

  test("the editor's BMP and a PNG of the screen are saved too", async () => {
    await openFile(page, data('badge-default.tbs'));
    const bmp = await savedBytes(page, 'Save BMP');
    assert.deepEqual(bmp.bytes, fs.readFileSync(data('badge-default.bmp')));
    assert.equal(bmp.name, 'badge-default-screen.bmp');
    const png = await savedBytes(page, 'Save PNG');
    assert.equal(png.name, 'badge-default-screen.png');
    assert.equal(png.bytes.subarray(1, 4).toString(), 'PNG');
    assert.equal(png.bytes.readUInt32BE(16), 32);
    assert.equal(png.bytes.readUInt32BE(20), 128);
  });

  test("the editor's BMP opens cell for cell", async () => {
    const bmp = path.join(fs.mkdtempSync('/tmp/studio-'), 'screen.bmp');
    fs.copyFileSync(data('badge-default.bmp'), bmp);
    await openFile(page, data('badge-default.tbs'));
    const expected = await shownScreen(page);
    await page.getByRole('button', { name: 'All off' }).click();
    await openFile(page, bmp);
    assert.equal(await shownScreen(page), expected);
  });
});

describe("text set as the core's golden screens show it", () => {
  // tests/core/data/text: "key: value" lines naming the text and options, then 128 rows of
  // '#' (lit) and '.' (dark).
  const folder = path.join(dataDir, '..', '..', '..', 'tests', 'core', 'data', 'text');
  for (const file of fs.readdirSync(folder).filter((name) => name.endsWith('.screen'))) {
    test(file, async () => {
      const golden = { text: [], rows: '' };
      for (const line of fs.readFileSync(path.join(folder, file), 'utf8').split('\n')) {
        const [, key, value] = line.match(/^(\w+): (.*)$/) ?? [];
        if (key === 'text') golden.text.push(value);
        else if (key) golden[key] = value;
        else golden.rows += line.replace(/#/g, '1').replace(/\./g, '0');
      }
      if (golden.base === 'lit') {
        const lit = path.join(fs.mkdtempSync('/tmp/studio-text-'), 'lit.tbs');
        fs.writeFileSync(lit, '255\r\n'.repeat(512));
        await openFile(page, lit);
      }
      await page.getByLabel('Font', { exact: true }).selectOption(golden.font);
      await page.getByLabel('Text rotation', { exact: true }).selectOption(golden.rotate);
      await page.getByLabel('Align', { exact: true }).selectOption(golden.align);
      if (golden.invert === 'yes') await page.getByLabel('Dark text', { exact: true }).check();
      await page.getByLabel('Wrap lines', { exact: true }).setChecked(golden.wrap === 'yes');
      await setArea('Text', golden.area);
      await page.getByLabel('Text', { exact: true }).fill(golden.text.join('\n'));
      assert.equal(await page.locator('#text-problem').textContent(), '');
      assert.equal(await shownScreen(page), golden.rows);
    });
  }

  test('the characters typed in a row are one step to undo', async () => {
    await page.getByLabel('Text', { exact: true }).pressSequentially('ANNA');
    assert.notEqual(await shownScreen(page), '0'.repeat(4096));
    await page.getByRole('button', { name: 'Undo' }).click();
    assert.equal(await page.getByLabel('Text', { exact: true }).inputValue(), '');
    assert.equal(await shownScreen(page), '0'.repeat(4096));
    await page.getByRole('button', { name: 'Redo' }).click();
    assert.equal(await page.getByLabel('Text', { exact: true }).inputValue(), 'ANNA');
  });

  test('text that does not fit says so in the words of tbs, and sets nothing', async () => {
    await page.getByLabel('Wrap lines', { exact: true }).uncheck();
    await page.getByLabel('Font', { exact: true }).selectOption('spleen-8x16');
    await page.getByLabel('Text rotation', { exact: true }).selectOption('0');
    await page.getByLabel('Text', { exact: true }).fill('MUCH TOO LONG FOR THIS');
    assert.match(await page.getByRole('alert').textContent(), /The text is not set: .*(wide|fit)/);
    assert.equal(await shownScreen(page), '0'.repeat(4096));
    await page.getByLabel('Text', { exact: true }).fill('Ж');
    assert.match(await page.getByRole('alert').textContent(), /no bundled font has 'Ж' \(U\+0416\)/);
  });
});

describe('touch-up', () => {
  test('left paints lit, right paints dark, a drag paints every cell on its line', async () => {
    await clickCell(page, 3, 5);
    let screen = await shownScreen(page);
    assert.equal(cell(screen, 3, 5), '1');
    await page.getByRole('button', { name: 'All on' }).click();
    await clickCell(page, 3, 5, 'right');
    screen = await shownScreen(page);
    assert.equal(cell(screen, 3, 5), '0');
    assert.equal(screen.replace(/1/g, '').length, 1);

    await page.getByRole('button', { name: 'All off' }).click();
    const box = await screenBox(page);
    const at = (column, row) => [box.x + (column + 0.5) * box.width / 32, box.y + (row + 0.5) * box.height / 128];
    await page.mouse.move(...at(0, 10));
    await page.mouse.down();
    await page.mouse.move(...at(31, 20), { steps: 1 }); // one jump across the screen
    await page.mouse.up();
    screen = await shownScreen(page);
    for (let column = 0; column < 32; ++column) {
      const row = 10 + Math.round((column * 10) / 31);
      assert.ok(cell(screen, column, row) === '1' || cell(screen, column, row - 1) === '1' ||
        cell(screen, column, row + 1) === '1', `column ${column} has a lit cell near row ${row}`);
    }
    assert.ok(screen.replace(/0/g, '').length >= 32);
  });

  test('the keyboard paints the outlined cell', async () => {
    await page.getByRole('img', { name: 'Boot screen', exact: true }).focus();
    for (const key of ['ArrowRight', 'ArrowRight', 'ArrowRight', 'Shift+ArrowDown', 'ArrowUp']) await page.keyboard.press(key);
    await page.keyboard.press('Space');
    let screen = await shownScreen(page);
    assert.equal(cell(screen, 3, 7), '1');
    assert.equal(screen.replace(/0/g, '').length, 1);
    await page.keyboard.press('Shift+Space');
    screen = await shownScreen(page);
    assert.equal(screen, '0'.repeat(4096));
    await page.getByRole('button', { name: 'Undo' }).click();
    assert.equal(cell(await shownScreen(page), 3, 7), '1');
  });

  test('undo and redo by buttons and keys cover painting, commands and opening', async () => {
    const empty = await shownScreen(page);
    await openFile(page, data('badge.png'));
    const picture = await shownScreen(page);
    assert.notEqual(picture, empty);
    await clickCell(page, 0, 0);
    const painted = await shownScreen(page);
    await page.getByRole('button', { name: 'Invert all' }).click();
    const inverted = await shownScreen(page);
    assert.equal([...inverted].every((lit, i) => lit !== painted[i]), true);

    await page.keyboard.press('Control+z');
    assert.equal(await shownScreen(page), painted);
    await page.getByRole('button', { name: 'Undo' }).click();
    assert.equal(await shownScreen(page), picture);
    await page.keyboard.press('Control+z');
    assert.equal(await shownScreen(page), empty);
    assert.equal(await page.getByRole('button', { name: 'Undo' }).isDisabled(), true);
    await page.keyboard.press('Control+Shift+Z');
    assert.equal(await shownScreen(page), picture);
    await page.keyboard.press('Control+y');
    assert.equal(await shownScreen(page), painted);
    await page.getByRole('button', { name: 'Redo' }).click();
    assert.equal(await shownScreen(page), inverted);
    assert.equal(await page.getByRole('button', { name: 'Redo' }).isDisabled(), true);
  });

  test('hand edits survive an option change; Clear edits removes them', async () => {
    await openFile(page, data('badge.png'));
    await page.getByLabel('Dither', { exact: true }).selectOption('none');
    const converted = await shownScreen(page);
    await clickCell(page, 31, 127);
    await clickCell(page, 0, 0, 'right');
    await page.getByLabel('Fit', { exact: true }).selectOption('cover');
    let screen = await shownScreen(page);
    assert.equal(cell(screen, 31, 127), '1');
    assert.equal(cell(screen, 0, 0), '0');
    await page.getByLabel('Fit', { exact: true }).selectOption('contain');
    await page.getByRole('button', { name: 'Clear edits' }).click();
    screen = await shownScreen(page);
    assert.equal(screen, converted);
  });
});

test('a value typed that tbs would refuse shows its words and changes nothing', async () => {
  await openFile(page, data('badge.png'));
  await page.getByLabel('Layout', { exact: true }).selectOption('custom');
  // Each box is typed into a character at a time: the characters before the last give a value
  // that is taken, the last one a value that is not. Leaving a number's box shows the value in
  // force again; an area's boxes keep what was typed, to be put right in another of them.
  for (const [label, taken, last, words, keptOnLeaving] of [
    ['Gamma', '', '9', "--gamma takes a number from 0.2 to 5, not '9'.", false],
    ['Brightness', '10', '1', "--brightness takes a whole number from -100 to 100, not '101'.", false],
    ['Picture width', '4', '0', "--area takes X,Y,W,H, a rectangle of at least one pixel inside the 32 x 128 display, not '0,0,40,128'.", true],
  ]) {
    const box = page.getByLabel(label, { exact: true });
    const problem = page.getByRole('status').filter({ hasText: words });
    await box.selectText();
    await page.keyboard.type(taken);
    const value = await box.inputValue();
    const before = await shownScreen(page);
    await page.keyboard.type(last); // not yet left: no change event
    assert.equal(await problem.count(), 1, label);
    assert.equal(await box.getAttribute('aria-invalid'), 'true', label);
    assert.equal(await shownScreen(page), before, label);
    await box.press('Tab');
    assert.equal(await box.inputValue(), keptOnLeaving ? value + last : value, label);
    assert.equal(await box.getAttribute('aria-invalid'), keptOnLeaving ? 'true' : null, label);
    assert.equal(await problem.count(), keptOnLeaving ? 1 : 0, label);
  }
  // Put right in another box, the area is taken.
  await page.getByLabel('Picture X', { exact: true }).fill('0');
  await page.getByLabel('Picture width', { exact: true }).fill('30');
  assert.equal(await page.getByLabel('Picture width', { exact: true }).getAttribute('aria-invalid'), null);
  assert.match(await commandLine(), /--area 0,0,30,128/);
});

test('the candidates keep their order and the focus; the chosen one is pressed', async () => {
  await openFile(page, data('badge.png'));
  const strip = page.getByRole('group', { name: 'Candidates' });
  const candidates = strip.getByRole('button');
  await candidates.first().waitFor();
  assert.ok(await candidates.count() >= 5);
  const names = await candidates.allInnerTexts();
  // Named in words, with the exact options as their description.
  const pattern = strip.getByRole('button', { name: /^Pattern, threshold \d+/ });
  const exact = await pattern.evaluate((button) => document.getElementById(button.getAttribute('aria-describedby')).textContent);
  const threshold = exact.match(/^--dither bayer --threshold (\d+)$/)[1];
  await pattern.focus();
  await page.keyboard.press('Enter');
  assert.equal(await page.getByLabel('Dither', { exact: true }).inputValue(), 'bayer');
  assert.equal(await page.getByLabel('Threshold', { exact: true }).inputValue(), threshold);
  assert.equal(await page.getByLabel('Automatic threshold', { exact: true }).isChecked(), false);
  await pattern.and(page.locator('[aria-pressed="true"]')).waitFor();
  assert.deepEqual(await candidates.allInnerTexts(), names);
  assert.equal(await pattern.evaluate((button) => document.activeElement === button), true);
  assert.equal(await strip.locator('[aria-pressed="true"]').count(), 1);
});

test('a reload keeps the picture, the options, the text and the edits', async () => {
  await openFile(page, data('badge.png'));
  await page.getByLabel('Rotate', { exact: true }).selectOption('90');
  await setThreshold(90);
  await page.getByLabel('Gamma', { exact: true }).fill('1.5');
  await setArea('Picture', '0,0,32,100');
  await setArea('Text', '0,100,32,28');
  await page.getByLabel('Text', { exact: true }).fill('ANNA');
  await page.getByLabel('Dither', { exact: true }).selectOption('none');
  await clickCell(page, 7, 7);
  const before = await shownScreen(page);
  await page.evaluate(() => window.studio.kept);
  await page.reload();
  await page.waitForSelector('body[data-ready="true"]');
  assert.equal(await shownScreen(page), before);
  assert.equal(await page.getByLabel('Rotate', { exact: true }).inputValue(), '90');
  assert.equal(await page.getByLabel('Threshold', { exact: true }).inputValue(), '90');
  assert.equal(await page.getByLabel('Automatic threshold', { exact: true }).isChecked(), false);
  assert.equal(await page.getByLabel('Gamma', { exact: true }).inputValue(), '1.5');
  assert.equal(await page.getByLabel('Text', { exact: true }).inputValue(), 'ANNA');
  assert.equal(await page.getByLabel('Picture height', { exact: true }).inputValue(), '100');
  assert.equal(await page.getByLabel('Text Y', { exact: true }).inputValue(), '100');
  assert.match(await page.locator('#source-name').textContent(), /badge\.png/);
  // The options still convert the picture after the reload.
  await page.getByLabel('Dither', { exact: true }).selectOption('floyd-steinberg');
  assert.notEqual(await shownScreen(page), before);
});

test('work kept by the page before its options came from the core restores, if the core takes it', async () => {
  const key = 'tarrow-boot-screen-studio:work';
  const edits = `${'0'.repeat(40)}2${'0'.repeat(4055)}`;
  const kept = {
    version: 2, source: null, edits,
    options: { fit: 'contain', rotate: '0', dither: 'auto', threshold: 90, invert: false, background: 'black',
      levels: 'auto', brightness: -20, contrast: 0, gamma: 1.5, area: '0,0,32,128' },
    text: { text: 'ANNA', font: 'fixed-5x7', rotate: '90', align: 'right', invert: true, area: '0,100,32,28' },
  };
  await page.evaluate(([name, value]) => localStorage.setItem(name, value), [key, JSON.stringify(kept)]);
  await page.reload();
  await page.waitForSelector('body[data-ready="true"]');
  for (const [label, value] of [['Gamma', '1.5'], ['Brightness', '-20'], ['Threshold', '90'], ['Text', 'ANNA'],
    ['Font', 'fixed-5x7'], ['Text rotation', '90'], ['Align', 'right'], ['Text Y', '100'], ['Text height', '28']])
    assert.equal(await page.getByLabel(label, { exact: true }).inputValue(), value, label);
  assert.equal(await page.getByLabel('Dark text', { exact: true }).isChecked(), true);
  assert.equal(cell(await shownScreen(page), 8, 1), '1'); // the hand edit: cell 40
  assert.equal(await page.getByRole('alert').count(), 0);

  // One value the core does not take: nothing of it is restored, and the page says so.
  kept.options.threshold = 300;
  await page.evaluate(([name, value]) => localStorage.setItem(name, value), [key, JSON.stringify(kept)]);
  await page.reload();
  await page.waitForSelector('body[data-ready="true"]');
  assert.match(await page.getByRole('alert').textContent(), /could not be read again/);
  assert.equal(await page.getByLabel('Text', { exact: true }).inputValue(), '');
});

test('usable as soon as the page has loaded, and it opens again with the server gone', async () => {
  const own = await startServer();
  const tab = await context.newPage();
  await tab.goto(own.url); // returns at the load event
  assert.equal(await tab.evaluate(() => document.body.dataset.ready), 'true');
  await openFile(tab, data('badge.png'));
  await clickCell(tab, 3, 3);
  const before = await shownScreen(tab);
  await tab.evaluate(async () => {
    await window.studio.kept;
    await window.offlineKept;
    await Promise.race([navigator.serviceWorker.ready,
      new Promise((resolve, reject) => setTimeout(() => reject(new Error('no service worker')), 5000))]);
  });
  await own.stop();
  await tab.reload();
  await tab.waitForSelector('body[data-ready="true"]');
  assert.equal(await shownScreen(tab), before);
  assert.equal(await tab.getByRole('alert').count(), 0);
});

describe('hostile and odd files get a message and change nothing', () => {
  const scratch = fs.mkdtempSync('/tmp/studio-hostile-');
  const write = (name, bytes) => { fs.writeFileSync(path.join(scratch, name), bytes); return path.join(scratch, name); };
  const cases = [
    ['a text file named .png', () => write('notes.png', 'these are notes, not a picture\n'), /notes\.png: not a picture/],
    ['a cut JPEG', () => write('cut.jpg', Buffer.from([0xff, 0xd8, 0xff, 0xe0, 0, 16, 0x4a, 0x46, 0x49, 0x46, 0])), /cut\.jpg: not a picture/],
    ['a JPEG cut in half', () => data('half.jpg'), /half\.jpg: .*(damaged|incomplete)/],
    ['a .tbs with no data', () => write('empty.tbs', ''), /empty\.tbs: not a boot screen file/],
    ['a binary .tbs', () => write('binary.tbs', Buffer.alloc(4096, 0xff)), /binary\.tbs: not a boot screen file/],
    ['a 20000 x 20000 PNG', () => write('huge.png', hugePng()), /huge\.png: too large: 20000 x 20000 pixels is more than the image reader's limit of 256 MB/],
  ];
  for (const [what, make, message] of cases) {
    test(what, async () => {
      await openFile(page, data('badge.png'));
      await clickCell(page, 1, 1);
      const before = await shownScreen(page);
      const file = make();
      assert.match(await openFile(page, file), message);
      assert.equal(await page.getByRole('alert').count(), 1);
      assert.equal(await shownScreen(page), before);
      assert.match(await page.locator('#source-name').textContent(), /badge\.png/);
    });
  }

  test('a .tbs of odd lines shows the check findings and loads what the reader takes', async () => {
    const message = await openFile(page, data('odd.tbs'));
    assert.equal(message.trim(), fs.readFileSync(data('odd.check.txt'), 'utf8').trim());
    const screen = await shownScreen(page);
    assert.equal(screen.slice(29, 32), '111'); // line 1: 7
  });

  test('a 10 MB .tbs is read up to the reader\'s cap', async () => {
    const big = write('big.tbs', Buffer.from('255\r\n'.repeat(2 * 1024 * 1024)));
    const message = await openFile(page, big);
    assert.match(message, /big\.tbs:513/);
    assert.equal(await shownScreen(page), '1'.repeat(4096));
  });
});

// A PNG whose header says 20000 x 20000 grey pixels, with a real (tiny) compressed body.
function hugePng() {
  const chunk = (kind, body) => {
    const out = Buffer.alloc(12 + body.length);
    out.writeUInt32BE(body.length, 0);
    out.write(kind, 4, 'latin1');
    body.copy(out, 8);
    out.writeUInt32BE(zlib.crc32 ? zlib.crc32(Buffer.concat([Buffer.from(kind), body])) : 0, 8 + body.length);
    return out;
  };
  const header = Buffer.alloc(13);
  header.writeUInt32BE(20000, 0);
  header.writeUInt32BE(20000, 4);
  header[8] = 8; // bits
  header[9] = 0; // grey
  return Buffer.concat([Buffer.from('\x89PNG\r\n\x1a\n', 'latin1'), chunk('IHDR', header),
    chunk('IDAT', zlib.deflateSync(Buffer.alloc(20001 * 16))), chunk('IEND', Buffer.alloc(0))]);
}

test('no request after the page has loaded, and nothing the policy blocks', async () => {
  // Every request of the context, the service worker's included, from each load event on: a
  // first visit, then a reload that the worker serves. The one exception: on a first visit the
  // browser fetches the worker's own script to install it, which may land just after the load
  // event (the page asks for it early; the browser's registration takes its time).
  await context.close();
  context = await session.browser.newContext({ acceptDownloads: true });
  const requests = [];
  let loaded = false;
  let visit = '';
  context.on('request', (request) => {
    const installing = visit === 'first visit' && request.serviceWorker() && request.url().endsWith('/offline-worker.js');
    if (loaded && /^https?:/.test(request.url()) && !installing) requests.push(request.url());
  });
  page = await context.newPage();
  for (visit of ['first visit', 'reload']) {
    loaded = false;
    if (visit === 'first visit') await page.goto(session.server.url); else await page.reload();
    loaded = true;
    await openFile(page, data('badge.png'));
    await page.getByLabel('Fit', { exact: true }).selectOption('cover');
    await clickCell(page, 4, 4);
    await savedBytes(page, 'Save .tbs');
    await savedBytes(page, 'Save PNG');
    await page.keyboard.press('Control+z');
    await page.evaluate(() => Promise.all([window.studio.kept, window.offlineKept, navigator.serviceWorker.ready]));
    await page.waitForTimeout(500);
    assert.deepEqual(requests, [], visit);
  }
  await page.evaluate(() => {
    window.violations = [];
    document.addEventListener('securitypolicyviolation', (event) => window.violations.push(event.violatedDirective));
  });
  assert.deepEqual(await page.evaluate(() => window.violations), []);
  assert.equal(await page.locator('script:not([src])').count(), 0);
  // The policy is in force: an inline script put in the page does not run.
  const ran = await page.evaluate(() => {
    const script = document.createElement('script');
    script.textContent = 'window.inlineRan = true';
    document.body.append(script);
    return window.inlineRan === true;
  });
  assert.equal(ran, false);
  await page.waitForFunction(() => window.violations.length > 0);
  // Both the header and the page's meta element report it.
  assert.deepEqual([...new Set(await page.evaluate(() => window.violations))], ['script-src-elem']);
});

test('drop and paste open files like the chooser', async () => {
  const bytes = [...fs.readFileSync(data('badge.png'))];
  await page.evaluate((content) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([new Uint8Array(content)], 'dropped.png', { type: 'image/png' }));
    document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
  }, bytes);
  await page.waitForFunction(() => document.getElementById('messages').textContent.includes('dropped.png'));
  await page.evaluate((content) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([new Uint8Array(content)], 'pasted.png', { type: 'image/png' }));
    document.dispatchEvent(new ClipboardEvent('paste', { clipboardData: transfer, bubbles: true, cancelable: true }));
  }, bytes);
  await page.waitForFunction(() => document.getElementById('messages').textContent.includes('pasted.png'));
  assert.match(await page.locator('#source-name').textContent(), /pasted\.png/);
});

test('every control is reachable by its visible label, and axe finds nothing serious', async () => {
  for (const label of ['Open', 'Fit', 'Rotate', 'Dither', 'Background', 'Threshold', 'Automatic threshold',
    'Levels', 'Brightness', 'Contrast', 'Gamma', 'Invert', 'Text', 'Dark text', 'Font', 'Text rotation', 'Align',
    'Picture X', 'Picture Y', 'Picture width', 'Picture height', 'Text X', 'Text Y', 'Text width', 'Text height'])
    assert.equal(await page.getByLabel(label, { exact: true }).count(), 1, label);
  // By role, even a name matched loosely (as part of a longer one) finds one control.
  for (const [role, names] of Object.entries({
    combobox: ['Fit', 'Rotate', 'Dither', 'Levels', 'Background', 'Font', 'Text rotation', 'Align'],
    spinbutton: ['Threshold', 'Brightness', 'Contrast', 'Gamma'],
    checkbox: ['Automatic threshold', 'Invert', 'Dark text'],
    textbox: ['Text'],
    img: ['Boot screen'],
    button: ['Open', 'Undo', 'Redo', 'Invert all', 'All on', 'All off', 'Clear edits'],
  })) {
    for (const name of names) assert.equal(await page.getByRole(role, { name }).count(), 1, `${role} ${name}`);
  }
  for (const name of ['Save .tbs', 'Save PNG', 'Save BMP', 'Undo', 'Redo', 'Invert all', 'All on', 'All off', 'Clear edits'])
    assert.equal(await page.getByRole('button', { name, exact: true }).count(), 1, name);
  assert.deepEqual(await page.getByLabel('Fit', { exact: true }).locator('option').evaluateAll((o) => o.map((e) => e.value)),
    ['contain', 'cover', 'stretch', 'none']);
  assert.deepEqual(await page.getByLabel('Dither', { exact: true }).locator('option').evaluateAll((o) => o.map((e) => e.value)),
    ['auto', 'floyd-steinberg', 'atkinson', 'bayer', 'none', 'regions', 'structure']);
  // The choices show the table's words; their values are the words tbs takes.
  assert.deepEqual(await page.getByLabel('Dither', { exact: true }).locator('option').allTextContents(),
    ['Automatic', 'Fine dots', 'Light dots', 'Pattern', 'Clean shapes', 'Shaded regions', 'Shapes and edges']);
  assert.deepEqual(await page.getByLabel('Text rotation', { exact: true }).locator('option').allTextContents(),
    ['Upright', 'Top to bottom', 'Bottom to top', 'Automatic']);
  for (const [label, range] of [['Threshold', ['0', '255', '1']], ['Brightness', ['-100', '100', '1']], ['Gamma', ['0.2', '5', '0.1']]]) {
    const box = page.getByLabel(label, { exact: true });
    assert.deepEqual(await Promise.all(['min', 'max', 'step'].map((name) => box.getAttribute(name))), range, label);
  }
  await openFile(page, data('badge.png'));
  let results = await new AxeBuilder({ page }).analyze();
  assert.deepEqual(results.violations.filter((v) => v.impact === 'serious' || v.impact === 'critical')
    .map((v) => `${v.id}: ${v.help}`), []);
  await openFile(page, data('odd.tbs'));
  results = await new AxeBuilder({ page }).analyze();
  const serious = results.violations.filter((v) => v.impact === 'serious' || v.impact === 'critical');
  assert.deepEqual(serious.map((v) => `${v.id}: ${v.help}`), []);
});

describe('what a newcomer does: the screen saved is what the commands shown make', () => {
  const typeName = (lines) => async () => page.getByLabel('Text', { exact: true }).fill(lines);
  const flows = [
    ['a picture and a name: the picture above, the name wrapped below', 'badge.png', [typeName('ZOË MÜLLER')],
      [/^tbs convert badge.png --area 0,0,32,96 -o screen.tbs$/, /^tbs text 'ZOË MÜLLER' --wrap --area 0,96,32,32 --over screen.tbs -o screen.tbs$/]],
    ['zoomed in, the picture dragged and moved by keys', 'badge.png', [
      async () => page.getByLabel('Zoom', { exact: true }).fill('4'),
      async () => {
        const box = await page.getByRole('img', { name: 'Original picture' }).boundingBox();
        await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
        await page.mouse.down();
        await page.mouse.move(box.x + box.width / 2 - 30, box.y + box.height / 2 + 20, { steps: 4 });
        await page.mouse.up();
        await page.getByRole('img', { name: 'Original picture' }).press('Shift+ArrowRight');
      }],
      [/^tbs convert badge.png --crop \d+,\d+,\d+,\d+ -o screen.tbs$/]],
    ['the text above a turned picture, Invert all, then a threshold', 'badge.png', [
      typeName('HI'),
      async () => page.getByLabel('Layout', { exact: true }).selectOption('text-above-picture'),
      async () => page.getByLabel('Rotate', { exact: true }).selectOption('90'),
      async () => page.getByRole('button', { name: 'Invert all' }).click(),
      async () => setThreshold(90)],
      [/^tbs convert badge.png --rotate 90 --threshold 90 --invert --area 0,32,32,96 -o screen.tbs$/,
        /^tbs text HI --wrap --invert --area 0,0,32,32 --over screen.tbs -o screen.tbs$/]],
    ['a screen file with a name over it', 'badge-default.tbs', [typeName('ANNA')],
      [/^tbs text ANNA --wrap --area 0,96,32,32 --over badge-default.tbs -o screen.tbs$/]],
    ['text alone', null, [typeName("IT'S ME")], [/^tbs text 'IT'\\''S ME' --wrap -o screen.tbs$/]],
  ];
  const sizes = [
    ['a desktop window', { viewport: { width: 1280, height: 800 } }],
    ['a phone', { viewport: { width: 360, height: 740 }, hasTouch: true, isMobile: true }],
  ];
  for (const [size, options] of sizes) {
    for (const [what, file, steps, expected] of flows) {
      test(`${what}, on ${size}`, async () => {
        const sized = await session.browser.newContext({ acceptDownloads: true, ...options });
        const previous = page;
        page = await openStudio(sized, session.server.url);
        try {
          if (file) await openFile(page, data(file));
          for (const step of steps) await step();
          const commands = (await commandLine()).split('\n');
          assert.equal(commands.length, expected.length, commands.join('\n'));
          commands.forEach((command, i) => assert.match(command, expected[i]));
          assert.equal(await page.locator('#command-note').textContent().then((note) => /not in these/.test(note)), false);
          const saved = await savedBytes(page, 'Save .tbs');
          await assertCommandsMake(saved.bytes, file && data(file));
        } finally {
          await sized.close();
          page = previous;
        }
      });
    }
  }

  test('hand edits: the pen paints by finger, edits are shown marked, and cover-all is said', async () => {
    const touch = await session.browser.newContext({ hasTouch: true, isMobile: true, viewport: { width: 360, height: 740 } });
    const phone = await openStudio(touch, session.server.url);
    try {
      await phone.getByRole('button', { name: 'All on' }).click();
      assert.match(await phone.locator('#edits-note').textContent(), /Clear edits/);
      await phone.getByRole('radiogroup', { name: 'Pen' }).getByLabel('Dark').check();
      const screen = phone.getByRole('img', { name: 'Boot screen', exact: true });
      const box = await screenBox(phone);
      await phone.touchscreen.tap(box.x + 4.5 * box.width / 32, box.y + 9.5 * box.height / 128);
      const shown = await shownScreen(phone);
      assert.equal(cell(shown, 4, 9), '0');
      assert.equal(shown.replace(/1/g, '').length, 1);
      // Shown marked: the edited cells are drawn in other colours than converted ones.
      const colourAt = (column, row) => screen.evaluate((canvas, [c, r]) => {
        const scale = canvas.width / 32;
        return Array.from(canvas.getContext('2d').getImageData((c + 0.6) * scale, (r + 0.6) * scale, 1, 1).data).join();
      }, [column, row]);
      const plain = await colourAt(4, 9);
      await phone.getByLabel('Show edits', { exact: true }).check();
      assert.notEqual(await colourAt(4, 9), plain);
      await phone.getByRole('button', { name: 'Clear edits' }).click();
      assert.equal(await phone.locator('#edits-note').isHidden(), true);
    } finally {
      await touch.close();
    }
  });
});
