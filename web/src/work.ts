// The studio's work as data: what is open, the conversion options and the layer of hand edits,
// with undo and redo over every change. No page, no core: the model-checked test drives it alone.
import { CellCount, DisplayColumns, DisplayRows, type Screen } from './core';
import { DefaultOptions, DefaultText, type Options, type TextOptions, validOptions, validText } from './options';

// What the screen is made from: a picture converted with the options, or a screen read whole
// (a .tbs file or the editor's bitmap), which the options leave alone.
export interface Source {
  readonly id: string; // names the bytes kept for it (see persistence)
  readonly name: string;
  readonly kind: 'picture' | 'screen';
}

// A hand edit forces a cell: Dark or Lit; Free cells show the converted screen.
export const Free = 0;
export const Dark = 1;
export const Lit = 2;

export interface Work {
  readonly source: Source | null;
  readonly options: Readonly<Options>;
  readonly text: Readonly<TextOptions>;
  readonly edits: Uint8Array; // one of Free, Dark, Lit per cell; never changed in place
}

export const EmptyWork: Work = Object.freeze({
  source: null,
  options: DefaultOptions,
  text: DefaultText,
  edits: new Uint8Array(CellCount),
});

// The screen shown: the base screen with the hand edits over it.
export function composed(base: Screen, edits: Uint8Array): Screen {
  const shown = new Uint8Array(CellCount);
  for (let i = 0; i < CellCount; ++i) shown[i] = edits[i] === Free ? base[i] : edits[i] === Lit ? 1 : 0;
  return shown;
}

export function cellIndex(column: number, row: number): number {
  return row * DisplayColumns + column;
}

// The cells of the straight line between two cells, ends included, so that a fast drag leaves
// no gaps.
export function cellsOnLine(from: [number, number], to: [number, number]): number[] {
  let [x, y] = from;
  const [x1, y1] = to;
  const dx = Math.abs(x1 - x);
  const dy = -Math.abs(y1 - y);
  const sx = x < x1 ? 1 : -1;
  const sy = y < y1 ? 1 : -1;
  let error = dx + dy;
  const cells: number[] = [];
  for (;;) {
    if (x >= 0 && x < DisplayColumns && y >= 0 && y < DisplayRows) cells.push(cellIndex(x, y));
    if (x === x1 && y === y1) return cells;
    const doubled = 2 * error;
    if (doubled >= dy) { error += dy; x += sx; }
    if (doubled <= dx) { error += dx; y += sy; }
  }
}

export function painted(work: Work, cells: readonly number[], lit: boolean): Work {
  const edits = work.edits.slice();
  for (const cell of cells) edits[cell] = lit ? Lit : Dark;
  return { ...work, edits };
}

// Every cell forced to the state given by `lit` (invert all, all on, all off).
export function everyCell(work: Work, lit: (cell: number) => boolean): Work {
  const edits = new Uint8Array(CellCount);
  for (let i = 0; i < CellCount; ++i) edits[i] = lit(i) ? Lit : Dark;
  return { ...work, edits };
}

export function withoutEdits(work: Work): Work {
  return { ...work, edits: new Uint8Array(CellCount) };
}

export function withOptions(work: Work, change: Partial<Options>): Work {
  return { ...work, options: { ...work.options, ...change } };
}

export function withText(work: Work, change: Partial<TextOptions>): Work {
  return { ...work, text: { ...work.text, ...change } };
}

// A newly opened source starts without edits; the options and the text stay as the owner set them.
export function opened(work: Work, source: Source): Work {
  return { ...work, source, edits: new Uint8Array(CellCount) };
}

export function sameWork(a: Work, b: Work): boolean {
  if (a.source?.id !== b.source?.id || a.source?.name !== b.source?.name ||
    a.source?.kind !== b.source?.kind)
    return false;
  for (const key of Object.keys(a.options) as (keyof Options)[])
    if (a.options[key] !== b.options[key]) return false;
  for (const key of Object.keys(a.text) as (keyof TextOptions)[])
    if (a.text[key] !== b.text[key]) return false;
  return a.edits.every((value, i) => value === b.edits[i]);
}

// Undo and redo over whole states of the work. A change that changes nothing is no step, and
// changes of one group in a row (the characters typed into one box) are one step.
export class History {
  private past: Work[] = [];
  private future: Work[] = [];
  private group: string | null = null;

  constructor(public present: Work = EmptyWork, private readonly limit = 500) {}

  get canUndo(): boolean { return this.past.length > 0; }
  get canRedo(): boolean { return this.future.length > 0; }

  apply(next: Work, group: string | null = null): boolean {
    if (sameWork(next, this.present)) return false;
    if (group === null || group !== this.group) {
      this.past.push(this.present);
      if (this.past.length > this.limit) this.past.shift();
    }
    this.group = group;
    this.future = [];
    this.present = next;
    return true;
  }

  undo(): boolean {
    this.group = null;
    const previous = this.past.pop();
    if (!previous) return false;
    this.future.push(this.present);
    this.present = previous;
    return true;
  }

  // The sources that the present, undo or redo can show.
  sourcesInUse(): Set<string> {
    const ids = new Set<string>();
    for (const work of [...this.past, this.present, ...this.future]) if (work.source) ids.add(work.source.id);
    return ids;
  }

  redo(): boolean {
    this.group = null;
    const next = this.future.pop();
    if (!next) return false;
    this.past.push(this.present);
    this.present = next;
    return true;
  }
}

// The work as JSON for storage across reloads (the source's bytes are kept beside it).
export interface StoredWork {
  version: 2;
  source: Source | null;
  options: Options;
  text: TextOptions;
  edits: string; // one digit per cell
}

export function storedWork(work: Work): StoredWork {
  return {
    version: 2,
    source: work.source ? { id: work.source.id, name: work.source.name, kind: work.source.kind } : null,
    options: { ...work.options },
    text: { ...work.text },
    edits: Array.from(work.edits, (value) => String(value)).join(''),
  };
}

// The work stored, or null when what is stored is not a work this page wrote.
export function restoredWork(value: unknown): Work | null {
  if (typeof value !== 'object' || value === null) return null;
  const v = value as Partial<StoredWork>;
  const options = validOptions(v.options);
  const text = validText(v.text);
  if (v.version !== 2 || !options || !text || typeof v.edits !== 'string' || v.edits.length !== CellCount ||
    !/^[012]*$/.test(v.edits))
    return null;
  let source: Source | null = null;
  if (v.source !== null) {
    const s = v.source as Partial<Source> | undefined;
    if (!s || typeof s.id !== 'string' || typeof s.name !== 'string' ||
      (s.kind !== 'picture' && s.kind !== 'screen'))
      return null;
    source = { id: s.id, name: s.name, kind: s.kind };
  }
  return { source, options, text, edits: Uint8Array.from(v.edits, (digit) => Number(digit)) };
}
