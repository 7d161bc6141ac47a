// The WebAssembly binding against what tbs writes for the same input (web/tests/data, made by
// make-golden.sh): conversions, the .tbs reader and writer, the check's words, the editor's BMP.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { before, describe, test } from 'node:test';
import type { StudioCore } from '../../src/core';
import { coreOptions, DefaultOptions, type Options } from '../../src/options';
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

// `tbs convert` options as the studio's.
function optionsOf(words: string[]): Options {
  const options: Options = { ...DefaultOptions };
  for (let i = 0; i < words.length; ++i) {
    const name = words[i].replace(/^--/, '');
    if (name === 'invert') options.invert = true;
    else if (name === 'threshold') options.threshold = Number(words[++i]);
    else if (name === 'brightness' || name === 'contrast' || name === 'gamma') options[name] = Number(words[++i]);
    else if (name === 'rotate') options.rotate = words[++i] as Options['rotate'];
    else (options as unknown as Record<string, string>)[name] = words[++i];
  }
  return options;
}

let core: StudioCore;
before(async () => { core = await loadCore(); });

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
      const options = coreOptions(optionsOf(words));
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
  const options = coreOptions({ ...DefaultOptions, fit: 'none' });
  const fromFull = core.hold(full, 400, 100)!;
  const fromReduced = core.hold(reduced, 100, 25, 400, 100)!;
  const screenOf = (held: NonNullable<typeof fromFull>) => core.convertLevels(core.pictureLevels(held, options), options).screen;
  const expected = screenOf(fromFull);
  assert.deepEqual(screenOf(fromReduced), expected);
  assert.notDeepEqual(screenOf(core.hold(reduced, 100, 25)!), expected);
});

test('bad options are refused, not guessed', () => {
  const held = core.hold(new Uint8Array(4).fill(255), 1, 1)!;
  const levels = core.pictureLevels(held, coreOptions(DefaultOptions));
  for (const bad of [{ fit: 4 }, { rotation: -1 }, { dither: 5 }, { threshold: 256 }, { threshold: -2 },
    { threshold: 12.5 }, { background: 2 }, { levels: 2 }, { brightness: 101 }, { contrast: -101 },
    { gamma: 0.1 }, { gamma: 5.5 }, { gamma: NaN }]) {
    const options = { ...coreOptions(DefaultOptions), ...bad };
    assert.throws(() => core.pictureLevels(held, options), /bad conversion options/, JSON.stringify(bad));
    assert.throws(() => core.convertLevels(levels, options), /bad conversion options/, JSON.stringify(bad));
    assert.throws(() => core.compare(levels, options), /bad conversion options/, JSON.stringify(bad));
  }
});

test('the candidates of tbs compare each come with the options that make them', () => {
  const { rgba, width, height } = readPpm(data('gradient.ppm'));
  const held = core.hold(rgba, width, height)!;
  const given = coreOptions(DefaultOptions);
  const levels = core.pictureLevels(held, given);
  const candidates = core.compare(levels, given);
  // The automatic choice first, then each method and several plain thresholds, none twice.
  assert.ok(candidates.length >= 6, `${candidates.length} candidates`);
  assert.deepEqual(candidates[0], core.convertLevels(levels, given));
  const seen = new Set<string>();
  for (const candidate of candidates) {
    const key = `${candidate.dither}/${candidate.threshold}`;
    assert.ok(!seen.has(key), `${key} shown twice`);
    seen.add(key);
    const again = core.convertLevels(levels, { ...given, dither: candidate.dither, threshold: candidate.threshold });
    assert.deepEqual(again.screen, candidate.screen, key);
  }
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
  test('the bundled fonts, smallest first, from about 4 x 6 to 8 x 16', () => {
    const fonts = core.fonts();
    assert.ok(fonts.length >= 5, `${fonts.length} fonts`);
    assert.deepEqual(fonts.at(0), { name: 'fixed-4x6', width: 4, height: 6 });
    assert.deepEqual(fonts.at(-1), { name: 'spleen-8x16', width: 8, height: 16 });
    for (let i = 1; i < fonts.length; ++i)
      assert.ok(fonts[i].height > fonts[i - 1].height && fonts[i].width >= fonts[i - 1].width, fonts[i].name);
  });

  const whole = { x: 0, y: 0, width: 32, height: 128 };
  const blank = new Uint8Array(4096);
  for (const [what, text, font, area, words] of [
    ['a character no font has', 'Ж', 'auto', whole, /^no bundled font has 'Ж' \(U\+0416\)$/],
    ['text too long for the smallest font', 'W'.repeat(40), 'auto', whole, /^the text does not fit: in the smallest font, fixed-4x6, it is 160 x 6 pixels/],
    ['an area off the display', 'A', 'auto', { x: 30, y: 0, width: 4, height: 8 }, /not ones the studio offers/],
    ['a font not bundled', 'A', 'comic-sans', whole, /not ones the studio offers/],
  ] as const) {
    test(`${what} is refused with a reason`, () => {
      const result = core.setText(blank, text, font, 0, 1, area, false);
      assert.equal(typeof result, 'string');
      assert.match(result as string, words);
    });
  }

  test('only the area changes, as tbs text --over leaves the rest', () => {
    const base = new Uint8Array(4096).fill(1);
    const area = { x: 0, y: 96, width: 32, height: 32 };
    const screen = core.setText(base, 'ANNA', 'auto', 0, 1, area, false);
    assert.ok(screen instanceof Uint8Array);
    assert.deepEqual([...screen.subarray(0, 96 * 32)], [...base.subarray(0, 96 * 32)]);
    const inside = screen.subarray(96 * 32);
    assert.ok(inside.includes(0) && inside.includes(1), 'the area holds dark ground and lit text');
  });
});

test('the module starts where the browser refuses to compile it at once, as older Chromium does', { timeout: 20_000 }, async () => {
  const compileAtOnce = WebAssembly.Module;
  (WebAssembly as { Module: unknown }).Module = function refused() {
    throw new RangeError('WebAssembly.Compile is disallowed on the main thread, if the buffer size is larger than 4KB');
  };
  try {
    const started = await loadCore();
    assert.equal(started.fonts().length, core.fonts().length);
  } finally {
    (WebAssembly as { Module: unknown }).Module = compileAtOnce;
  }
});
