// The studio page: wires the controls, the screen and the core together.
import createStudioCore from 'studiocore';
import studioWasm from 'studiocore-wasm';
import { CellCount, type Conversion, type PictureLevels, type Screen, StudioCore } from './core';
import { isTbsName, type Opened, OpenError, readPicture, readTbs } from './opening';
import {
  Alignments, areaOf, Choices, commandLine, coreOptions, Dithers, GammaRange, type Options, Ranges,
  textCommandLine, TextRotations,
} from './options';
import { keepSiteFiles, registerOfflineWorker } from './offline';
import { Keeper, type KeptSource } from './persistence';
import { drawActualSize, drawCells, ScreenView, type Stroke } from './screenview';
import {
  composed, everyCell, History, opened, painted, type Source, withOptions, withoutEdits, withText,
  type Work,
} from './work';

interface HeldSource {
  opened: Opened;
  bytes: Blob;
  held: ReturnType<StudioCore['hold']>;
  levels: Map<string, PictureLevels>; // by fit, rotation, background and area
}

const element = <T extends HTMLElement>(id: string): T => {
  const found = document.getElementById(id);
  if (!found) throw new Error(`the page has no #${id}`);
  return found as T;
};

class Studio {
  private history = new History();
  private readonly sources = new Map<string, HeldSource>();
  private keptSourceId: string | null = null;
  private keeping: Promise<void> = Promise.resolve();
  private liveStroke: Stroke | null = null;
  private readonly view: ScreenView;
  private readonly messages = element<HTMLDivElement>('messages');

  constructor(private readonly core: StudioCore, private readonly keeper: Keeper) {
    this.view = new ScreenView(element('screen'), {
      painting: (stroke) => { this.liveStroke = stroke; this.render(false); },
      painted: (stroke) => {
        this.liveStroke = null;
        this.change(painted(this.work, [...stroke.cells], stroke.lit));
      },
    });
    this.wireControls();
  }

  get work(): Work {
    return this.history.present;
  }

  // The controls work while the kept work's picture is read again: what the owner does in that
  // moment wins over the kept work rather than vanishing under it.
  async restore(kept: Awaited<ReturnType<Keeper['restore']>>): Promise<void> {
    const untouched = () => !this.history.canUndo && !this.history.canRedo;
    if (kept) {
      try {
        if (kept.work.source && kept.source) await this.hold(kept.work.source, kept.source.bytes);
        if (untouched()) {
          this.history = new History(kept.work);
          this.keptSourceId = kept.work.source?.id ?? null;
        }
        this.releaseUnused();
      } catch {
        this.say('The work kept from last time could not be read again; starting afresh.', true);
      }
    }
    if (untouched()) this.render(false);
  }

  // The picture converted with the work's options, or null when no picture is open.
  conversion(work: Work = this.work): Conversion | null {
    const source = work.source ? this.sources.get(work.source.id) : undefined;
    if (!source || source.opened.kind !== 'picture') return null;
    return this.core.convertLevels(this.levelsOf(source, work.options), coreOptions(work.options));
  }

  // The screen before hand edits: the picture converted, the screen read, or all dark, with
  // the text set over it.
  base(work: Work = this.work): Screen {
    return this.layers(work).screen;
  }

  private layers(work: Work): { conversion: Conversion | null; screen: Screen; textProblem: string } {
    const source = work.source ? this.sources.get(work.source.id) : undefined;
    const conversion = this.conversion(work);
    const under = source?.opened.kind === 'screen' ? source.opened.screen
      : conversion?.screen ?? new Uint8Array(CellCount);
    const text = work.text;
    const lines = text.text.replace(/\n+$/, '');
    if (lines === '') return { conversion, screen: under, textProblem: '' };
    const set = this.core.setText(under, lines, text.font, TextRotations.indexOf(text.rotate),
      Alignments.indexOf(text.align), areaOf(text.area)!, text.invert);
    if (typeof set === 'string') return { conversion, screen: under, textProblem: `The text is not set: ${set}.` };
    return { conversion, screen: set, textProblem: '' };
  }

  shown(): Screen {
    return composed(this.base(), this.work.edits);
  }

  async open(file: Blob, name: string): Promise<void> {
    try {
      const source: Source = {
        id: crypto.randomUUID(),
        name,
        kind: 'picture',
      };
      const held = await this.hold(source, file, name);
      const kind = held.opened.kind;
      this.change(opened(this.work, { ...source, kind }));
      performance.mark('studio-opened'); // for the performance figures
      const findings = held.opened.kind === 'screen' ? held.opened.findings : [];
      this.say(findings.length ? findings.join('\n') : `Opened ${name}.`, false);
    } catch (error) {
      this.say(error instanceof OpenError ? error.message : `${name}: could not be opened (${String(error)})`, true);
    }
  }

  private async hold(source: Source, bytes: Blob, name = source.name): Promise<HeldSource> {
    const openedFile = isTbsName(name) ? await readTbs(this.core, name, bytes)
      : await readPicture(this.core, name, bytes);
    let held: HeldSource['held'] = null;
    if (openedFile.kind === 'picture') {
      held = this.core.hold(openedFile.rgba, openedFile.width, openedFile.height,
        openedFile.fullWidth, openedFile.fullHeight);
      if (!held) throw new OpenError(`${name}: too large to hold in this tab's memory`);
      openedFile.rgba = new Uint8ClampedArray(0); // the module keeps the pixels now
    }
    const entry: HeldSource = { opened: openedFile, bytes, held, levels: new Map() };
    this.sources.set(source.id, entry);
    return entry;
  }

  private levelsOf(source: HeldSource, options: Options): PictureLevels {
    const key = `${options.fit}|${options.rotate}|${options.background}|${options.area}`;
    let levels = source.levels.get(key);
    if (!levels) {
      levels = this.core.pictureLevels(source.held!, coreOptions(options));
      source.levels.set(key, levels);
    }
    return levels;
  }

  // `group` names the box being typed into: its characters make one step of the history.
  private change(next: Work, group: string | null = null): void {
    if (!this.history.apply(next, group)) return;
    this.render(true);
    this.releaseUnused();
  }

  // A picture that no step of the history shows any more leaves the module's memory.
  private releaseUnused(): void {
    const inUse = this.history.sourcesInUse();
    for (const [id, source] of this.sources) {
      if (inUse.has(id)) continue;
      if (source.held) this.core.release(source.held);
      this.sources.delete(id);
    }
  }

  private render(keep: boolean): void {
    const layers = this.layers(this.work);
    let edits = this.work.edits;
    if (this.liveStroke) edits = painted(this.work, [...this.liveStroke.cells], this.liveStroke.lit).edits;
    const shown = composed(layers.screen, edits);
    this.view.draw(shown);
    drawActualSize(element('actual-size'), shown);
    if (keep) this.keep();
    if (this.view.painting) return;
    this.showControls(layers.conversion);
    element('text-problem').textContent = layers.textProblem;
    this.scheduleCandidates();
  }

  private showControls(conversion: Conversion | null = this.conversion()): void {
    const { options, source } = this.work;
    for (const key of Object.keys(Choices) as (keyof typeof Choices)[])
      element<HTMLSelectElement>(key).value = options[key];
    const automatic = options.threshold === 'auto';
    const shownThreshold = automatic ? conversion?.threshold ?? 128 : options.threshold;
    const threshold = element<HTMLInputElement>('threshold');
    if (threshold.valueAsNumber !== shownThreshold) threshold.value = String(shownThreshold);
    threshold.disabled = automatic;
    element<HTMLInputElement>('auto-threshold').checked = automatic;
    for (const key of ['brightness', 'contrast', 'gamma'] as const) {
      const input = element<HTMLInputElement>(key);
      if (input.valueAsNumber !== options[key]) input.value = String(options[key]);
    }
    element<HTMLInputElement>('invert').checked = options.invert;
    showArea('picture', options.area);
    const text = this.work.text;
    const textBox = element<HTMLTextAreaElement>('text');
    if (textBox.value !== text.text) textBox.value = text.text;
    element<HTMLSelectElement>('font').value = text.font;
    element<HTMLSelectElement>('text-rotate').value = text.rotate;
    element<HTMLSelectElement>('align').value = text.align;
    element<HTMLInputElement>('text-invert').checked = text.invert;
    showArea('text', text.area);
    const lines = text.text.replace(/\n+$/, '').split('\n').filter(() => text.text.trim() !== '');
    element('text-command-line').textContent = lines.length
      ? `tbs text ${lines.map((line) => `'${line.replace(/'/g, "'\\''")}'`).join(' ')} ${textCommandLine(text)} --over SCREEN`.replace(/ +/g, ' ')
      : '';
    element<HTMLButtonElement>('undo').disabled = !this.history.canUndo;
    element<HTMLButtonElement>('redo').disabled = !this.history.canRedo;
    const fromPicture = source?.kind === 'picture';
    element<HTMLFieldSetElement>('conversion').disabled = source !== null && !fromPicture;
    element('source-name').textContent = source
      ? `${source.name}${fromPicture ? '' : ' (a screen: the conversion options do not apply)'}`
      : 'Nothing open';
    let command = '';
    if (conversion) {
      command = `tbs convert ${commandLine(options)}`.trim();
      if (options.dither === 'auto' || options.threshold === 'auto')
        command += `\n(chosen: --dither ${Dithers[conversion.dither]} --threshold ${conversion.threshold})`;
    }
    element('command-line').textContent = command;
    const warning = element('blank-warning');
    warning.hidden = !conversion?.blank;
    if (conversion?.blank) {
      const lit = conversion.screen[0] === 1;
      warning.textContent = `The result is all ${lit ? 'lit' : 'dark'}; try Invert or Background ${options.background === 'black' ? 'white' : 'black'}.`;
    }
  }

  // The candidates are drawn after the screen, off the path of a control change.
  private candidatesPending = false;
  private scheduleCandidates(): void {
    if (this.candidatesPending) return;
    this.candidatesPending = true;
    setTimeout(() => {
      this.candidatesPending = false;
      this.drawCandidates();
    }, 0);
  }

  private drawCandidates(): void {
    const strip = element('candidates');
    const source = this.work.source ? this.sources.get(this.work.source.id) : undefined;
    element('compare').hidden = source?.opened.kind !== 'picture';
    if (!source || source.opened.kind !== 'picture') {
      strip.replaceChildren();
      return;
    }
    const options = this.work.options;
    const candidates = this.core.compare(this.levelsOf(source, options), coreOptions(options));
    const current = this.conversion();
    const buttons = candidates.map((candidate) => {
      const chosen = { dither: Dithers[candidate.dither], threshold: candidate.threshold };
      const label = `--dither ${chosen.dither}\n--threshold ${chosen.threshold}`;
      const button = document.createElement('button');
      button.type = 'button';
      button.setAttribute('aria-pressed', String(current?.dither === candidate.dither && current?.threshold === candidate.threshold));
      button.setAttribute('aria-label', `Candidate ${label.replace('\n', ' ')}`);
      const canvas = document.createElement('canvas');
      canvas.width = 32 * 3;
      canvas.height = 128 * 3;
      const context = canvas.getContext('2d');
      if (context) drawCells(context, candidate.screen, 3);
      button.append(canvas, label);
      button.addEventListener('click', () => this.change(withOptions(this.work, chosen)));
      return button;
    });
    strip.replaceChildren(...buttons);
  }

  // Stores the work after every change, one write after another so the last one wins.
  private keep(): void {
    const work = this.work;
    let source: KeptSource | null | undefined;
    const id = work.source?.id ?? null;
    if (id !== this.keptSourceId) {
      source = id ? { id, bytes: this.sources.get(id)!.bytes } : null;
      this.keptSourceId = id;
    }
    const keeper = this.keeper;
    this.keeping = this.keeping.then(() => keeper.keep(work, source)).catch(() => {
      this.say('The work could not be kept for the next visit (browser storage refused).', true);
    });
  }

  get kept(): Promise<void> {
    return this.keeping;
  }

  private say(text: string, error: boolean): void {
    this.messages.textContent = text;
    this.messages.classList.toggle('error', error);
    this.messages.setAttribute('role', error ? 'alert' : 'status');
  }

  private save(data: BlobPart, type: string, extension: string): void {
    const base = (this.work.source?.name ?? 'boot-screen').replace(/\.[^.]*$/, '') || 'boot-screen';
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([data], { type }));
    link.download = `${base}${extension}`;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 10_000);
    this.say(`Saved ${link.download}.`, false);
  }

  private wireControls(): void {
    const fileInput = element<HTMLInputElement>('open');
    fileInput.addEventListener('change', () => {
      const file = fileInput.files?.[0];
      if (file) void this.open(file, file.name).finally(() => { fileInput.value = ''; });
    });
    for (const key of Object.keys(Choices) as (keyof typeof Choices)[]) {
      const select = element<HTMLSelectElement>(key);
      select.addEventListener('change', () =>
        this.change(withOptions(this.work, { [key]: select.value } as Partial<Options>)));
    }
    const threshold = element<HTMLInputElement>('threshold');
    threshold.addEventListener('input', () => {
      const value = threshold.valueAsNumber;
      if (Number.isInteger(value) && value >= 0 && value <= 255)
        this.change(withOptions(this.work, { threshold: value }), 'threshold');
    });
    threshold.addEventListener('change', () => this.showControls());
    const automatic = element<HTMLInputElement>('auto-threshold');
    automatic.addEventListener('change', () => this.change(withOptions(this.work, {
      // Unchecked, the threshold stays where the automatic choice put it.
      threshold: automatic.checked ? 'auto' : this.conversion()?.threshold ?? 128,
    })));
    for (const key of ['brightness', 'contrast'] as const) {
      const input = element<HTMLInputElement>(key);
      input.addEventListener('input', () => {
        const value = input.valueAsNumber;
        if (Number.isInteger(value) && value >= Ranges[key][0] && value <= Ranges[key][1])
          this.change(withOptions(this.work, { [key]: value }), key);
      });
      input.addEventListener('change', () => this.showControls());
    }
    const gamma = element<HTMLInputElement>('gamma');
    gamma.addEventListener('input', () => {
      const value = gamma.valueAsNumber;
      if (value >= GammaRange[0] && value <= GammaRange[1]) this.change(withOptions(this.work, { gamma: value }), 'gamma');
    });
    gamma.addEventListener('change', () => this.showControls());
    const invert = element<HTMLInputElement>('invert');
    invert.addEventListener('change', () => this.change(withOptions(this.work, { invert: invert.checked })));
    watchArea('picture', (area) => this.change(withOptions(this.work, { area }), 'picture-area'));

    const font = element<HTMLSelectElement>('font');
    for (const each of this.core.fonts()) {
      const option = document.createElement('option');
      option.value = each.name;
      option.textContent = `${each.name} (${each.width} × ${each.height})`;
      font.append(option);
    }
    const textBox = element<HTMLTextAreaElement>('text');
    textBox.addEventListener('input', () => this.change(withText(this.work, { text: textBox.value }), 'text'));
    font.addEventListener('change', () => this.change(withText(this.work, { font: font.value })));
    const textRotate = element<HTMLSelectElement>('text-rotate');
    textRotate.addEventListener('change', () =>
      this.change(withText(this.work, { rotate: textRotate.value as (typeof TextRotations)[number] })));
    const align = element<HTMLSelectElement>('align');
    align.addEventListener('change', () =>
      this.change(withText(this.work, { align: align.value as (typeof Alignments)[number] })));
    const textInvert = element<HTMLInputElement>('text-invert');
    textInvert.addEventListener('change', () => this.change(withText(this.work, { invert: textInvert.checked })));
    watchArea('text', (area) => this.change(withText(this.work, { area }), 'text-area'));

    element('undo').addEventListener('click', () => this.undo());
    element('redo').addEventListener('click', () => this.redo());
    element('invert-all').addEventListener('click', () => {
      const shown = this.shown();
      this.change(everyCell(this.work, (cell) => shown[cell] === 0));
    });
    element('all-on').addEventListener('click', () => this.change(everyCell(this.work, () => true)));
    element('all-off').addEventListener('click', () => this.change(everyCell(this.work, () => false)));
    element('clear-edits').addEventListener('click', () => this.change(withoutEdits(this.work)));

    element('save-tbs').addEventListener('click', () =>
      this.save(this.core.writeTbs(this.shown()), 'text/plain', '.tbs'));
    element('save-bmp').addEventListener('click', () =>
      this.save(this.core.writeEditorBitmap(this.shown()), 'image/bmp', '.bmp'));
    element('save-png').addEventListener('click', () => {
      const canvas = document.createElement('canvas');
      drawActualSize(canvas, this.shown());
      canvas.toBlob((blob) => { if (blob) this.save(blob, 'image/png', '.png'); }, 'image/png');
    });

    document.addEventListener('keydown', (event) => {
      const target = event.target as HTMLElement;
      if (target.matches('textarea, input[type="text"], input[type="number"]')) return;
      if (!(event.ctrlKey || event.metaKey)) return;
      const key = event.key.toLowerCase();
      if (key === 'z' && !event.shiftKey) this.undo();
      else if ((key === 'z' && event.shiftKey) || key === 'y') this.redo();
      else return;
      event.preventDefault();
    });

    document.addEventListener('dragover', (event) => {
      event.preventDefault();
      document.body.classList.add('dropping');
    });
    document.addEventListener('dragleave', () => document.body.classList.remove('dropping'));
    document.addEventListener('drop', (event) => {
      event.preventDefault();
      document.body.classList.remove('dropping');
      const file = event.dataTransfer?.files[0];
      if (file) void this.open(file, file.name);
    });
    document.addEventListener('paste', (event) => {
      const file = [...(event.clipboardData?.files ?? [])][0];
      if (!file) return;
      event.preventDefault();
      void this.open(file, file.name || 'pasted picture');
    });
  }

  private undo(): void {
    if (this.history.undo()) this.render(true);
  }

  private redo(): void {
    if (this.history.redo()) this.render(true);
  }
}

const areaParts = ['x', 'y', 'width', 'height'] as const;

function showArea(prefix: string, area: string): void {
  const numbers = area.split(',');
  areaParts.forEach((part, i) => {
    const input = element<HTMLInputElement>(`${prefix}-${part}`);
    if (input.value !== numbers[i]) input.value = numbers[i];
    input.removeAttribute('aria-invalid');
  });
}

// Calls `changed` with the area the four inputs give when it lies on the display.
function watchArea(prefix: string, changed: (area: string) => void): void {
  const inputs = areaParts.map((part) => element<HTMLInputElement>(`${prefix}-${part}`));
  for (const input of inputs) {
    input.addEventListener('input', () => {
      const area = inputs.map((each) => each.value.trim()).join(',');
      const valid = areaOf(area) !== null;
      for (const each of inputs) {
        if (valid) each.removeAttribute('aria-invalid');
        else each.setAttribute('aria-invalid', 'true');
      }
      if (valid) changed(area);
    });
  }
}

async function start(): Promise<void> {
  const main = element('studio');
  try {
    // The kept work is read while the module compiles.
    const keeper = new Keeper();
    const kept = keeper.restore().catch(() => null);
    // For the tests: settled once the site's files are kept for offline use.
    (window as unknown as { offlineKept: Promise<void> }).offlineKept = keepSiteFiles();
    const core = await StudioCore.load(createStudioCore, studioWasm);
    const studio = new Studio(core, keeper);
    await studio.restore(await kept);
    // For the tests and the performance figures: the studio, and when it became usable.
    (window as unknown as { studio: Studio }).studio = studio;
    performance.mark('studio-ready');
    registerOfflineWorker();
  } catch (error) {
    element('messages').textContent = `The studio could not start: ${String(error)}`;
    element('messages').setAttribute('role', 'alert');
  } finally {
    main.setAttribute('aria-busy', 'false');
    document.body.dataset.ready = 'true';
  }
}

void start();
