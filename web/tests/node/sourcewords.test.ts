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
  ['index.html', '32', "the header icon's own size"],
  ['index.html', '0', "the screen's place in the order of the Tab key (tabindex)"],
];

let core: StudioCore;
before(async () => { core = await loadCore(); });

interface Found { line: number; word: string }

const Escapes: Record<string, string> = { n: '\n', r: '\r', t: '\t', 0: '\0', b: '\b', f: '\f', v: '\v' };

// The string literals (each static part of a template) and number literals of a script, with
// their lines; comments skipped.
function scriptLiterals(text: string): { strings: Found[]; numbers: Found[] } {
  const strings: Found[] = [];
  const numbers: Found[] = [];
  let line = 1;
  let i = 0;
  let last = ''; // the last character of code that was not blank, to tell a regex from a division
  const templates: number[] = []; // the brace depth at which each open template's ${ } closes
  let depth = 0;
  const readQuoted = (quote: string): void => {
    const start = line;
    let value = '';
    ++i;
    while (i < text.length && text[i] !== quote) {
      if (quote === '`' && text[i] === '$' && text[i + 1] === '{') break;
      if (text[i] === '\\') value += Escapes[text[++i]] ?? text[i];
      else value += text[i];
      if (text[i] === '\n') ++line;
      ++i;
    }
    strings.push({ line: start, word: value });
    if (text[i] === '$') {
      templates.push(depth);
      ++depth;
      i += 2;
    } else {
      ++i;
    }
    last = 'x';
  };
  while (i < text.length) {
    const c = text[i];
    if (c === '\n') { ++line; ++i; continue; }
    if (/\s/.test(c)) { ++i; continue; }
    if (c === '/' && text[i + 1] === '/') { while (i < text.length && text[i] !== '\n') ++i; continue; }
    if (c === '/' && text[i + 1] === '*') {
      const end = text.indexOf('*/', i + 2);
      line += text.slice(i, end).split('\n').length - 1;
      i = end + 2;
      continue;
    }
    if (c === '/' && (last === '' || '(,=:[!&|?{};+'.includes(last) || /\breturn$/.test(text.slice(0, i).trimEnd()))) {
      // A regex literal: skipped whole, classes included.
      let inClass = false;
      for (++i; i < text.length && (inClass || text[i] !== '/'); ++i) {
        if (text[i] === '\\') ++i;
        else if (text[i] === '[') inClass = true;
        else if (text[i] === ']') inClass = false;
      }
      ++i;
      last = 'x';
      continue;
    }
    if (c === '"' || c === "'" || c === '`') { readQuoted(c); continue; }
    if (c === '}' && templates.length && templates[templates.length - 1] === depth - 1) {
      templates.pop();
      --depth;
      readQuoted('`'); // the rest of the template, up to its backquote or its next ${
      continue;
    }
    if (c === '{') ++depth;
    if (c === '}') --depth;
    const token = /^(?:[A-Za-z_$][\w$]*|0[xX][\da-fA-F_]+|\d[\d_]*(?:\.\d+)?(?:[eE][+-]?\d+)?)/.exec(text.slice(i, i + 64));
    if (token) {
      if (/^\d/.test(token[0])) numbers.push({ line, word: String(Number(token[0].replace(/_/g, ''))) });
      i += token[0].length;
      last = token[0].at(-1)!;
      continue;
    }
    last = c;
    ++i;
  }
  return { strings, numbers };
}

// A page's attribute values and the text between its tags; a style sheet's numbers and id
// selectors.
function markupWords(text: string): Found[] {
  const found: Found[] = [];
  const lineOf = (index: number) => text.slice(0, index).split('\n').length;
  for (const match of text.matchAll(/=\s*"([^"]*)"|=\s*'([^']*)'|>([^<]+)</g))
    found.push({ line: lineOf(match.index), word: (match[1] ?? match[2] ?? match[3]).trim() });
  return found;
}

function styleWords(text: string): { ids: Found[]; numbers: Found[] } {
  const ids: Found[] = [];
  const numbers: Found[] = [];
  const code = text.replace(/\/\*[\s\S]*?\*\//g, (comment) => comment.replace(/[^\n]/g, ' '));
  const lineOf = (index: number) => code.slice(0, index).split('\n').length;
  for (const match of code.matchAll(/#([\w-]+)|(?<![\w.])(\d+(?:\.\d+)?)(?:px|rem|em|%)?/g)) {
    if (match[1]) ids.push({ line: lineOf(match.index), word: match[1] });
    else numbers.push({ line: lineOf(match.index), word: match[2] });
  }
  return { ids, numbers };
}

// Every word of the file that is an option's name or value, or the display's size.
function offences(file: string, text: string, words: Set<string>, sizes: Set<string>): string[] {
  const extension = path.extname(file);
  let found: Found[];
  if (extension === '.ts' || extension === '.js') {
    const { strings, numbers } = scriptLiterals(text);
    // A literal that is a word of the table, or spells an option as typed after tbs: --invert.
    const named = strings.flatMap((each) => [each, ...[...each.word.matchAll(/--([\w-]+)/g)]
      .map((match) => ({ line: each.line, word: match[1] }))]);
    found = [...named.filter((each) => words.has(each.word)), ...numbers.filter((each) => sizes.has(each.word))];
  } else if (extension === '.css') {
    const { ids, numbers } = styleWords(text);
    found = [...ids.filter((each) => words.has(each.word)), ...numbers.filter((each) => sizes.has(each.word))];
  } else {
    found = markupWords(text).filter((each) => words.has(each.word) || sizes.has(each.word));
  }
  return found.map((each) => `${file}:${each.line}: ${each.word}`);
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
    ['a.ts', "export const Fits = ['contain', \"cover\"]; // 'stretch'", ['a.ts:1: contain', 'a.ts:1: cover']],
    ['a.ts', 'canvas.width = 32 * 3;\nconst key = `${x.fit}|${y}`; use(`threshold`); /* 128 */', ['a.ts:2: threshold', 'a.ts:1: 32']],
    ['a.ts', "const n = 0x1f + 1320 + 2128 + 3.2 + a32; if (/'/.test(s)) use('auto');", ['a.ts:1: auto']],
    ['a.ts', "words.push('--invert', `--background ${x}`, '--over SCREEN');", ['a.ts:1: invert', 'a.ts:1: background']],
    ['a.ts', "x.replace(/'/g, \"'\\\\''\"); return /\"/.test(y) ? `a${`b${'dither'}`}` : 'ok';", ['a.ts:1: dither']],
    ['a.html', '<select id="fit"><option value="none">none</option></select><input max="128">',
      ['a.html:1: fit', 'a.html:1: none', 'a.html:1: none', 'a.html:1: 128']],
    ['a.css', '#threshold { width: 160px; height: 128px; margin: 0 90px; } /* 32 */', ['a.css:1: threshold', 'a.css:1: 128']],
    ['a.ts', "const nul = `${x}\\0`;", []],
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
