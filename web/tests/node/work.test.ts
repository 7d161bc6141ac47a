// The studio's state, model-checked: random sequences of paints, option changes, opens, whole
// screen commands, undo, redo and reloads, played on the studio's own work and history and on a
// plain model of what each should do. A failure prints its seed and the steps up to the first
// difference. STUDIO_STATE_SEED and STUDIO_STATE_STEPS play other or longer sequences.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { CellCount, type Screen } from '../../src/core';
import { Alignments, Choices, DefaultOptions, DefaultText, type Options, TextRotations, type TextOptions } from '../../src/options';
import {
  composed, everyCell, History, opened, painted, restoredWork, storedWork, withOptions,
  withoutEdits, withText, type Work,
} from '../../src/work';

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

// What conversion and text give: any screen that depends on the source, every option and the
// text will do.
function baseScreen(sourceId: string | null, options: Options, text: TextOptions): Screen {
  const screen = new Uint8Array(CellCount);
  if (sourceId === null && text.text === '') return screen;
  const next = random([...`${sourceId}${JSON.stringify(options)}${JSON.stringify(text)}`].reduce((h, c) => h * 31 + c.charCodeAt(0), 7));
  for (let i = 0; i < CellCount; ++i) screen[i] = next() < 0.5 ? 1 : 0;
  return screen;
}

type Step =
  | { kind: 'paint'; cells: number[]; lit: boolean }
  | { kind: 'option'; change: Partial<Options> }
  | { kind: 'text'; change: Partial<TextOptions>; group: string | null }
  | { kind: 'open'; source: string }
  | { kind: 'invert all' | 'all on' | 'all off' | 'clear edits' | 'undo' | 'redo' | 'reload' };

function randomStep(next: () => number, sources: number): Step {
  const pick = <T>(items: readonly T[]): T => items[Math.floor(next() * items.length)];
  const roll = next();
  if (roll < 0.3) {
    // Mostly a few cells in one corner, so that paints often repeat a cell or change nothing.
    const cells = Array.from({ length: 1 + Math.floor(next() * 4) }, () => Math.floor(next() * 8) * 32 + Math.floor(next() * 4));
    return { kind: 'paint', cells, lit: next() < 0.5 };
  }
  if (roll < 0.5) {
    const key = pick(['fit', 'rotate', 'dither', 'background', 'levels', 'threshold', 'invert',
      'brightness', 'contrast', 'gamma', 'area'] as const);
    if (key === 'threshold') return { kind: 'option', change: { threshold: pick([0, 100, 128, 255, 'auto'] as const) } };
    if (key === 'invert') return { kind: 'option', change: { invert: next() < 0.5 } };
    if (key === 'brightness' || key === 'contrast') return { kind: 'option', change: { [key]: pick([-100, -5, 0, 40, 100]) } };
    if (key === 'gamma') return { kind: 'option', change: { gamma: pick([0.2, 0.45, 1, 2.2, 5]) } };
    if (key === 'area') return { kind: 'option', change: { area: pick(['0,0,32,128', '0,0,32,96', '1,2,3,4']) } };
    return { kind: 'option', change: { [key]: pick(Choices[key]) } };
  }
  if (roll < 0.55) return { kind: 'open', source: `picture-${Math.floor(next() * sources)}` };
  if (roll < 0.62) {
    const key = pick(['text', 'font', 'rotate', 'align', 'invert', 'area'] as const);
    // Typing into the text box and the area's boxes: each burst of changes is one step.
    if (key === 'text') return { kind: 'text', change: { text: pick(['', 'A', 'AN', 'ANNA', 'IF FOUND\nCALL 555', 'Zoë']) }, group: 'text' };
    if (key === 'font') return { kind: 'text', change: { font: pick(['auto', 'fixed-5x7', 'spleen-8x16']) }, group: null };
    if (key === 'rotate') return { kind: 'text', change: { rotate: pick(TextRotations) }, group: null };
    if (key === 'align') return { kind: 'text', change: { align: pick(Alignments) }, group: null };
    if (key === 'invert') return { kind: 'text', change: { invert: next() < 0.5 }, group: null };
    return { kind: 'text', change: { area: pick(['0,0,32,128', '0,96,32,32', '4,4,8,8']) }, group: 'text-area' };
  }
  return { kind: pick(['invert all', 'all on', 'all off', 'clear edits', 'undo', 'undo', 'redo', 'redo', 'reload'] as const) };
}

// The model: a list of whole states and the one shown; edits as plain numbers per cell.
interface ModelState { source: string | null; options: Options; text: TextOptions; edits: number[] }
class Model {
  group: string | null = null; // the group of the last step, while nothing else came between
  states: ModelState[] = [{ source: null, options: { ...DefaultOptions }, text: { ...DefaultText }, edits: new Array(CellCount).fill(0) }];
  index = 0;
  constructor(private readonly limit: number) {}
  get state(): ModelState { return this.states[this.index]; }
  shown(): number[] {
    const base = baseScreen(this.state.source, this.state.options, this.state.text);
    return this.state.edits.map((edit, i) => (edit === 0 ? base[i] : edit === 2 ? 1 : 0));
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
    const copy = (change: Partial<ModelState>): ModelState => ({ ...s, options: { ...s.options }, text: { ...s.text }, edits: [...s.edits], ...change });
    switch (step.kind) {
    case 'paint': { const edits = [...s.edits]; for (const c of step.cells) edits[c] = step.lit ? 2 : 1; this.push(copy({ edits })); break; }
    case 'option': this.push(copy({ options: { ...s.options, ...step.change } })); break;
    case 'text': this.push(copy({ text: { ...s.text, ...step.change } }), step.group); break;
    case 'open': this.push(copy({ source: step.source, edits: new Array(CellCount).fill(0) })); break;
    case 'invert all': this.push(copy({ edits: this.shown().map((lit) => (lit ? 1 : 2)) })); break;
    case 'all on': this.push(copy({ edits: new Array(CellCount).fill(2) })); break;
    case 'all off': this.push(copy({ edits: new Array(CellCount).fill(1) })); break;
    case 'clear edits': this.push(copy({ edits: new Array(CellCount).fill(0) })); break;
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
  constructor(private readonly limit: number) { this.history = new History(undefined, limit); }
  get work(): Work { return this.history.present; }
  shown(): Screen { return composed(baseScreen(this.work.source?.id ?? null, this.work.options, this.work.text), this.work.edits); }
  play(step: Step): void {
    const work = this.work;
    switch (step.kind) {
    case 'paint': this.history.apply(painted(work, step.cells, step.lit)); break;
    case 'option': this.history.apply(withOptions(work, step.change)); break;
    case 'text': this.history.apply(withText(work, step.change), step.group); break;
    case 'open': this.history.apply(opened(work, { id: step.source, name: `${step.source}.png`, kind: 'picture' })); break;
    case 'invert all': { const shown = this.shown(); this.history.apply(everyCell(work, (c) => shown[c] === 0)); break; }
    case 'all on': this.history.apply(everyCell(work, () => true)); break;
    case 'all off': this.history.apply(everyCell(work, () => false)); break;
    case 'clear edits': this.history.apply(withoutEdits(work)); break;
    case 'undo': this.history.undo(); break;
    case 'redo': this.history.redo(); break;
    case 'reload': {
      const restored = restoredWork(JSON.parse(JSON.stringify(storedWork(work))));
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
  for (const key of Object.keys(DefaultOptions) as (keyof Options)[]) {
    if (work.options[key] !== model.state.options[key])
      return `option ${key}: ${work.options[key]} != ${model.state.options[key]}`;
  }
  for (const key of Object.keys(DefaultText) as (keyof TextOptions)[]) {
    if (work.text[key] !== model.state.text[key])
      return `text ${key}: ${work.text[key]} != ${model.state.text[key]}`;
  }
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

test('a stored work that this page did not write is not restored', () => {
  const good = storedWork(painted(openedWork(), [0, 5], true));
  assert.ok(restoredWork(good));
  for (const [what, bad] of [
    ['another version', { ...good, version: 1 }],
    ['an area off the display', { ...good, options: { ...good.options, area: '0,100,32,29' } }],
    ['a text area of no pixels', { ...good, text: { ...good.text, area: '0,0,0,5' } }],
    ['an unknown alignment', { ...good, text: { ...good.text, align: 'justify' } }],
    ['a short edits layer', { ...good, edits: good.edits.slice(1) }],
    ['an unknown edit', { ...good, edits: `3${good.edits.slice(1)}` }],
    ['an unknown fit', { ...good, options: { ...good.options, fit: 'zoom' } }],
    ['a threshold out of range', { ...good, options: { ...good.options, threshold: 300 } }],
    ['a gamma out of range', { ...good, options: { ...good.options, gamma: 0 } }],
    ['a brightness that is not whole', { ...good, options: { ...good.options, brightness: 2.5 } }],
    ['a missing option', { ...good, options: { ...good.options, contrast: undefined } }],
    ['a source without id', { ...good, source: { name: 'a.png', kind: 'picture' } }],
    ['nothing', null],
  ] as const)
    assert.equal(restoredWork(bad), null, what);
});

function openedWork(): Work {
  return opened(new History().present, { id: 'a', name: 'a.png', kind: 'picture' });
}
