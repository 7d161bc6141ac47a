// The studio page: wires the controls, the screen and the core together.
import createStudioCore from 'studiocore';
import studioWasm from 'studiocore-wasm';
import { commandLines } from './commandline';
import {
  type CommandName, type Conversion, type OptionValue, type OptionValues, optionText, type PictureLevels,
  type Screen, StudioCore,
} from './core';
import { OptionControls } from './controls';
import { type Opened, OpenError, readPicture, readTbs } from './opening';
import { optionWords, placementKey, workRules } from './options';
import { keepSiteFiles, registerOfflineWorker } from './offline';
import { OriginalView } from './originalview';
import { Keeper, type KeptSource, type KeptWork } from './persistence';
import { areaOption, type Plan, planOf } from './plan';
import { drawActualSize, drawCells, ScreenView, type Stroke } from './screenview';
import {
  composed, editsCoverAll, emptyWork, everyCell, History, invertedAll, opened, painted, restoredWork,
  type Source, withFraming, withLayout, withLines, withOptions, withoutEdits, type Work, type WorkRules,
} from './work';

interface HeldSource {
  opened: Opened;
  bytes: Blob;
  held: ReturnType<StudioCore['hold']>;
  bitmap: ImageBitmap | null; // the picture as held, for drawing the original
  levels: Map<string, PictureLevels>; // by the values of the options that place the picture
}

// What a render shows: the plan, the conversion and the screen under the edits.
interface Layers {
  plan: Plan;
  conversion: Conversion | null;
  screen: Screen;
  textProblem: string;
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
  private readonly original: OriginalView;
  private readonly controls = new Map<CommandName, OptionControls>();
  private readonly messages = element<HTMLDivElement>('messages');
  private readonly candidateButtons: HTMLButtonElement[] = [];
  private candidates: Conversion[] = [];

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
      penLit: () => document.querySelector<HTMLInputElement>('input[name="pen"]:checked')?.value !== 'dark',
    });
    this.original = new OriginalView(element('original'), core.vocabulary.display, {
      moved: (columns, rows, group) => this.moveFraming(columns, rows, group),
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

  // The full size of the picture open; null when what is open is not a picture.
  private pictureSize(work: Work): { width: number; height: number } | null {
    const source = work.source ? this.sources.get(work.source.id) : undefined;
    if (!source || source.opened.kind !== 'picture') return null;
    return { width: source.opened.fullWidth, height: source.opened.fullHeight };
  }

  plan(work: Work = this.work): Plan {
    return planOf(this.core, work, this.pictureSize(work));
  }

  // The picture converted as the plan says, or null when no picture shows.
  conversion(work: Work = this.work, plan = this.plan(work)): Conversion | null {
    const source = work.source ? this.sources.get(work.source.id) : undefined;
    if (!source || source.opened.kind !== 'picture' || !plan.convert) return null;
    return this.core.convertLevels(this.levelsOf(source, plan.convert), plan.convert);
  }

  // The screen before hand edits: the picture converted, the screen read, or all dark, with
  // the text set over it.
  base(work: Work = this.work): Screen {
    return this.layers(work).screen;
  }

  private layers(work: Work): Layers {
    const plan = this.plan(work);
    const source = work.source ? this.sources.get(work.source.id) : undefined;
    const conversion = this.conversion(work, plan);
    const under = plan.showsSource && source?.opened.kind === 'screen' ? source.opened.screen
      : conversion?.screen ?? new Uint8Array(this.core.cellCount);
    if (!plan.text) return { plan, conversion, screen: under, textProblem: '' };
    const set = this.core.setText(under, textLines(work), plan.text);
    if (typeof set === 'string') return { plan, conversion, screen: under, textProblem: `The text is not set: ${withStop(set)}` };
    return { plan, conversion, screen: set, textProblem: '' };
  }

  shown(): Screen {
    return composed(this.base(), this.work.edits, this.work.inverted);
  }

  // Moves the picture in its frame by display pixels; a gesture is one step.
  private moveFraming(columns: number, rows: number, group: string): void {
    const plan = this.plan();
    const size = this.pictureSize(this.work);
    if (!size || !plan.convert) return;
    this.change(withFraming(this.work, this.core.moved(size, plan.convert, this.work.framing, columns, rows)), group);
  }

  // `said`: what the page says once it is open, instead of "Opened NAME.".
  async open(file: Blob, name: string, said = `Opened ${name}.`): Promise<void> {
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
      this.say(findings.length ? findings.join('\n') : said, false);
    } catch (error) {
      this.say(error instanceof OpenError ? error.message : `${name}: could not be opened (${String(error)})`, true);
    }
  }

  private async hold(source: Source, bytes: Blob, name = source.name): Promise<HeldSource> {
    const openedFile = this.core.isTbsName(name) ? await readTbs(this.core, name, bytes)
      : await readPicture(this.core, name, bytes);
    let held: HeldSource['held'] = null;
    let bitmap: ImageBitmap | null = null;
    if (openedFile.kind === 'picture') {
      // Drawn as the original beside the screen; a browser that cannot make one shows none.
      bitmap = await createImageBitmap(new ImageData(openedFile.rgba as Uint8ClampedArray<ArrayBuffer>,
        openedFile.width, openedFile.height)).catch(() => null);
      held = this.core.hold(openedFile.rgba, openedFile.width, openedFile.height,
        openedFile.fullWidth, openedFile.fullHeight);
      if (!held) throw new OpenError(`${name}: too large to hold in this tab's memory`);
      openedFile.rgba = new Uint8ClampedArray(0); // the module keeps the pixels now
    }
    const entry: HeldSource = { opened: openedFile, bytes, held, bitmap, levels: new Map() };
    this.sources.set(source.id, entry);
    return entry;
  }

  private levelsOf(source: HeldSource, options: OptionValues): PictureLevels {
    const key = placementKey(this.core.vocabulary.commands.convert, options);
    let levels = source.levels.get(key);
    if (levels) {
      // The most recently used last: the oldest one goes first.
      source.levels.delete(key);
    } else {
      levels = this.core.pictureLevels(source.held!, options);
      // A drag of the picture passes through a new placement at every step: only the last few
      // are kept (undo and redo, the candidates' start), not one per step.
      if (source.levels.size >= KeptPlacements) source.levels.delete(source.levels.keys().next().value!);
    }
    source.levels.set(key, levels);
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
      source.bitmap?.close();
      this.sources.delete(id);
    }
  }

  private render(keep: boolean): void {
    const layers = this.layers(this.work);
    const { work } = this;
    let edits = work.edits;
    if (this.liveStroke) edits = painted(work, [...this.liveStroke.cells], this.liveStroke.lit).edits;
    const shown = composed(layers.screen, edits, work.inverted);
    this.view.draw(shown, this.showingEdits() ? edits : null);
    const image = this.core.screenImage(shown);
    drawActualSize(element('actual-size'), image, this.core.vocabulary.display);
    drawActualSize(element('mini-screen'), image, this.core.vocabulary.display);
    if (keep) this.keep();
    if (this.view.painting) return;
    this.showOriginal(layers.plan);
    this.showControls(layers);
    element('text-problem').textContent = layers.textProblem;
    this.scheduleCandidates();
  }

  private showingEdits(): boolean {
    return element<HTMLInputElement>('show-edits').checked;
  }

  private showOriginal(plan: Plan): void {
    const source = this.work.source ? this.sources.get(this.work.source.id) : undefined;
    const picture = source?.opened.kind === 'picture' && source.bitmap
      ? { bitmap: source.bitmap, full: { width: source.opened.fullWidth, height: source.opened.fullHeight } } : null;
    const originalCanvas = element('original');
    originalCanvas.hidden = !picture;
    element('framing').hidden = !picture || !plan.framed;
    this.original.draw(picture, plan.framed);
    const zoom = element<HTMLInputElement>('zoom');
    const value = plan.framed?.framing.zoom ?? 1;
    if (Number(zoom.value) !== value) zoom.value = String(value);
    element('zoom-value').textContent = `${Math.round(value * 100) / 100}×`;
  }

  private showControls({ plan, conversion }: Layers): void {
    const { options, source } = this.work;
    // The controls show the values in force: a layout's areas among them.
    for (const [command, controls] of this.controls) {
      controls.show(this.asShown(command, plan[command] ?? options[command]), conversion?.chosen ?? null);
      controls.showAreas(plan.ownAreas);
    }
    const textBox = element<HTMLTextAreaElement>('text');
    if (textBox.value !== this.work.lines) textBox.value = this.work.lines;
    element<HTMLSelectElement>('layout').value = plan.layout;
    this.showLayoutHint();
    element<HTMLButtonElement>('undo').disabled = !this.history.canUndo;
    element<HTMLButtonElement>('redo').disabled = !this.history.canRedo;
    const fromPicture = source?.kind === 'picture';
    element<HTMLFieldSetElement>('conversion').disabled = source !== null && !fromPicture;
    element('source-name').textContent = source
      ? `${source.name}${fromPicture ? '' : ' (a screen: the conversion options do not apply)'}`
      : 'Nothing open';
    this.showCommands(plan, conversion);
    const warning = element('blank-warning');
    warning.hidden = !conversion?.blank;
    if (conversion?.blank) {
      // Outside its area the conversion leaves every cell dark: a blank result with a lit cell
      // is all lit.
      const words = this.core.vocabulary.words;
      warning.textContent = sentence(conversion.screen.includes(1) ? words.blankResultLit : words.blankResultDark);
    }
    const note = element('edits-note');
    note.hidden = !editsCoverAll(this.work);
    note.textContent = note.hidden ? ''
      : 'Hand edits cover every cell, so changes to the picture and the text do not show. Clear edits (or Undo) brings them back.';
  }

  // The tbs commands that give the same screen, and what they leave out.
  private showCommands(plan: Plan, conversion: Conversion | null): void {
    const { work } = this;
    const { commands, inverting } = this.core.vocabulary;
    const source = work.source && plan.showsSource ? { name: work.source.name, kind: work.source.kind } : null;
    const lines = commandLines({
      source, convert: plan.convert, lines: plan.text ? textLines(work).split('\n') : null, text: plan.text,
      inverted: work.inverted, rows: commands, invertName: inverting,
    });
    const box = element<HTMLTextAreaElement>('command-line');
    box.value = lines.join('\n');
    element<HTMLButtonElement>('copy-command').disabled = lines.length === 0;
    const notes: string[] = [];
    if (conversion && Object.entries(conversion.chosen).some(([name, value]) => plan.convert?.[name] !== value))
      notes.push(`The conversion chose ${optionWords(conversion.chosen).join(' ')}.`);
    if (work.edits.some((edit) => edit !== 0)) notes.push('Hand edits are not in these commands.');
    else if (work.inverted && !this.commandsInvert(plan)) notes.push('Invert all is not in these commands here.');
    element('command-note').textContent = notes.join(' ');
  }

  // Whether swapping each command's own invert gives what Invert all shows: not where the text
  // alone is inverted over a blank screen, which the text's area does not cover.
  private commandsInvert(plan: Plan): boolean {
    const { inverting } = this.core.vocabulary;
    const flip = (values: OptionValues | null, name: string) => values && { ...values, [name]: values[name] !== true };
    const source = this.work.source ? this.sources.get(this.work.source.id) : undefined;
    const convert = plan.convert && flip(plan.convert, inverting.convert);
    let under: Screen = new Uint8Array(this.core.cellCount);
    if (convert && source) under = this.core.convertLevels(this.levelsOf(source, convert), convert).screen;
    else if (plan.showsSource && source?.opened.kind === 'screen') under = this.core.inverted(source.opened.screen);
    const text = flip(plan.text, inverting.text);
    const made = text ? this.core.setText(under, textLines(this.work), text) : under;
    const wanted = composed(this.base(), new Uint8Array(this.core.cellCount), true);
    return typeof made !== 'string' && made.every((cell, i) => cell === wanted[i]);
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

  // The candidates of the picture as placed, the same whichever one is chosen: the comparison
  // starts from the defaults of what the candidates choose.
  private candidatesOf(convert: OptionValues, source: HeldSource): Conversion[] {
    const first = this.core.compare(this.levelsOf(source, convert), convert);
    const defaults = this.rules.defaults.convert;
    const chosenNames = new Set(first.flatMap((candidate) => Object.keys(candidate.chosen)));
    const start: Record<string, OptionValue> = { ...convert };
    for (const name of chosenNames) start[name] = defaults[name];
    if (optionText(start) === optionText(convert)) return first;
    return this.core.compare(this.levelsOf(source, start), start);
  }

  private drawCandidates(): void {
    const strip = element('candidates');
    const source = this.work.source ? this.sources.get(this.work.source.id) : undefined;
    const plan = this.plan();
    const shown = source?.opened.kind === 'picture' && plan.convert !== null;
    element('compare').hidden = !shown;
    if (!shown || !source || !plan.convert) {
      this.candidates = [];
      return;
    }
    this.candidates = this.candidatesOf(plan.convert, source);
    const current = this.conversion(this.work, plan);
    const { columns, rows } = this.core.vocabulary.display;
    // The buttons stay and change in place, so the focus stays on the one chosen.
    while (this.candidateButtons.length < this.candidates.length) {
      const index = this.candidateButtons.length;
      const button = document.createElement('button');
      button.type = 'button';
      button.className = 'candidate';
      const canvas = document.createElement('canvas');
      canvas.width = columns * CandidatePixels;
      canvas.height = rows * CandidatePixels;
      canvas.setAttribute('aria-hidden', 'true');
      const name = document.createElement('span');
      name.className = 'candidate-name';
      const exact = document.createElement('span');
      exact.className = 'candidate-options';
      exact.id = `candidate-options-${index}`;
      button.setAttribute('aria-describedby', exact.id);
      button.append(canvas, name, exact);
      button.addEventListener('click', () => {
        const candidate = this.candidates[index];
        if (candidate) this.change(withOptions(this.work, 'convert', candidate.chosen));
      });
      this.candidateButtons.push(button);
    }
    this.candidateButtons.forEach((button, index) => {
      const candidate = this.candidates[index];
      button.hidden = !candidate;
      if (!candidate) return;
      const [canvas, name, exact] = button.children as unknown as [HTMLCanvasElement, HTMLSpanElement, HTMLSpanElement];
      const context = canvas.getContext('2d');
      // Drawn as it would show: under Invert all, inverted.
      const screen = this.work.inverted ? this.core.inverted(candidate.screen) : candidate.screen;
      if (context) drawCells(context, screen, this.core.vocabulary.display, CandidatePixels);
      const words = this.candidateWords(candidate.chosen);
      button.setAttribute('aria-label', words.join(', '));
      // On the small tile: the method's name, then the other values alone.
      name.textContent = [words[0], ...Object.values(candidate.chosen).slice(1).map(String)].join('\n');
      exact.textContent = optionWords(candidate.chosen).join(' ');
      button.setAttribute('aria-pressed', String(current !== null && optionText(current.chosen) === optionText(candidate.chosen)));
    });
    if (strip.childElementCount !== this.candidateButtons.length) strip.replaceChildren(...this.candidateButtons);
  }

  // A candidate in words: ["Fine dots", "threshold 128"].
  private candidateWords(chosen: Readonly<Record<string, OptionValue>>): string[] {
    const rows = this.core.vocabulary.commands.convert;
    return Object.entries(chosen).map(([name, value], i) => {
      const row = rows.find((each) => each.name === name);
      const words = row?.choices.find((choice) => choice.value === value)?.label ??
        `${row?.label ?? name} ${String(value)}`;
      return i === 0 ? words : words.toLowerCase();
    });
  }

  // The values as the controls show them: under Invert all, each command's own invert swapped, so
  // that a box shows what the screen and the command line show; a change from the controls is
  // taken back the same way.
  private asShown(command: CommandName, values: OptionValues): OptionValues {
    const name = this.core.vocabulary.inverting[command];
    if (!this.work.inverted || !(name in values)) return values;
    return { ...values, [name]: values[name] !== true };
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

  // The link to this page that holds the screen shown, or why there is none (an address too
  // long for a link).
  link(): string {
    const made = this.core.screenLink(this.shown(), location.href.split('#')[0]);
    return 'link' in made ? made.link : sentence(made.problem);
  }

  // A screen shared by link opens as a file would: one step to undo, the work before it kept
  // until then. A link that holds no screen changes nothing and says why.
  async openLink(link: string): Promise<void> {
    const screen = this.core.linkScreen(link);
    if (typeof screen === 'string') {
      this.say(sentence(screen), true);
      return;
    }
    // Kept as the .tbs it stands for, so that a reload reads it again like any opened file.
    await this.open(new Blob([this.core.writeTbs(screen)], { type: 'text/plain' }), LinkedScreenName,
      'Opened the screen from the link.');
  }

  private async copyLink(): Promise<void> {
    const made = this.core.screenLink(this.shown(), location.href.split('#')[0]);
    if ('problem' in made) {
      this.say(sentence(made.problem), true);
      return;
    }
    try {
      await navigator.clipboard.writeText(made.link);
      this.say('Copied a link that opens this screen. The screen travels in the link itself: nothing is sent anywhere.', false);
    } catch {
      this.say(`The browser did not allow copying; the link is: ${made.link}`, true);
    }
  }

  // A message that does not interrupt: shown only where nothing else is being said.
  tell(text: string): void {
    if (!this.messages.textContent) this.say(text, false);
  }

  // Files the system opens with the installed studio (from a file manager): each is opened as
  // though chosen with Open, one step each. Browsers without it open files by Open and drop.
  openLaunchedFiles(): void {
    const queue = (window as unknown as { launchQueue?: LaunchQueue }).launchQueue;
    queue?.setConsumer(async (launch) => {
      for (const handle of launch.files ?? []) {
        if (handle.kind !== 'file') continue;
        const file = await (handle as FileSystemFileHandle).getFile();
        await this.open(file, file.name);
      }
    });
  }

  private say(text: string, error: boolean): void {
    this.messages.textContent = text;
    // Reached by Tab only when there is something to read (a long one scrolls inside it).
    this.messages.tabIndex = text ? 0 : -1;
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
          change: (change, group) => this.change(withOptions(this.work, command, this.asShown(command, change)), group),
        }));
    }
    const textBox = element<HTMLTextAreaElement>('text');
    textBox.addEventListener('input', () => this.change(withLines(this.work, textBox.value), 'lines'));
    this.wireLayout();
    const zoom = element<HTMLInputElement>('zoom');
    zoom.min = String(this.core.vocabulary.zoom.minimum);
    zoom.max = String(this.core.vocabulary.zoom.maximum);
    zoom.addEventListener('input', () =>
      this.change(withFraming(this.work, { ...this.work.framing, zoom: Number(zoom.value) }), 'zoom'));
    element('show-edits').addEventListener('change', () => this.render(false));
    // The small screen in the corner shows while the big one is out of view (the page's style
    // shows it on a phone only); a tap brings the big one back.
    const screen = element('screen');
    const toScreen = element<HTMLButtonElement>('to-screen');
    new IntersectionObserver(([entry]) => { toScreen.hidden = entry.isIntersecting; }).observe(screen);
    toScreen.addEventListener('click', () => {
      screen.scrollIntoView({ block: 'center', behavior: 'smooth' });
      screen.focus({ preventScroll: true });
    });
    element('copy-command').addEventListener('click', () => void this.copyCommands());
    element('copy-link').addEventListener('click', () => void this.copyLink());

    element('undo').addEventListener('click', () => this.undo());
    element('redo').addEventListener('click', () => this.redo());
    element('invert-all').addEventListener('click', () => {
      this.change(invertedAll(this.work));
      this.say(this.work.inverted ? 'Inverted everything: the picture, the text and the edits.' : 'Inverted back.', false);
    });
    element('all-on').addEventListener('click', () => {
      this.change(everyCell(this.work, () => true));
      this.say('Every cell lit, as hand edits: Undo or Clear edits brings the picture back.', false);
    });
    element('all-off').addEventListener('click', () => {
      this.change(everyCell(this.work, () => false));
      this.say('Every cell dark, as hand edits: Undo or Clear edits brings the picture back.', false);
    });
    element('clear-edits').addEventListener('click', () => {
      this.change(withoutEdits(this.work));
      this.say('Hand edits cleared.', false);
    });

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

  // The "Layout" list, from the core's layouts. Choosing Custom starts from the areas in force,
  // so nothing moves until the owner changes them.
  private wireLayout(): void {
    const select = document.createElement('select');
    select.id = 'layout';
    for (const layout of this.core.vocabulary.layouts) {
      const option = new Option(layout.label, layout.value);
      option.title = layout.hint;
      select.append(option);
    }
    const label = document.createElement('label');
    label.htmlFor = select.id;
    label.textContent = 'Layout';
    const hint = document.createElement('p');
    hint.className = 'hint';
    hint.id = 'layout-hint';
    select.setAttribute('aria-describedby', hint.id);
    const field = document.createElement('div');
    field.className = 'field';
    field.append(label, select, hint);
    element('layout-field').replaceChildren(field);
    const showHint = () => {
      hint.textContent = this.core.vocabulary.layouts.find((layout) => layout.value === select.value)?.hint ?? '';
    };
    select.addEventListener('change', () => {
      const plan = this.plan();
      let work = withLayout(this.work, select.value);
      if (this.core.vocabulary.layouts.find((layout) => layout.value === select.value)?.ownAreas) {
        const { commands } = this.core.vocabulary;
        for (const command of ['convert', 'text'] as const) {
          const areaName = areaOption(commands[command]);
          const area = plan[command]?.[areaName] ?? this.core.layout(plan.layout, true, true)?.[command === 'convert' ? 'picture' : 'text'];
          if (typeof area === 'string' && area !== '') work = withOptions(work, command, { [areaName]: area });
        }
      }
      this.change(work);
    });
    // The hint follows the layout in force, whoever chose it (the page or the owner).
    this.showLayoutHint = showHint;
  }

  private showLayoutHint: () => void = () => {};

  private async copyCommands(): Promise<void> {
    const box = element<HTMLTextAreaElement>('command-line');
    try {
      await navigator.clipboard.writeText(box.value);
      this.say('Copied the commands.', false);
    } catch {
      box.select();
      this.say('Select the commands and copy them (the browser did not allow copying).', true);
    }
  }

  private undo(): void {
    if (this.history.undo()) this.render(true);
  }

  private redo(): void {
    if (this.history.redo()) this.render(true);
  }
}

// The File Handling API, not yet in TypeScript's DOM types.
interface LaunchQueue {
  setConsumer(consumer: (launch: { files?: readonly FileSystemHandle[] }) => void): void;
}

// The text's lines as set: without the line breaks that end it.
function textLines(work: Work): string {
  return work.lines.replace(/\n+$/, '');
}

// What a screen opened from a link is called: its .tbs name, and the name its saves start from.
const LinkedScreenName = 'shared-screen.tbs';

// How many placements of a picture keep their levels (about 100 KB each).
const KeptPlacements = 8;

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
    studio.openLaunchedFiles();
    // A link's screen (the page opened by a shared link, or a link pasted into this tab's address
    // bar): opened once; the address then loses its fragment, so a reload does not open it again.
    const openLinked = async () => {
      if (!location.hash) return;
      const link = location.href;
      history.replaceState(null, '', location.href.split('#')[0]);
      await studio.openLink(link);
    };
    window.addEventListener('hashchange', () => void openLinked());
    await openLinked();
    registerOfflineWorker(() => studio.tell(
      'A new version of the studio is ready; it starts the next time you open the studio.'));
  } catch (error) {
    element('messages').textContent = `The studio could not start: ${String(error)}`;
    element('messages').setAttribute('role', 'alert');
  } finally {
    main.setAttribute('aria-busy', 'false');
    document.body.dataset.ready = 'true';
  }
}

void start();
