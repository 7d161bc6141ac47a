// The studio's work as data: what is open, the options of convert and of text, the lines of text
// and the layer of hand edits, with undo and redo over every change. No page: the model-checked
// test drives it alone, with the rules it needs from the core (WorkRules) handed in.
import type { CommandName, OptionValue, OptionValues, Screen } from './core';

// What the work takes from the core: the number of cells, the options' defaults and the core's
// judgement of a set of values (the problem in tbs's words, '' when it takes them).
export interface WorkRules {
  readonly cellCount: number;
  readonly defaults: Readonly<Record<CommandName, OptionValues>>;
  problem(command: CommandName, values: OptionValues): string;
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
}

export function emptyWork(rules: WorkRules): Work {
  return { source: null, options: rules.defaults, lines: '', edits: new Uint8Array(rules.cellCount) };
}

// The screen shown: the base screen with the hand edits over it.
export function composed(base: Screen, edits: Uint8Array): Screen {
  const shown = new Uint8Array(edits.length);
  for (let i = 0; i < edits.length; ++i) shown[i] = edits[i] === Free ? base[i] : edits[i] === Lit ? 1 : 0;
  return shown;
}

export function painted(work: Work, cells: readonly number[], lit: boolean): Work {
  const edits = work.edits.slice();
  for (const cell of cells) edits[cell] = lit ? Lit : Dark;
  return { ...work, edits };
}

// Every cell forced to the state given by `lit` (invert all, all on, all off).
export function everyCell(work: Work, lit: (cell: number) => boolean): Work {
  const edits = new Uint8Array(work.edits.length);
  for (let i = 0; i < edits.length; ++i) edits[i] = lit(i) ? Lit : Dark;
  return { ...work, edits };
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

// A newly opened source starts without edits; the options and the text stay as the owner set them.
export function opened(work: Work, source: Source): Work {
  return { ...work, source, edits: new Uint8Array(work.edits.length) };
}

export function sameWork(a: Work, b: Work): boolean {
  if (a.source?.id !== b.source?.id || a.source?.name !== b.source?.name ||
    a.source?.kind !== b.source?.kind)
    return false;
  if (!sameValues(a.options, b.options) || a.lines !== b.lines) return false;
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
  version: 3;
  source: Source | null;
  options: Record<string, Record<string, OptionValue>>;
  lines: string;
  edits: string; // one digit per cell
}

export function storedWork(work: Work): StoredWork {
  return {
    version: 3,
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
  const v = (value as { version?: unknown }).version === 2 ? fromVersion2(value) : value as Partial<StoredWork>;
  if (!v || v.version !== 3 || typeof v.lines !== 'string' || typeof v.edits !== 'string' ||
    v.edits.length !== rules.cellCount || !/^[012]*$/.test(v.edits))
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
  return { source, options, lines: v.lines, edits: Uint8Array.from(v.edits, (digit) => Number(digit)) };
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
function fromVersion2(value: object): Partial<StoredWork> | null {
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
