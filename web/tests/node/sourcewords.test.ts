// The page holds no rule of the product: no file of web/src spells an option's name or a value of
// one (they come from the core's table), nor the display's size. Words that are also the
// browser's own, used for something else, are allowed where the list below says so.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { before, test } from 'node:test';
import type { StudioCore } from '../../src/core';
import { loadCore } from './corefortests';

declare const STUDIO_DATA_DIR: string;
const sourceDir = path.join(STUDIO_DATA_DIR, '..', '..', 'src');

// [file, word, why it is there]
const Allowed: [string, string, string][] = [
  ['opening.ts', 'none', "the browser's decoding settings: no colour management, no premultiplied alpha"],
  ['core.ts', 'area', 'the kind of value an option takes, as the table names it'],
  ['controls.ts', 'area', 'the kind of value an option takes, as the table names it'],
  ['plan.ts', 'area', 'the kind of value an option takes, as the table names it'],
  ['main.ts', 'center', "the browser's scrolling: where an element comes into view"],
  ['index.html', '32', "the header icon's own size"],
  ['index.html', 'none', 'a keyword of the Content Security Policy'],
  ['index.html', '0', "the screen's place in the order of the Tab key (tabindex)"],
];

let core: StudioCore;
before(async () => { core = await loadCore(); });

// Every quoted word, option as typed (--invert), id (#fit), tag text and bare number of the file, by line,
// comments left out: a rough reading, but a page that copied the table would spell its words
// in one of these forms.
function offences(file: string, text: string, words: Set<string>, sizes: Set<string>): string[] {
  const code = text.replace(/\/\*[\s\S]*?\*\/|(?<![:'"])\/\/[^\n]*|<!--[\s\S]*?-->/g,
    (comment) => comment.replace(/[^\n]/g, ' '));
  const found: string[] = [];
  code.split('\n').forEach((line, index) => {
    for (const match of line.matchAll(/(['"`])([\w.-]*)\1|(?:--|#)([\w-]+)|>([^<>]+)<|(?<![\w.#-])(\d+)(?:px|rem|em|%)?(?![\w.])/g)) {
      const word = (match[2] ?? match[3] ?? match[4] ?? match[5]).trim().replace(/^--/, '');
      if (sizes.has(word) || (match[5] === undefined && words.has(word))) found.push(`${file}:${index + 1}: ${word}`);
    }
  });
  return found;
}

function forbidden(): { words: Set<string>; sizes: Set<string> } {
  const words = new Set<string>();
  for (const rows of Object.values(core.vocabulary.commands)) {
    for (const row of rows) {
      words.add(row.name);
      for (const choice of row.choices) words.add(choice.value);
      if (row.automatic) words.add(row.automatic);
    }
  }
  const { columns, rows } = core.vocabulary.display;
  return { words, sizes: new Set([String(columns), String(rows)]) };
}

test('the scan finds what a page that copies the rules would spell', () => {
  const { words, sizes } = forbidden();
  for (const [file, text, expected] of [
    ['a.ts', "const Fits = ['contain', \"cover\"]; // 'stretch'\nuse(`--invert`, 32 * 3);",
      ['a.ts:1: contain', 'a.ts:1: cover', 'a.ts:2: invert', 'a.ts:2: 32']],
    ['a.html', '<select id="fit"><option value="none">none</option></select><!-- "dither" -->',
      ['a.html:1: fit', 'a.html:1: none', 'a.html:1: none']],
    ['a.css', '#threshold { width: 160px; height: 128px; } /* 32 */', ['a.css:1: threshold', 'a.css:1: 128']],
  ] as const)
    assert.deepEqual(offences(file, text, words, sizes).sort(), [...expected].sort(), text);
});

test("no file of the page spells an option, a value of one or the display's size", () => {
  const { words, sizes } = forbidden();
  const files = fs.readdirSync(sourceDir).filter((file) => fs.statSync(path.join(sourceDir, file)).isFile());
  assert.ok(files.includes('main.ts') && files.includes('index.html') && files.includes('studio.css'), files.join(' '));
  const unused = new Set(Allowed.map(([file, word]) => `${file} ${word}`));
  const found: string[] = [];
  for (const file of files) {
    for (const offence of offences(file, fs.readFileSync(path.join(sourceDir, file), 'utf8'), words, sizes)) {
      const word = offence.slice(offence.lastIndexOf(': ') + 2);
      if (unused.has(`${file} ${word}`) || Allowed.some(([f, w]) => f === file && w === word)) {
        unused.delete(`${file} ${word}`);
        continue;
      }
      found.push(offence);
    }
  }
  assert.deepEqual(found, []);
  assert.deepEqual([...unused], [], 'allowed words no file spells any more');
});
