// The studio's state, model-checked: random sequences of paints, option changes, opens, whole
// screen commands, undo, redo and reloads, played on the studio's own work and history and on a
// plain model of what each should do. A failure prints its seed and the steps up to the first
// difference. STUDIO_STATE_SEED and STUDIO_STATE_STEPS play other or longer sequences.
import assert from 'node:assert/strict';
import { before, test } from 'node:test';
import type { CommandName, OptionRow, OptionValue, OptionValues, Screen, StudioCore } from '../../src/core';
import { workRules } from '../../src/options';
import {
  composed, emptyWork, everyCell, History, invertedAll, opened, painted, restoredWork, storedWork, withFraming,
  withLayout, withLines, withOptions, withoutEdits, type Work, type WorkRules,
} from '../../src/work';
import { loadCore } from './corefortests';

// The work's rules, the options' rows and the number of cells come from the real core.
let core: StudioCore;
let rules: WorkRules;
let cellCount: number;
before(async () => {
  core = await loadCore();
  rules = workRules(core);
  cellCount = rules.cellCount;
});

function random(seed: number): () => number {
  let state = seed >>> 0;
  return () => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// What conversion and text give: any screen that depends on the source, every option, the
// lines, the layout and the framing will do.
function baseScreen(sourceId: string | null, options: object, lines: string, layout: string, framing: object): Screen {
  const screen = new Uint8Array(cellCount);
  if (sourceId === null && lines === '') return screen;
  const next = random([...`${sourceId}${JSON.stringify(options)}${lines}${layout}${JSON.stringify(framing)}`]
    .reduce((h, c) => h * 31 + c.charCodeAt(0), 7));
  for (let i = 0; i < cellCount; ++i) screen[i] = next() < 0.5 ? 1 : 0;
  return screen;
}

type Step =
  | { kind: 'paint'; cells: number[]; lit: boolean }
  | { kind: 'option'; command: CommandName; change: OptionValues; group: string | null }
  | { kind: 'lines'; lines: string }
  | { kind: 'open'; source: string }
  | { kind: 'layout'; layout: string }
  | { kind: 'framing'; framing: { zoom: number; x: number; y: number }; group: string | null }
  | { kind: 'invert all' | 'all on' | 'all off' | 'clear edits' | 'undo' | 'redo' | 'reload' };

// Values the option takes: each choice, the ends of a range and a step in, its automatic word
// and default; a few areas, the whole display among them.
function valuesFor(row: OptionRow): OptionValue[] {
  if (row.kind === 'flag') return [true, false];
  if (row.kind === 'choice') return row.choices.map((choice) => choice.value);
  if (row.kind === 'area') return [row.default, '0,0,1,1', '1,2,3,4', '0,8,16,8'];
  return [row.default, row.automatic, row.minimum, row.maximum, row.minimum + row.step]
    .filter((value) => value !== '').map(String);
}

function randomStep(next: () => number, sources: number): Step {
  const pick = <T>(items: readonly T[]): T => items[Math.floor(next() * items.length)];
  const roll = next();
  if (roll < 0.3) {
    // Mostly a few cells in one corner, so that paints often repeat a cell or change nothing.
    const columns = core.vocabulary.display.columns;
    const cells = Array.from({ length: 1 + Math.floor(next() * 4) }, () => Math.floor(next() * 8) * columns + Math.floor(next() * 4));
    return { kind: 'paint', cells, lit: next() < 0.5 };
  }
  if (roll < 0.5) return { kind: 'open', source: `picture-${Math.floor(next() * sources)}` };
  if (roll < 0.52) return { kind: 'layout', layout: pick(['', ...core.vocabulary.layouts.map((layout) => layout.value)]) };
  if (roll < 0.55) {
    // Zooming with the slider, or dragging the picture: each gesture is one step.
    const zoom = pick([1, 2, 3.5, 8]);
    return { kind: 'framing', framing: { zoom, x: pick([0, 0.25, 0.5, 1]), y: pick([0, 0.5]) }, group: pick([null, 'zoom', 'framing-1']) };
  }
  if (roll < 0.6) {
    // Typing into the text box: each burst of changes is one step.
    return { kind: 'lines', lines: pick(['', 'A', 'AN', 'ANNA', 'IF FOUND\nCALL 555', 'Zoë']) };
  }
  if (roll < 0.77) {
    // Mostly the picture's options; what is typed into a box is one step, like the text box.
    const command: CommandName = roll < 0.72 ? 'convert' : 'text';
    // The crop is the framing's, never set as a value.
    const row = pick(core.vocabulary.commands[command].filter((each) => each.kind !== 'rectangle'));
    const typed = row.kind === 'area' || row.kind === 'whole' || row.kind === 'number';
    const group = typed ? `${command}-${row.name}` : null;
    return { kind: 'option', command, change: { [row.name]: pick(valuesFor(row)) }, group };
  }
  return { kind: pick(['invert all', 'all on', 'all off', 'clear edits', 'undo', 'undo', 'redo', 'redo', 'reload'] as const) };
}

// The model: a list of whole states and the one shown; edits as plain numbers per cell.
interface ModelState {
  source: string | null; options: Record<string, Record<string, OptionValue>>; lines: string; edits: number[];
  layout: string; framing: { zoom: number; x: number; y: number }; inverted: boolean;
}
class Model {
  group: string | null = null; // the group of the last step, while nothing else came between
  states: ModelState[] = [{
    source: null, options: structuredClone(rules.defaults), lines: '', edits: new Array(cellCount).fill(0),
    layout: '', framing: { zoom: 1, x: 0.5, y: 0.5 }, inverted: false,
  }];
  index = 0;
  constructor(private readonly limit: number) {}
  get state(): ModelState { return this.states[this.index]; }
  // Invert all swaps the whole screen, edits included; a paint then forces what it shows.
  shown(): number[] {
    const s = this.state;
    const base = baseScreen(s.source, s.options, s.lines, s.layout, s.framing);
    return s.edits.map((edit, i) => (edit === 0 ? base[i] : edit === 2 ? 1 : 0) ^ (s.inverted ? 1 : 0));
  }
  forcing(lit: boolean): number {
    return lit !== this.state.inverted ? 2 : 1;
  }
  push(next: ModelState, group: string | null = null): void {
    if (JSON.stringify(next) === JSON.stringify(this.state)) return;
    if (group !== null && group === this.group && this.index === this.states.length - 1) {
      this.states[this.index] = next;
      return;
    }
    this.group = group;
    this.states = this.states.slice(0, this.index + 1);
    this.states.push(next);
    if (this.states.length > this.limit + 1) this.states.shift();
    this.index = this.states.length - 1;
  }
  play(step: Step): void {
    const s = this.state;
    const copy = (change: Partial<ModelState>): ModelState => ({ ...structuredClone(s), ...change });
    switch (step.kind) {
    case 'paint': { const edits = [...s.edits]; for (const c of step.cells) edits[c] = this.forcing(step.lit); this.push(copy({ edits })); break; }
    case 'option': {
      const options = structuredClone(s.options);
      Object.assign(options[step.command], step.change);
      this.push(copy({ options }), step.group);
      break;
    }
    case 'lines': this.push(copy({ lines: step.lines }), 'lines'); break;
    case 'open': this.push(copy({ source: step.source, edits: new Array(cellCount).fill(0), framing: { zoom: 1, x: 0.5, y: 0.5 } })); break;
    case 'layout': this.push(copy({ layout: step.layout })); break;
    case 'framing': this.push(copy({ framing: step.framing }), step.group); break;
    case 'invert all': this.push(copy({ inverted: !s.inverted })); break;
    case 'all on': this.push(copy({ edits: new Array(cellCount).fill(this.forcing(true)) })); break;
    case 'all off': this.push(copy({ edits: new Array(cellCount).fill(this.forcing(false)) })); break;
    case 'clear edits': this.push(copy({ edits: new Array(cellCount).fill(0) })); break;
    case 'undo': this.group = null; if (this.index > 0) this.index--; break;
    case 'redo': this.group = null; if (this.index < this.states.length - 1) this.index++; break;
    case 'reload': this.group = null; this.states = [this.state]; this.index = 0; break;
    }
  }
  get canUndo(): boolean { return this.index > 0; }
  get canRedo(): boolean { return this.index < this.states.length - 1; }
}

// The studio as the page drives it: its history of works, and a reload through storage.
class Studio {
  history: History;
  constructor(private readonly limit: number) { this.history = new History(emptyWork(rules), limit); }
  get work(): Work { return this.history.present; }
  shown(): Screen {
    const w = this.work;
    return composed(baseScreen(w.source?.id ?? null, w.options, w.lines, w.layout, w.framing), w.edits, w.inverted);
  }
  play(step: Step): void {
    const work = this.work;
    switch (step.kind) {
    case 'paint': this.history.apply(painted(work, step.cells, step.lit)); break;
    case 'option': this.history.apply(withOptions(work, step.command, step.change), step.group); break;
    case 'lines': this.history.apply(withLines(work, step.lines), 'lines'); break;
    case 'open': this.history.apply(opened(work, { id: step.source, name: `${step.source}.png`, kind: 'picture' })); break;
    case 'layout': this.history.apply(withLayout(work, step.layout)); break;
    case 'framing': this.history.apply(withFraming(work, step.framing), step.group); break;
    case 'invert all': this.history.apply(invertedAll(work)); break;
    case 'all on': this.history.apply(everyCell(work, () => true)); break;
    case 'all off': this.history.apply(everyCell(work, () => false)); break;
    case 'clear edits': this.history.apply(withoutEdits(work)); break;
    case 'undo': this.history.undo(); break;
    case 'redo': this.history.redo(); break;
    case 'reload': {
      const restored = restoredWork(JSON.parse(JSON.stringify(storedWork(work))), rules);
      assert.ok(restored, 'the stored work reads back');
      this.history = new History(restored, this.limit);
      break;
    }
    }
  }
}

function difference(studio: Studio, model: Model): string | null {
  const work = studio.work;
  if ((work.source?.id ?? null) !== model.state.source) return `source ${work.source?.id} != ${model.state.source}`;
  for (const command of Object.keys(rules.defaults) as CommandName[]) {
    for (const name of Object.keys(rules.defaults[command])) {
      if (work.options[command][name] !== model.state.options[command][name])
        return `${command} ${name}: ${work.options[command][name]} != ${model.state.options[command][name]}`;
    }
  }
  if (work.lines !== model.state.lines) return `lines ${JSON.stringify(work.lines)} != ${JSON.stringify(model.state.lines)}`;
  if (work.layout !== model.state.layout) return `layout ${work.layout} != ${model.state.layout}`;
  if (JSON.stringify(work.framing) !== JSON.stringify(model.state.framing)) return 'framing differs';
  if (work.inverted !== model.state.inverted) return `inverted ${work.inverted} != ${model.state.inverted}`;
  if (!work.edits.every((e, i) => e === model.state.edits[i])) return 'edits differ';
  const expected = model.shown();
  if (!studio.shown().every((lit, i) => lit === expected[i])) return 'shown screen differs';
  if (studio.history.canUndo !== model.canUndo) return `can undo: ${studio.history.canUndo} != ${model.canUndo}`;
  if (studio.history.canRedo !== model.canRedo) return `can redo: ${studio.history.canRedo} != ${model.canRedo}`;
  const inUse = [...studio.history.sourcesInUse()].sort().join(' ');
  const modelInUse = [...new Set(model.states.map((state) => state.source).filter((id) => id !== null))].sort().join(' ');
  if (inUse !== modelInUse) return `sources in use: ${inUse} != ${modelInUse}`;
  return null;
}

const seeds = process.env.STUDIO_STATE_SEED ? [Number(process.env.STUDIO_STATE_SEED)] : [1, 2, 3, 4];
const stepsPerSeed = Number(process.env.STUDIO_STATE_STEPS ?? 2500);

for (const seed of seeds) {
  test(`seed ${seed}: ${stepsPerSeed} random steps agree with the model`, () => {
    const next = random(seed);
    const limit = 25; // small, so that long sequences run past the oldest undo step
    const studio = new Studio(limit);
    const model = new Model(limit);
    const steps: Step[] = [];
    for (let i = 0; i < stepsPerSeed; ++i) {
      const step = randomStep(next, 3);
      steps.push(step);
      studio.play(step);
      model.play(step);
      const found = difference(studio, model);
      if (found) {
        const prefix = steps.map((s, n) => `  ${n + 1}. ${JSON.stringify(s)}`).join('\n');
        assert.fail(`seed ${seed}: after step ${i + 1}, ${found}. The shortest failing prefix:\n${prefix}`);
      }
    }
  });
}

test('a stored work that this page did not write, or that the core does not take, is not restored', () => {
  const good = storedWork(painted(openedWork(), [0, 5], true));
  assert.ok(restoredWork(good, rules));
  const convert = good.options.convert;
  const text = good.options.text;
  const { contrast: _, ...withoutContrast } = convert;
  for (const [what, bad] of [
    ['another version', { ...good, version: 1 }],
    ['an area off the display', { ...good, options: { convert: { ...convert, area: '0,100,32,29' }, text } }],
    ['a text area of no pixels', { ...good, options: { convert, text: { ...text, area: '0,0,0,5' } } }],
    ['an unknown alignment', { ...good, options: { convert, text: { ...text, align: 'justify' } } }],
    ['a short edits layer', { ...good, edits: good.edits.slice(1) }],
    ['an unknown edit', { ...good, edits: `3${good.edits.slice(1)}` }],
    ['an unknown fit', { ...good, options: { convert: { ...convert, fit: 'zoom' }, text } }],
    ['a threshold out of range', { ...good, options: { convert: { ...convert, threshold: '300' }, text } }],
    ['a gamma out of range', { ...good, options: { convert: { ...convert, gamma: '0' }, text } }],
    ['a brightness that is not whole', { ...good, options: { convert: { ...convert, brightness: '2.5' }, text } }],
    ['a number where the word is kept', { ...good, options: { convert: { ...convert, brightness: 5 }, text } }],
    ['a flag given a word', { ...good, options: { convert: { ...convert, invert: 'yes' }, text } }],
    ['an option the table does not have', { ...good, options: { convert: { ...convert, zoom: '2' }, text } }],
    ['an option of the other command', { ...good, options: { convert: { ...convert, font: 'auto' }, text } }],
    ['a value with a line break', { ...good, options: { convert: { ...convert, fit: 'cover\ninvert' }, text } }],
    ['a missing command', { ...good, options: { convert } }],
    ['lines that are not text', { ...good, lines: 5 }],
    ['a source without id', { ...good, source: { name: 'a.png', kind: 'picture' } }],
    ['a framing that is no number', { ...good, framing: { zoom: 'x', x: 0.5, y: 0.5 } }],
    ['Invert all that is not a flag', { ...good, inverted: 'yes' }],
    ['nothing', null],
  ] as const)
    assert.equal(restoredWork(bad, rules), null, what);
  // An option the page gained since the work was kept takes its default.
  assert.equal(restoredWork({ ...good, options: { convert: withoutContrast, text } }, rules)?.options.convert.contrast,
    rules.defaults.convert.contrast);
});

// The work as the page kept it before its options came from the core's table.
const version2 = {
  version: 2,
  source: { id: 'a', name: 'a.png', kind: 'picture' },
  options: {
    fit: 'cover', rotate: '90', dither: 'auto', threshold: 140, invert: true, background: 'white',
    levels: 'none', brightness: -20, contrast: 35, gamma: 1.5, area: '0,0,32,100',
  },
  text: { text: 'ANNA', font: 'fixed-5x7', rotate: 'auto', align: 'right', invert: false, area: '0,100,32,28' },
  edits: `${'0'.repeat(4095)}2`,
};

test('work kept by the page before restores with the same values, where they are valid', () => {
  const work = restoredWork(JSON.parse(JSON.stringify(version2)), rules);
  assert.ok(work);
  assert.deepEqual(work.source, version2.source);
  assert.deepEqual(work.options.convert, {
    fit: 'cover', rotate: '90', dither: 'auto', threshold: '140', invert: true, background: 'white',
    levels: 'none', brightness: '-20', contrast: '35', gamma: '1.5', area: '0,0,32,100',
  });
  assert.deepEqual(work.options.text, { ...rules.defaults.text, font: 'fixed-5x7', rotate: 'auto', align: 'right', invert: false, area: '0,100,32,28' });
  assert.equal(work.lines, 'ANNA');
  assert.equal(work.edits[4095], 2);
  // Kept again, it reads back the same.
  assert.ok(sameStored(restoredWork(JSON.parse(JSON.stringify(storedWork(work))), rules), work));
  for (const [what, bad] of [
    ['a threshold out of range', { ...version2, options: { ...version2.options, threshold: 300 } }],
    ['a gamma of 0', { ...version2, options: { ...version2.options, gamma: 0 } }],
    ['a font not bundled', { ...version2, text: { ...version2.text, font: 'comic-sans' } }],
    ['no lines', { ...version2, text: { ...version2.text, text: undefined } }],
  ] as const)
    assert.equal(restoredWork(JSON.parse(JSON.stringify(bad)), rules), null, what);
});

function sameStored(a: Work | null, b: Work): boolean {
  return a !== null && JSON.stringify(storedWork(a)) === JSON.stringify(storedWork(b));
}

function openedWork(): Work {
  return opened(emptyWork(rules), { id: 'a', name: 'a.png', kind: 'picture' });
}
