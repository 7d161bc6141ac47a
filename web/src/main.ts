// The studio page: wires the controls, the screen and the core together.
import createStudioCore from 'studiocore';
import studioWasm from 'studiocore-wasm';
import {
  type CommandName, type Conversion, type OptionValues, optionText, type PictureLevels, type Screen,
  StudioCore,
} from './core';
import { OptionControls } from './controls';
import { type Opened, OpenError, readPicture, readTbs } from './opening';
import { commandWords, optionWords, placementKey, workRules } from './options';
import { keepSiteFiles, registerOfflineWorker } from './offline';
import { Keeper, type KeptSource, type KeptWork } from './persistence';
import { drawActualSize, drawCells, ScreenView, type Stroke } from './screenview';
import {
  composed, emptyWork, everyCell, History, opened, painted, restoredWork, type Source, withLines,
  withOptions, withoutEdits, type Work, type WorkRules,
} from './work';

interface HeldSource {
  opened: Opened;
  bytes: Blob;
  held: ReturnType<StudioCore['hold']>;
  levels: Map<string, PictureLevels>; // by the values of the options that place the picture
}

const element = <T extends HTMLElement>(id: string): T => {
  const found = document.getElementById(id);
  if (!found) throw new Error(`the page has no #${id}`);
  return found as T;
};

class Studio {
  private readonly rules: WorkRules;
  private history: History;
  private readonly sources = new Map<string, HeldSource>();
  private keptSourceId: string | null = null;
  private keeping: Promise<void> = Promise.resolve();
  private liveStroke: Stroke | null = null;
  private readonly view: ScreenView;
  private readonly controls = new Map<CommandName, OptionControls>();
  private readonly messages = element<HTMLDivElement>('messages');

  constructor(private readonly core: StudioCore, private readonly keeper: Keeper) {
    this.rules = workRules(core);
    this.history = new History(emptyWork(this.rules));
    this.view = new ScreenView(element('screen'), core.vocabulary.display, {
      line: (from, to) => core.cellsOnLine(from, to),
      painting: (stroke) => { this.liveStroke = stroke; this.render(false); },
      painted: (stroke) => {
        this.liveStroke = null;
        this.change(painted(this.work, [...stroke.cells], stroke.lit));
      },
    });
    this.wireControls();
    this.render(false); // the controls show the defaults while kept work is read again
  }

  get work(): Work {
    return this.history.present;
  }

  // The controls work while the kept work's picture is read again: what the owner does in that
  // moment wins over the kept work rather than vanishing under it.
  async restore(kept: KeptWork | null): Promise<void> {
    const untouched = () => !this.history.canUndo && !this.history.canRedo;
    const work = kept && restoredWork(kept.stored, this.rules);
    if (kept && !work) this.say('The work kept from last time could not be read again; starting afresh.', true);
    if (work) {
      try {
        if (work.source && kept.source) await this.hold(work.source, kept.source.bytes);
        if (untouched()) {
          this.history = new History(work);
          this.keptSourceId = work.source?.id ?? null;
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
    return this.core.convertLevels(this.levelsOf(source, work.options.convert), work.options.convert);
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
      : conversion?.screen ?? new Uint8Array(this.core.cellCount);
    const lines = work.lines.replace(/\n+$/, '');
    if (lines === '') return { conversion, screen: under, textProblem: '' };
    const set = this.core.setText(under, lines, work.options.text);
    if (typeof set === 'string') return { conversion, screen: under, textProblem: `The text is not set: ${withStop(set)}` };
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
    const openedFile = this.core.isTbsName(name) ? await readTbs(this.core, name, bytes)
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

  private levelsOf(source: HeldSource, options: OptionValues): PictureLevels {
    const key = placementKey(this.core.vocabulary.commands.convert, options);
    let levels = source.levels.get(key);
    if (!levels) {
      levels = this.core.pictureLevels(source.held!, options);
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
    drawActualSize(element('actual-size'), this.core.screenImage(shown), this.core.vocabulary.display);
    if (keep) this.keep();
    if (this.view.painting) return;
    this.showControls(layers.conversion);
    element('text-problem').textContent = layers.textProblem;
    this.scheduleCandidates();
  }

  private showControls(conversion: Conversion | null = this.conversion()): void {
    const { options, source } = this.work;
    for (const [command, controls] of this.controls)
      controls.show(options[command], conversion?.chosen ?? null);
    const textBox = element<HTMLTextAreaElement>('text');
    if (textBox.value !== this.work.lines) textBox.value = this.work.lines;
    // The tbs commands that give the same screen: tbs COMMAND [LINES] OPTIONS, defaults left out.
    const commandLine = (command: CommandName, lines = '') =>
      `tbs ${command} ${lines} ${commandWords(this.core.vocabulary.commands[command], options[command])}`
        .replace(/ +/g, ' ').trim();
    const lines = this.work.lines.replace(/\n+$/, '').split('\n').filter(() => this.work.lines.trim() !== '');
    element('text-command-line').textContent = lines.length
      ? `${commandLine('text', lines.map((line) => `'${line.replace(/'/g, "'\\''")}'`).join(' '))} --over SCREEN`
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
      command = commandLine('convert');
      // What the conversion chose, where the options left it the choice.
      const chosen = conversion.chosen;
      if (Object.keys(chosen).some((name) => chosen[name] !== options.convert[name]))
        command += `\n(chosen: ${optionWords(chosen).join(' ')})`;
    }
    element('command-line').textContent = command;
    const warning = element('blank-warning');
    warning.hidden = !conversion?.blank;
    if (conversion?.blank) {
      // Outside its area the conversion leaves every cell dark: a blank result with a lit cell
      // is all lit.
      const words = this.core.vocabulary.words;
      warning.textContent = sentence(conversion.screen.includes(1) ? words.blankResultLit : words.blankResultDark);
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
    const options = this.work.options.convert;
    const candidates = this.core.compare(this.levelsOf(source, options), options);
    const current = this.conversion();
    const { columns, rows } = this.core.vocabulary.display;
    const buttons = candidates.map((candidate) => {
      const words = optionWords(candidate.chosen);
      const button = document.createElement('button');
      button.type = 'button';
      button.setAttribute('aria-pressed', String(current !== null && optionText(current.chosen) === optionText(candidate.chosen)));
      button.setAttribute('aria-label', `Candidate ${words.join(' ')}`);
      const canvas = document.createElement('canvas');
      canvas.width = columns * CandidatePixels;
      canvas.height = rows * CandidatePixels;
      const context = canvas.getContext('2d');
      if (context) drawCells(context, candidate.screen, this.core.vocabulary.display, CandidatePixels);
      button.append(canvas, words.join('\n'));
      button.addEventListener('click', () => this.change(withOptions(this.work, 'convert', candidate.chosen)));
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

  // Named after the opened file: badge.png gives badge.tbs, and badge-screen.png for the
  // screen's own picture, which must not suggest the source picture's name.
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
    // Each command's options, built from the core's table in the container the page has for them.
    const commands = this.core.vocabulary.commands;
    for (const container of document.querySelectorAll<HTMLElement>('[data-options]')) {
      const command = container.dataset.options as CommandName;
      if (!(command in commands)) throw new Error(`the page has options of no command ${command}`);
      this.controls.set(command, new OptionControls(container, command, commands[command],
        this.core.vocabulary.display, container.dataset.areaLabel ?? '', {
          values: () => this.work.options[command],
          chosen: () => this.conversion()?.chosen ?? null,
          problem: (values) => this.core.problem(command, values),
          change: (change, group) => this.change(withOptions(this.work, command, change), group),
        }));
    }
    const textBox = element<HTMLTextAreaElement>('text');
    textBox.addEventListener('input', () => this.change(withLines(this.work, textBox.value), 'lines'));

    element('undo').addEventListener('click', () => this.undo());
    element('redo').addEventListener('click', () => this.redo());
    element('invert-all').addEventListener('click', () => {
      const inverted = this.core.inverted(this.shown());
      this.change(everyCell(this.work, (cell) => inverted[cell] === 1));
    });
    element('all-on').addEventListener('click', () => this.change(everyCell(this.work, () => true)));
    element('all-off').addEventListener('click', () => this.change(everyCell(this.work, () => false)));
    element('clear-edits').addEventListener('click', () => this.change(withoutEdits(this.work)));

    element('save-tbs').addEventListener('click', () =>
      this.save(this.core.writeTbs(this.shown()), 'text/plain', '.tbs'));
    element('save-bmp').addEventListener('click', () =>
      this.save(this.core.writeEditorBitmap(this.shown()), 'image/bmp', '-screen.bmp'));
    element('save-png').addEventListener('click', () => {
      const canvas = document.createElement('canvas');
      drawActualSize(canvas, this.core.screenImage(this.shown()), this.core.vocabulary.display);
      canvas.toBlob((blob) => { if (blob) this.save(blob, 'image/png', '-screen.png'); }, 'image/png');
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

// A candidate's cells, in CSS pixels.
const CandidatePixels = 3;

// The core's words with their full stop: a problem in tbs's words may end with one already.
function withStop(words: string): string {
  return /[.!?]$/.test(words) ? words : `${words}.`;
}

// A sentence of the core's words.
function sentence(words: string): string {
  return withStop(words.charAt(0).toUpperCase() + words.slice(1));
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
