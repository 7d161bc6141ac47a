// The tbs commands that make the same screen, runnable as shown in a folder that holds the file
// opened: tbs convert for the picture (or the screen file) into screen.tbs, then tbs text over it.
import type { OptionRow, OptionValues } from './core';
import { commandWords } from './options';

const OutputName = 'screen.tbs';

export interface CommandParts {
  source: { name: string; kind: 'picture' | 'screen' } | null; // what is shown under the text
  convert: OptionValues | null; // with a picture: the values it is converted with
  lines: string[] | null; // the text's lines, when text shows
  text: OptionValues | null;
  inverted: boolean; // Invert all: each command's own invert swapped
  rows: { convert: readonly OptionRow[]; text: readonly OptionRow[] };
  invertName: { convert: string; text: string }; // each command's flag that swaps lit and dark
}

// A word as a POSIX shell takes it back: quoted unless it is plainly safe.
function shellQuoted(word: string): string {
  return /^[\w@%+=:,./-]+$/.test(word) ? word : `'${word.replace(/'/g, "'\\''")}'`;
}

function flipped(values: OptionValues, name: string, flip: boolean): OptionValues {
  return flip ? { ...values, [name]: values[name] !== true } : values;
}

function words(rows: readonly OptionRow[], values: OptionValues): string {
  return commandWords(rows, values).split(' ').filter((word) => word !== '').map(shellQuoted).join(' ');
}

// One command a line; none when there is nothing to make (no picture, screen or text).
export function commandLines(parts: CommandParts): string[] {
  const commands: string[] = [];
  const join = (...pieces: string[]) => pieces.filter((piece) => piece !== '').join(' ');
  let over = '';
  if (parts.source) {
    const name = shellQuoted(parts.source.name);
    if (parts.source.kind === 'picture' && parts.convert) {
      const values = flipped(parts.convert, parts.invertName.convert, parts.inverted);
      commands.push(join('tbs convert', name, words(parts.rows.convert, values), '-o', OutputName));
      over = OutputName;
    } else if (parts.source.kind === 'screen') {
      // A screen file is taken as it is (only --invert applies to it); text goes straight over it.
      if (parts.inverted || !parts.lines) {
        commands.push(join('tbs convert', name, parts.inverted ? `--${parts.invertName.convert}` : '', '-o', OutputName));
        over = OutputName;
      } else {
        over = name;
      }
    }
  }
  if (parts.lines && parts.text) {
    const values = flipped(parts.text, parts.invertName.text, parts.inverted);
    commands.push(join('tbs text', ...parts.lines.map(shellQuoted), words(parts.rows.text, values),
      over ? `--over ${over}` : '', '-o', OutputName));
  }
  return commands;
}
