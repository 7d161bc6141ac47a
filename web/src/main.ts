// The studio page: wires the controls, the screen and the core together.
import createStudioCore from 'studiocore';
import { CellCount, type Screen, StudioCore } from './core';
import { isTbsName, type Opened, OpenError, readPicture, readTbs } from './opening';
import { Choices, commandLine, coreOptions, type Options } from './options';
import { Keeper, type KeptSource } from './persistence';
import { drawActualSize, ScreenView, type Stroke } from './screenview';
import {
  composed, everyCell, History, opened, painted, type Source, withOptions, withoutEdits, type Work,
} from './work';

interface HeldSource {
  opened: Opened;
  bytes: Blob;
  held: ReturnType<StudioCore['hold']>;
  levels: Map<string, Float64Array>; // by fit, rotation and background
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

  constructor(private readonly core: StudioCore, private readonly keeper: Keeper | null) {
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

  async restore(): Promise<void> {
    const kept = this.keeper ? await this.keeper.restore().catch(() => null) : null;
    if (kept) {
      try {
        if (kept.work.source && kept.source) await this.hold(kept.work.source, kept.source.bytes);
        this.history = new History(kept.work);
        this.keptSourceId = kept.work.source?.id ?? null;
      } catch {
        this.say('The work kept from last time could not be read again; starting afresh.', true);
      }
    }
    this.render(false);
  }

  // The screen before hand edits: the picture converted, the screen read, or all dark.
  base(work: Work = this.work): Screen {
    const source = work.source ? this.sources.get(work.source.id) : undefined;
    if (!source) return new Uint8Array(CellCount);
    if (source.opened.kind === 'screen') return source.opened.screen;
    return this.core.convertLevels(this.levelsOf(source, work.options), coreOptions(work.options));
  }

  shown(): Screen {
    let edits = this.work.edits;
    if (this.liveStroke) edits = painted(this.work, [...this.liveStroke.cells], this.liveStroke.lit).edits;
    return composed(this.base(), edits);
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

  private levelsOf(source: HeldSource, options: Options): Float64Array {
    const key = `${options.fit}|${options.rotate}|${options.background}`;
    let levels = source.levels.get(key);
    if (!levels && source.held) {
      levels = this.core.greyLevels(source.held, coreOptions(options));
      source.levels.set(key, levels);
    }
    return levels ?? new Float64Array(CellCount);
  }

  private change(next: Work): void {
    if (this.history.apply(next)) this.render(true);
  }

  private render(keep: boolean): void {
    const shown = this.shown();
    this.view.draw(shown);
    drawActualSize(element('actual-size'), shown);
    if (keep) this.keep();
    if (this.view.painting) return;
    this.showControls();
  }

  private showControls(): void {
    const { options, source } = this.work;
    for (const key of Object.keys(Choices) as (keyof typeof Choices)[])
      element<HTMLSelectElement>(key).value = options[key];
    const threshold = element<HTMLInputElement>('threshold');
    if (threshold.valueAsNumber !== options.threshold) threshold.value = String(options.threshold);
    element<HTMLInputElement>('invert').checked = options.invert;
    element<HTMLButtonElement>('undo').disabled = !this.history.canUndo;
    element<HTMLButtonElement>('redo').disabled = !this.history.canRedo;
    const fromPicture = source?.kind === 'picture';
    element<HTMLFieldSetElement>('conversion').disabled = source !== null && !fromPicture;
    element('source-name').textContent = source
      ? `${source.name}${fromPicture ? '' : ' (a screen: the conversion options do not apply)'}`
      : 'Nothing open';
    element('command-line').textContent = fromPicture ? `tbs convert ${commandLine(options)}` : '';
  }

  // Stores the work after every change, one write after another so the last one wins.
  private keep(): void {
    if (!this.keeper) return;
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
        this.change(withOptions(this.work, { threshold: value }));
    });
    threshold.addEventListener('change', () => this.showControls());
    const invert = element<HTMLInputElement>('invert');
    invert.addEventListener('change', () => this.change(withOptions(this.work, { invert: invert.checked })));

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

async function start(): Promise<void> {
  const main = element('studio');
  try {
    const [core, keeper] = await Promise.all([StudioCore.load(createStudioCore), Keeper.open()]);
    const studio = new Studio(core, keeper);
    await studio.restore();
    // For the tests and the performance figures: the studio, and when it became usable.
    (window as unknown as { studio: Studio }).studio = studio;
    performance.mark('studio-ready');
  } catch (error) {
    element('messages').textContent = `The studio could not start: ${String(error)}`;
    element('messages').setAttribute('role', 'alert');
  } finally {
    main.setAttribute('aria-busy', 'false');
    document.body.dataset.ready = 'true';
  }
}

void start();
