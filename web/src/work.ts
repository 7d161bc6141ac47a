// The studio's work as data: what is open, the options of convert and of text, the lines of text
// and the layer of hand edits, with undo and redo over every change. No page: the model-checked
// test drives it alone, with the rules it needs from the core (WorkRules) handed in.
import type { CommandName, Framing, OptionValue, OptionValues, Screen } from './core';

// What the work takes from the core: the number of cells, the options' defaults and the core's
// judgement of a set of values (the problem in tbs's words, '' when it takes them).
export interface WorkRules {
  readonly cellCount: number;
  readonly defaults: Readonly<Record<CommandName, OptionValues>>;
  problem(command: CommandName, values: OptionValues): string;
  // The layout in which the areas are the options' own.
  readonly ownAreasLayout: string;
}

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
  readonly options: Readonly<Record<CommandName, OptionValues>>; // by command, as tbs takes them
  readonly lines: string; // the text set over the screen, one line a line; empty for none
  readonly edits: Uint8Array; // one of Free, Dark, Lit per cell; never changed in place
  readonly framing: Framing; // the part of the picture the screen shows
  readonly layout: string; // how picture and text share the screen; '' until the owner chooses
  // Invert all: the whole screen, edits included, shown with lit and dark swapped. The edits
  // keep what they force before that swap, so later changes of the conversion and the text
  // show through inverted.
  readonly inverted: boolean;
}

export const WholePicture: Framing = { zoom: 1, x: 0.5, y: 0.5 };

export function emptyWork(rules: WorkRules): Work {
  return {
    source: null, options: rules.defaults, lines: '', edits: new Uint8Array(rules.cellCount),
    framing: WholePicture, layout: '', inverted: false,
  };
}

// The screen shown: the base screen with the hand edits over it, all of it swapped when the
// work is inverted.
export function composed(base: Screen, edits: Uint8Array, inverted = false): Screen {
  const shown = new Uint8Array(edits.length);
  const flip = inverted ? 1 : 0;
  for (let i = 0; i < edits.length; ++i)
    shown[i] = (edits[i] === Free ? base[i] : edits[i] === Lit ? 1 : 0) ^ flip;
  return shown;
}

// The edit that shows a cell lit or dark: the opposite one under Invert all.
function forcing(work: Work, lit: boolean): number {
  return lit !== work.inverted ? Lit : Dark;
}

export function painted(work: Work, cells: readonly number[], lit: boolean): Work {
  const edits = work.edits.slice();
  const edit = forcing(work, lit);
  for (const cell of cells) edits[cell] = edit;
  return { ...work, edits };
}

// Every cell painted as shown by `lit` (all on, all off).
export function everyCell(work: Work, lit: (cell: number) => boolean): Work {
  const edits = new Uint8Array(work.edits.length);
  for (let i = 0; i < edits.length; ++i) edits[i] = forcing(work, lit(i));
  return { ...work, edits };
}

export function invertedAll(work: Work): Work {
  return { ...work, inverted: !work.inverted };
}

export function withFraming(work: Work, framing: Framing): Work {
  return { ...work, framing };
}

export function withLayout(work: Work, layout: string): Work {
  return { ...work, layout };
}

// Whether hand edits force every cell, so that nothing of the conversion or the text shows.
export function editsCoverAll(work: Work): boolean {
  return work.edits.every((edit) => edit !== Free);
}

export function withoutEdits(work: Work): Work {
  return { ...work, edits: new Uint8Array(work.edits.length) };
}

export function withOptions(work: Work, command: CommandName, change: OptionValues): Work {
  return { ...work, options: { ...work.options, [command]: { ...work.options[command], ...change } } };
}

export function withLines(work: Work, lines: string): Work {
  return { ...work, lines };
}

// A newly opened source starts without edits, shown whole; the options, the layout and the text
// stay as the owner set them.
export function opened(work: Work, source: Source): Work {
  return { ...work, source, edits: new Uint8Array(work.edits.length), framing: WholePicture };
}

export function sameWork(a: Work, b: Work): boolean {
  if (a.source?.id !== b.source?.id || a.source?.name !== b.source?.name ||
    a.source?.kind !== b.source?.kind)
    return false;
  if (!sameValues(a.options, b.options) || a.lines !== b.lines) return false;
  if (a.layout !== b.layout || a.inverted !== b.inverted || a.framing.zoom !== b.framing.zoom ||
    a.framing.x !== b.framing.x || a.framing.y !== b.framing.y)
    return false;
  return a.edits.every((value, i) => value === b.edits[i]);
}

function sameValues(a: Readonly<Record<string, OptionValues>>, b: Readonly<Record<string, OptionValues>>): boolean {
  for (const command of new Set([...Object.keys(a), ...Object.keys(b)])) {
    const x = a[command] ?? {};
    const y = b[command] ?? {};
    for (const name of new Set([...Object.keys(x), ...Object.keys(y)])) if (x[name] !== y[name]) return false;
  }
  return true;
}

// Undo and redo over whole states of the work. A change that changes nothing is no step, and
// changes of one group in a row (the characters typed into one box) are one step.
export class History {
  private past: Work[] = [];
  private future: Work[] = [];
  private group: string | null = null;

  constructor(public present: Work, private readonly limit = 500) {}

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
  version: 4;
  source: Source | null;
  options: Record<string, Record<string, OptionValue>>;
  lines: string;
  edits: string; // one digit per cell
  framing: Framing;
  layout: string;
  inverted: boolean;
}

export function storedWork(work: Work): StoredWork {
  return {
    version: 4,
    framing: { ...work.framing },
    layout: work.layout,
    inverted: work.inverted,
    source: work.source ? { id: work.source.id, name: work.source.name, kind: work.source.kind } : null,
    options: Object.fromEntries(Object.entries(work.options).map(([command, values]) => [command, { ...values }])),
    lines: work.lines,
    edits: Array.from(work.edits, (value) => String(value)).join(''),
  };
}

// The work stored, or null when what is stored is not a work this page (or the one before it)
// wrote, or holds values that the core does not take.
export function restoredWork(value: unknown, rules: WorkRules): Work | null {
  if (typeof value !== 'object' || value === null) return null;
  const version = (value as { version?: unknown }).version;
  const v = version === 2 ? fromVersion3(fromVersion2(value), rules)
    : version === 3 ? fromVersion3(value as Partial<StoredWork>, rules) : value as Partial<StoredWork>;
  if (!v || v.version !== 4 || typeof v.lines !== 'string' || typeof v.edits !== 'string' ||
    v.edits.length !== rules.cellCount || !/^[012]*$/.test(v.edits) || typeof v.layout !== 'string' ||
    typeof v.inverted !== 'boolean' || !isFraming(v.framing))
    return null;
  const options = restoredOptions(v.options, rules);
  if (!options) return null;
  let source: Source | null = null;
  if (v.source !== null) {
    const s = v.source as Partial<Source> | undefined;
    if (!s || typeof s.id !== 'string' || typeof s.name !== 'string' ||
      (s.kind !== 'picture' && s.kind !== 'screen'))
      return null;
    source = { id: s.id, name: s.name, kind: s.kind };
  }
  return {
    source, options, lines: v.lines, edits: Uint8Array.from(v.edits, (digit) => Number(digit)),
    framing: { ...v.framing }, layout: v.layout, inverted: v.inverted,
  };
}

function isFraming(value: unknown): value is Framing {
  const f = value as Partial<Framing> | undefined;
  return typeof f === 'object' && f !== null &&
    [f.zoom, f.x, f.y].every((n) => typeof n === 'number' && Number.isFinite(n));
}

// The work as the page kept it before it had framing, layouts and Invert all over everything:
// the picture whole, nothing inverted, and the areas as they were (its own), so that the screen
// comes back as it was left.
function fromVersion3(v: Partial<Omit<StoredWork, 'version'>> & { version?: unknown } | null,
  rules: WorkRules): Partial<StoredWork> | null {
  if (!v || v.version !== 3) return null;
  return { ...v, version: 4, framing: WholePicture, layout: rules.ownAreasLayout, inverted: false };
}

// Every command's values, each a value of its option's kind (a word, or for a flag true or false)
// and taken by the core. An option the page gained since the work was kept takes its default:
// a new check box must not cost the owner the drawing.
function restoredOptions(value: unknown, rules: WorkRules): Record<CommandName, OptionValues> | null {
  if (typeof value !== 'object' || value === null) return null;
  const stored = value as Record<string, unknown>;
  const commands = Object.keys(rules.defaults) as CommandName[];
  if (Object.keys(stored).length !== commands.length) return null;
  const options = {} as Record<CommandName, OptionValues>;
  for (const command of commands) {
    const values = stored[command];
    const defaults = rules.defaults[command];
    if (typeof values !== 'object' || values === null) return null;
    const entries = Object.entries(values as Record<string, unknown>);
    if (!entries.every(([name, each]) => name in defaults && typeof each === typeof defaults[name]))
      return null;
    const restored = { ...defaults, ...Object.fromEntries(entries) } as OptionValues;
    if (rules.problem(command, restored) !== '') return null;
    options[command] = restored;
  }
  return options;
}

// The work as the page kept it before the options came from the core's table: the same names,
// numbers as numbers, and the lines among the text's options.
function fromVersion2(value: object): (Partial<Omit<StoredWork, 'version'>> & { version: 3 }) | null {
  const v = value as { source?: unknown; options?: unknown; text?: unknown; edits?: unknown };
  if (typeof v.options !== 'object' || v.options === null || typeof v.text !== 'object' || v.text === null)
    return null;
  const words = (values: object) => Object.fromEntries(Object.entries(values)
    .map(([name, each]) => [name, typeof each === 'number' ? String(each) : each]));
  const { text: lines, ...text } = v.text as { text?: unknown };
  return {
    version: 3,
    source: v.source as Source | null,
    options: { convert: words(v.options), text: words(text) },
    lines: lines as string,
    edits: v.edits as string,
  };
}
