// The WebAssembly binding against what tbs writes for the same input (web/tests/data, made by
// make-golden.sh): conversions, the .tbs reader and writer, the check's words, the editor's BMP.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { before, describe, test } from 'node:test';
import { type CommandName, type OptionValue, type OptionValues, OptionsRefused, type StudioCore } from '../../src/core';
import { defaultValues } from '../../src/options';
import { loadCore } from './corefortests';

declare const STUDIO_DATA_DIR: string;
const data = (name: string): Buffer => fs.readFileSync(path.join(STUDIO_DATA_DIR, name));

// A binary PPM (P6, 8 bits) as straight RGBA.
function readPpm(bytes: Buffer): { rgba: Uint8Array; width: number; height: number } {
  const header = bytes.toString('latin1', 0, 64).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  if (!header) throw new Error('not an 8-bit binary PPM');
  const width = Number(header[1]);
  const height = Number(header[2]);
  const rgb = bytes.subarray(header[0].length);
  const rgba = new Uint8Array(width * height * 4);
  for (let i = 0; i < width * height; ++i) {
    rgba.set(rgb.subarray(i * 3, i * 3 + 3), i * 4);
    rgba[i * 4 + 3] = 255;
  }
  return { rgba, width, height };
}

let core: StudioCore;
before(async () => { core = await loadCore(); });

// The options of a tbs command, as typed after it, as the studio's values; the table says which
// are flags.
function valuesOf(command: CommandName, words: string[] = []): Record<string, OptionValue> {
  const rows = core.vocabulary.commands[command];
  const values = defaultValues(rows);
  for (let i = 0; i < words.length; ++i) {
    const row = rows.find((each) => `--${each.name}` === words[i]);
    assert.ok(row, `${command} takes no ${words[i]}`);
    values[row.name] = row.kind === 'flag' ? true : words[++i];
  }
  return values;
}

describe('conversion gives the screen tbs writes', () => {
  const rows = fs.readFileSync(path.join(STUDIO_DATA_DIR, 'conversions.txt'), 'utf8')
    // Node has no picture decoder: the binding takes the PPM rows, the page test the others.
    .split('\n').filter((line) => line && !line.startsWith('#') && line.split(' ')[0].endsWith('.ppm'));
  assert.ok(rows.length >= 5);
  for (const row of rows) {
    const [picture, expected, ...words] = row.split(/\s+/);
    test(`${picture} ${words.join(' ') || '(defaults)'}`, () => {
      const { rgba, width, height } = readPpm(data(picture));
      const held = core.hold(rgba, width, height);
      assert.ok(held);
      const options = valuesOf('convert', words);
      const { screen } = core.convertLevels(core.pictureLevels(held, options), options);
      core.release(held);
      assert.deepEqual(Buffer.from(core.writeTbs(screen)), data(expected));
    });
  }
});

test('a reduced copy lands where the full picture would', () => {
  // The same flat picture at a quarter of the size, told its full size: the same screen.
  const full = new Uint8Array(400 * 100 * 4).fill(255);
  const reduced = new Uint8Array(100 * 25 * 4).fill(255);
  const options = valuesOf('convert', ['--fit', 'none']);
  const fromFull = core.hold(full, 400, 100)!;
  const fromReduced = core.hold(reduced, 100, 25, 400, 100)!;
  const screenOf = (held: NonNullable<typeof fromFull>) => core.convertLevels(core.pictureLevels(held, options), options).screen;
  const expected = screenOf(fromFull);
  assert.deepEqual(screenOf(fromReduced), expected);
  assert.notDeepEqual(screenOf(core.hold(reduced, 100, 25)!), expected);
});

describe('options the core does not take are refused in the words of tbs, not guessed', () => {
  const refusals: [string, OptionValues, RegExp][] = [
    ['an unknown fit', { fit: 'zoom' }, /^--fit takes contain, cover, stretch, none, not 'zoom'\.$/],
    ['a turn of no choice', { rotate: '45' }, /^--rotate takes 0, 90, 180, 270, auto, not '45'\.$/],
    ['a method cut short', { dither: 'floyd' }, /^--dither takes auto, floyd-steinberg, .*, not 'floyd'\.$/],
    ['a threshold too high', { threshold: '256' }, /^--threshold takes auto or a whole number from 0 to 255, not '256'\.$/],
    ['a threshold below 0', { threshold: '-1' }, /^--threshold takes .* not '-1'\.$/],
    ['a threshold not whole', { threshold: '12.5' }, /^--threshold takes .* not '12\.5'\.$/],
    ['an unknown background', { background: 'grey' }, /^--background takes black, white, not 'grey'\.$/],
    ['levels as a number', { levels: '1' }, /^--levels takes auto, none, not '1'\.$/],
    ['a brightness too high', { brightness: '101' }, /^--brightness takes a whole number from -100 to 100, not '101'\.$/],
    ['a contrast too low', { contrast: '-101' }, /^--contrast takes .* not '-101'\.$/],
    ['a gamma too low', { gamma: '0.1' }, /^--gamma takes a number from 0\.2 to 5, not '0\.1'\.$/],
    ['a gamma too high', { gamma: '5.5' }, /^--gamma takes .* not '5\.5'\.$/],
    ['a gamma not a number', { gamma: 'NaN' }, /^--gamma takes .* not 'NaN'\.$/],
    ['an empty value', { dither: '' }, /^--dither takes .* not ''\.$/],
    ['an area off the display', { area: '0,100,32,29' }, /^--area takes X,Y,W,H, a rectangle of at least one pixel inside the 32 x 128 display, not '0,100,32,29'\.$/],
    ['an option tbs does not have', { zoom: '2' }, /^Unknown option 'zoom'\.$/],
    ["an option of the tool's own, not the studio's", { output: 'x.tbs' }, /^Unknown option 'output'\.$/],
    ['a flag with a value', { invert: 'yes' }, /^Unexpected value after '--invert'\.$/],
    ['a value with a line break', { fit: 'cover\ninvert' }, /line break/],
  ];
  for (const [what, bad, words] of refusals) {
    test(what, () => {
      const held = core.hold(new Uint8Array(4).fill(255), 1, 1)!;
      const good = valuesOf('convert');
      const levels = core.pictureLevels(held, good);
      const options = { ...good, ...bad };
      assert.match(core.problem('convert', options), words);
      for (const refusing of [() => core.pictureLevels(held, options), () => core.convertLevels(levels, options),
        () => core.compare(levels, options)])
        assert.throws(refusing, (error: Error) => error instanceof OptionsRefused && words.test(error.message));
      core.release(held);
    });
  }
});

test('the table the page builds its controls from agrees with what the core takes', () => {
  const labels = new Set<string>();
  for (const [command, rows] of Object.entries(core.vocabulary.commands) as [CommandName, typeof core.vocabulary.commands.convert][]) {
    assert.ok(rows.length > 0, command);
    const defaults = defaultValues(rows);
    assert.equal(core.problem(command, defaults), '', `${command}: the defaults`);
    const taken = (name: string, value: OptionValue) => core.problem(command, { ...defaults, [name]: value }) === '';
    for (const row of rows) {
      const what = `${command} ${row.name}`;
      // Every label but the area's (its boxes are named by the page) names one control of the
      // page: no two alike.
      assert.ok(row.label, what);
      if (row.kind !== 'area') assert.ok(!labels.has(row.label), `${what}: label ${row.label} twice`);
      labels.add(row.label);
      assert.ok(!/\uFFFD/.test(JSON.stringify(row)), `${what}: words that did not cross whole`);
      if (row.kind === 'flag') {
        assert.ok(taken(row.name, true) && taken(row.name, false), what);
      } else if (row.kind === 'choice') {
        assert.ok(row.choices.length > 1, what);
        for (const choice of row.choices) assert.ok(taken(row.name, choice.value) && choice.label, `${what} ${choice.value}`);
        assert.ok(!taken(row.name, `${row.choices[0].value}x`), what);
      } else if (row.kind === 'whole' || row.kind === 'number') {
        assert.ok(row.minimum < row.maximum && row.step > 0, what);
        for (const value of [row.minimum, row.maximum, row.minimum + row.step])
          assert.ok(taken(row.name, String(value)), `${what} ${value}`);
        for (const value of [row.minimum - row.step, row.maximum + row.step])
          assert.ok(!taken(row.name, String(value)), `${what} ${value}`);
        if (row.automatic) assert.ok(taken(row.name, row.automatic), what);
      } else if (row.kind === 'rectangle') {
        // A crop: any rectangle of whole pixels; whether it lies on the picture is the picture's.
        assert.ok(taken(row.name, '0,0,1,1') && !taken(row.name, '0,0,0,1'), what);
      } else {
        assert.equal(row.kind, 'area', what);
        const { columns, rows: displayRows } = core.vocabulary.display;
        assert.equal(row.default, `0,0,${columns},${displayRows}`, what);
        assert.ok(taken(row.name, `${columns - 1},${displayRows - 1},1,1`) && !taken(row.name, `${columns},0,1,1`), what);
      }
    }
  }
  // The display's size and the screens the module hands out agree.
  const { columns, rows } = core.vocabulary.display;
  assert.equal(core.readTbs(new Uint8Array(0)).screen.length, columns * rows);
});

test("the blank result's warning names the studio's own controls", () => {
  // A picture of two greys, both below the threshold: all dark, from a picture that is not flat.
  const rgba = new Uint8Array(2 * 4).fill(255);
  rgba.set([40, 40, 40], 0);
  rgba.set([60, 60, 60], 4);
  const held = core.hold(rgba, 2, 1)!;
  const options = valuesOf('convert', ['--levels', 'none', '--dither', 'none', '--threshold', '200']);
  const conversion = core.convertLevels(core.pictureLevels(held, options), options);
  core.release(held);
  assert.equal(conversion.blank, true);
  assert.ok(!conversion.screen.includes(1));
  const rows = core.vocabulary.commands.convert;
  const label = (name: string) => rows.find((row) => row.name === name)!.label;
  const { blankResultDark, blankResultLit } = core.vocabulary.words;
  for (const words of [blankResultDark, blankResultLit]) {
    assert.ok(words.includes(label('invert')) && words.includes(label('background')), words);
    assert.ok(!words.includes('--'), words);
  }
  assert.notEqual(blankResultDark, blankResultLit);
});

describe('a drag paints the cells the editor paints', () => {
  // tests/data/drag-lines.txt, written from the editor: "FROM TO: CELLS", each cell column,row.
  const golden = fs.readFileSync(path.join(STUDIO_DATA_DIR, '..', '..', '..', 'tests', 'data', 'drag-lines.txt'), 'utf8')
    .split('\n').filter((line) => line && !line.startsWith('#'));
  const cell = (text: string) => text.split(',').map(Number) as [number, number];
  const named = (cells: number[]) => cells.map((index) => `${index % 32},${Math.floor(index / 32)}`).join(' ');
  test(`the ${golden.length} lines from a start to each cell of the 8 x 8 block around it`, () => {
    assert.equal(golden.length, 64);
    for (const line of golden) {
      const [, from, to, cells] = line.match(/^(\S+) (\S+): (.*)$/)!;
      assert.equal(named(core.cellsOnLine(cell(from), cell(to))), cells, line);
    }
  });

  for (const [what, from, to, cells] of [
    ['a cell on its own', '5,7', '5,7', '5,7'],
    ['a line leaving the display keeps the cells on it', '30,0', '40,5', '30,0 31,0'],
    ['a line from off the display, in order from its start', '-3,127', '2,124', '0,125 1,125 2,124'],
    ['a line wholly off the display', '-5,-5', '-1,-9', ''],
    ['a start far beyond any screen', '-100000,0', '3,0', ''],
  ] as const) {
    test(what, () => assert.equal(named(core.cellsOnLine(cell(from), cell(to))), cells));
  }
});

test('names and sizes are judged as tbs judges them', () => {
  assert.ok(core.isTbsName('logo.TBS') && !core.isTbsName('logo.tbs.png'));
  assert.equal(core.pictureSizeProblem(4000, 3000), null);
  assert.equal(core.pictureSizeProblem(20000, 20000),
    "too large: 20000 x 20000 pixels is more than the image reader's limit of 256 MB");
});

describe('reading .tbs files', () => {
  test('a file as written reads back to its screen, and writes back byte for byte', () => {
    const bytes = data('badge-default.tbs');
    const { screen, takenLines } = core.readTbs(bytes);
    assert.equal(takenLines, 512);
    assert.deepEqual(core.checkTbs(bytes, 'badge-default.tbs'), []);
    assert.deepEqual(Buffer.from(core.writeTbs(screen)), bytes);
  });

  test('odd lines get the findings of tbs check, in its words', () => {
    const expected = data('odd.check.txt').toString('utf8').trimEnd().split('\n');
    assert.deepEqual(core.checkTbs(data('odd.tbs'), 'odd.tbs'), expected);
    const { screen, takenLines } = core.readTbs(data('odd.tbs'));
    assert.equal(takenLines, 5); // lines 1, 2, 5, 6, 7
    // Line 1 is entry 0: 7 lights the three rightmost columns of row 0.
    assert.deepEqual([...screen.subarray(29, 32)], [1, 1, 1]);
  });

  for (const [name, bytes] of [
    ['empty', Buffer.alloc(0)],
    ['binary', Buffer.from([0, 1, 2, 3, 255, 254])],
    ['only long lines', Buffer.from('1234\r\n99999\r\n')],
  ] as const) {
    test(`${name}: no line taken`, () => {
      assert.equal(core.readTbs(bytes).takenLines, 0);
    });
  }
});

describe("the editor's bitmap", () => {
  test('writes what tbs writes', () => {
    const { screen } = core.readTbs(data('badge-default.tbs'));
    assert.deepEqual(Buffer.from(core.writeEditorBitmap(screen)), data('badge-default.bmp'));
  });

  test('reads back cell for cell, and other pictures are not taken for it', () => {
    const { screen } = core.readTbs(data('badge-default.tbs'));
    // The 1-bit BMP drawn as RGBA: rows bottom-up, 20 bytes each after the 62-byte header.
    const bmp = core.writeEditorBitmap(screen);
    const rgba = new Uint8Array(160 * 640 * 4);
    for (let y = 0; y < 640; ++y) {
      for (let x = 0; x < 160; ++x) {
        const bit = (bmp[62 + (639 - y) * 20 + (x >> 3)] >> (7 - (x & 7))) & 1;
        rgba.fill(bit ? 255 : 0, (y * 160 + x) * 4, (y * 160 + x) * 4 + 3);
        rgba[(y * 160 + x) * 4 + 3] = 255;
      }
    }
    assert.deepEqual(core.readEditorBitmap(rgba, 160, 640), screen);
    rgba[0] = 128; // a grey pixel: a picture of that size, not the editor's bitmap
    assert.equal(core.readEditorBitmap(rgba, 160, 640), null);
    assert.equal(core.readEditorBitmap(new Uint8Array(4 * 4 * 4), 4, 4), null);
  });
});

describe('text', () => {
  const blank = new Uint8Array(4096);
  for (const [what, text, change, expected] of [
    ['a character no font has', 'Ж', {}, /^no bundled font has 'Ж' \(U\+0416\)$/],
    ['text too long for the smallest font', 'W'.repeat(40), {}, /^the text does not fit: in the smallest font, fixed-4x6, it is 160 x 6 pixels/],
    ['an area off the display', 'A', { area: '30,0,4,8' }, /^--area takes X,Y,W,H, .* not '30,0,4,8'\.$/],
    ['a font not bundled', 'A', { font: 'comic-sans' }, /^--font takes auto, fixed-4x6, .* not 'comic-sans'\.$/],
    ['a turn text does not take', 'A', { rotate: '180' }, /^--rotate takes 0, 90, 270, auto, not '180'\.$/],
    ['an option of convert', 'A', { dither: 'none' }, /^Unknown option 'dither'\.$/],
  ] as const) {
    test(`${what} is refused with a reason`, () => {
      const result = core.setText(blank, text, { ...valuesOf('text'), ...change });
      assert.equal(typeof result, 'string');
      assert.match(result as string, expected);
    });
  }

  test('only the area changes, as tbs text --over leaves the rest', () => {
    const base = new Uint8Array(4096).fill(1);
    const screen = core.setText(base, 'ANNA', valuesOf('text', ['--area', '0,96,32,32', '--rotate', 'auto']));
    assert.ok(screen instanceof Uint8Array);
    assert.deepEqual([...screen.subarray(0, 96 * 32)], [...base.subarray(0, 96 * 32)]);
    const inside = screen.subarray(96 * 32);
    assert.ok(inside.includes(0) && inside.includes(1), 'the area holds dark ground and lit text');
  });
});

describe('links hold the screen as tbs link writes it', () => {
  // tests/data/links/links.txt, the rows tst_tbs runs tbs over: FILE BASE LINK, - for none.
  const folder = path.join(STUDIO_DATA_DIR, '..', '..', '..', 'tests', 'data', 'links');
  const rows = fs.readFileSync(path.join(folder, 'links.txt'), 'utf8').split('\n')
    .filter((line) => line && !line.startsWith('#')).map((line) => line.split(' '));
  assert.ok(rows.length >= 8 && rows.every((row) => row.length === 3));
  for (const [index, [file, base, link]] of rows.entries()) {
    test(`${index + 1} ${file === '-' ? 'no screen' : file}`, () => {
      const read = core.linkScreen(link);
      if (file === '-') {
        assert.equal(read, core.vocabulary.words.notAScreenLink);
        return;
      }
      const bytes = fs.readFileSync(path.join(folder, file));
      assert.ok(typeof read !== 'string', read as string);
      assert.deepEqual(Buffer.from(core.writeTbs(read)), bytes);
      assert.deepEqual(core.screenLink(core.readTbs(bytes).screen, base === '-' ? '' : base), { link });
    });
  }

  test('a page address too long for a link is refused with the reason', () => {
    const screen = new Uint8Array(core.cellCount);
    const longest = `https://${'a'.repeat(301)}`;
    const made = core.screenLink(screen, longest);
    assert.ok('link' in made && made.link.length === 1000);
    const refused = core.screenLink(screen, `${longest}a`);
    assert.ok('problem' in refused && /^the page's address is 310 characters long/.test(refused.problem), JSON.stringify(refused));
  });
});

test('the module starts where the browser refuses to compile it at once, as older Chromium does', { timeout: 20_000 }, async () => {
  const compileAtOnce = WebAssembly.Module;
  (WebAssembly as { Module: unknown }).Module = function refused() {
    throw new RangeError('WebAssembly.Compile is disallowed on the main thread, if the buffer size is larger than 4KB');
  };
  try {
    const started = await loadCore();
    assert.deepEqual(started.vocabulary, core.vocabulary);
  } finally {
    (WebAssembly as { Module: unknown }).Module = compileAtOnce;
  }
});
