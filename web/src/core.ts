// The core compiled to WebAssembly (web/binding), behind typed calls. A screen is one byte per
// display pixel row by row, 1 = lit. Options cross as the words tbs takes; the table they come
// from, the display's size and the core's words are the module's vocabulary.

export type Screen = Uint8Array<ArrayBuffer>;

// A row of the core's option table, as studio_vocabulary() exports it.
export type OptionKind = 'flag' | 'choice' | 'whole' | 'number' | 'area' | 'rectangle';
export interface OptionRow {
  name: string;
  kind: OptionKind;
  label: string; // the words people see for it
  valueName: string; // as tbs's help names the value: METHOD, X,Y,W,H
  choices: { value: string; label: string }[];
  minimum: number;
  maximum: number;
  step: number;
  automatic: string; // a whole number's word for "chosen from the picture", or ''
  default: string; // as typed; '' for a flag
  unit: string;
  help: string; // the line tbs --help shows
  hint: string; // one line in plain words for the control
  pageDefault: string; // where the page starts from another value than tbs: the value, "on" for a flag
  placesPicture: boolean; // a picture reduced to the display must be reduced again when it changes
}

export interface Vocabulary {
  display: { columns: number; rows: number };
  // The options the studio offers of each command, in the order tbs --help lists them.
  commands: { convert: OptionRow[]; text: OptionRow[] };
  // How the picture and the text share the screen, as the "Layout" control offers it.
  // ownAreas: the picture and the text go where their options' areas say (custom).
  layouts: { value: string; label: string; hint: string; ownAreas: boolean }[];
  inverting: { convert: string; text: string }; // each command's flag that swaps lit and dark
  zoom: { minimum: number; maximum: number };
  readByteCap: number; // the .tbs reader takes no more bytes than this
  levelsLength: number; // the numbers of a picture reduced to the display
  maxCandidates: number; // the most candidates a comparison gives
  words: { blankResultLit: string; blankResultDark: string; notABootScreenFile: string; notAScreenLink: string };
}
export type CommandName = keyof Vocabulary['commands'];

// An option's value: the word tbs takes after it, or for a flag whether it is given.
export type OptionValue = string | boolean;
export type OptionValues = Readonly<Record<string, OptionValue>>;

// The values as option text: one option a line, a flag its name alone when set.
export function optionText(values: OptionValues): string {
  let text = '';
  for (const [name, value] of Object.entries(values)) {
    if (value === false) continue;
    text += value === true ? `${name}\n` : `${name} ${value}\n`;
  }
  return text;
}

// Option text back as values: each line's first word is the name, the rest its value.
export function optionValues(text: string): Record<string, OptionValue> {
  const values: Record<string, OptionValue> = {};
  for (const line of text.split('\n')) {
    if (line === '') continue;
    const space = line.indexOf(' ');
    if (space < 0) values[line] = true;
    else values[line.slice(0, space)] = line.slice(space + 1);
  }
  return values;
}

// A picture reduced to the display (grey levels and what the automatic choices look at), as the
// binding hands it out; only the options that place the picture shape it.
export type PictureLevels = Float64Array<ArrayBuffer>;

// A conversion's screen, with the options that give it again (the method and threshold chosen).
export interface Conversion {
  screen: Screen;
  chosen: Record<string, OptionValue>;
  blank: boolean; // all dark or all lit, from a picture that is not flat
}

// A rectangle in whole pixels.
export interface Rect { left: number; top: number; width: number; height: number }

// What the screen shows of a picture: the zoom and the picture's point at the view's centre, as
// shares of its width and height.
export interface Framing { zoom: number; x: number; y: number }

// A framing as the core holds it, with the crop it gives and where the part lands.
export interface Framed {
  framing: Framing;
  crop: string; // as the crop option takes it; '' for the whole picture
  part: Rect; // in the picture's own pixels
  placed: Rect; // on the display; it may reach past the area
  turns: number; // clockwise quarter turns
  area: Rect;
}

// The areas of a layout: an area "X,Y,W,H", '' where the options' own area counts, null where
// that part is not shown.
export interface LayoutAreas { value: string; picture: string | null; text: string | null }

// The options were refused; the message is the problem in tbs's words.
export class OptionsRefused extends Error {}


interface StudioModule {
  HEAPU8: Uint8Array<ArrayBuffer>;
  HEAPF64: Float64Array<ArrayBuffer>;
  HEAP32: Int32Array<ArrayBuffer>;
  _malloc(size: number): number;
  _free(pointer: number): void;
  _studio_vocabulary(): number;
  _studio_option_problem(command: number, options: number): number;
  _studio_picture_levels(rgba: number, width: number, height: number, fullWidth: number,
    fullHeight: number, options: number, levels: number): number;
  _studio_convert_levels(levels: number, options: number, screen: number, blank: number): number;
  _studio_compare(levels: number, options: number, screens: number, blank: number): number;
  _studio_chosen(): number;
  _studio_set_text(text: number, options: number, base: number, screen: number): number;
  _studio_message(): number;
  _studio_cells_on_line(fromColumn: number, fromRow: number, toColumn: number, toRow: number, cells: number): number;
  _studio_read_tbs(bytes: number, length: number, screen: number): number;
  _studio_check_tbs(bytes: number, length: number, name: number): number;
  _studio_write_tbs(screen: number): number;
  _studio_written_length(): number;
  _studio_read_editor_bitmap(rgba: number, width: number, height: number, screen: number): number;
  _studio_is_tbs_name(name: number): number;
  _studio_picture_size_problem(width: number, height: number): number;
  _studio_screen_image(screen: number): number;
  _studio_invert(screen: number, inverted: number): void;
  _studio_write_editor_bitmap(screen: number): number;
  _studio_framed(fullWidth: number, fullHeight: number, options: number, framing: number, placement: number): number;
  _studio_moved(fullWidth: number, fullHeight: number, options: number, framing: number, columns: number, rows: number): number;
  _studio_layout(value: number, hasPicture: number, hasText: number): number;
  _studio_screen_link(screen: number, base: number): number;
  _studio_link_screen(link: number, screen: number): number;
}

// Emscripten's hook for instantiating the module itself: it takes the imports and a callback
// for the instance, and returns the instance's exports (or {} when they come later).
type Instantiate = (imports: WebAssembly.Imports, received: (instance: WebAssembly.Instance) => void) => object;
export type StudioModuleFactory = (settings: { instantiateWasm: Instantiate }) => Promise<unknown>;

// A picture held in the module's memory, so that each conversion reads it where it is.
export interface HeldPicture {
  readonly width: number;
  readonly height: number;
  // The size of the picture this one was reduced from (its own size when it was not).
  readonly fullWidth: number;
  readonly fullHeight: number;
  readonly pointer: number;
}

export class StudioCore {
  readonly vocabulary: Vocabulary;
  readonly cellCount: number;
  private readonly module: StudioModule;
  private readonly levelsLength: number;
  private readonly levels: number;
  private readonly screen: number;
  private readonly blank: number;
  private readonly line: number;
  private readonly framing: number; // three doubles, then 13 whole numbers

  constructor(module: unknown) {
    this.module = module as StudioModule;
    this.vocabulary = JSON.parse(this.text(this.module._studio_vocabulary())) as Vocabulary;
    const { columns, rows } = this.vocabulary.display;
    this.cellCount = columns * rows;
    const { levelsLength, maxCandidates } = this.vocabulary;
    this.levelsLength = levelsLength;
    this.levels = this.module._malloc(levelsLength * 8);
    this.screen = this.module._malloc(this.cellCount * maxCandidates);
    this.blank = this.module._malloc(4 * maxCandidates);
    this.line = this.module._malloc(4 * Math.max(columns, rows));
    this.framing = this.module._malloc(3 * 8 + 13 * 4);
  }

  // The core from the module's bytes. Compiled and started at once where the browser allows it
  // for a module of this size, so the page is usable before its load event (and nothing the
  // owner does in the meantime is lost); where it does not (Chromium before 2023 compiled at
  // most 4 KB on the main thread), in the background.
  static load(factory: StudioModuleFactory, bytes: Uint8Array<ArrayBuffer>): Promise<StudioCore> {
    return new Promise((resolve, reject) => {
      const instantiateWasm: Instantiate = (imports, received) => {
        try {
          const instance = new WebAssembly.Instance(new WebAssembly.Module(bytes), imports);
          received(instance);
          return instance.exports;
        } catch (error) {
          if (!(error instanceof RangeError)) {
            reject(error);
            return {};
          }
        }
        WebAssembly.instantiate(bytes, imports).then(({ instance }) => received(instance), reject);
        return {};
      };
      factory({ instantiateWasm }).then((module) => resolve(new StudioCore(module)), reject);
    });
  }

  // The problem with a set of a command's values, in tbs's words; '' when the core takes them.
  problem(command: CommandName, values: OptionValues): string {
    const text = textOf(values);
    if (text === null) return lineBreakProblem;
    return this.withText(command, (commandPointer) => this.withText(text, (pointer) =>
      this.module._studio_option_problem(commandPointer, pointer) === 0 ? ''
        : this.text(this.module._studio_message())));
  }

  // Copies straight RGBA pixels into the module. Returns null when memory runs out.
  hold(rgba: Uint8Array | Uint8ClampedArray, width: number, height: number,
    fullWidth = width, fullHeight = height): HeldPicture | null {
    const pointer = this.module._malloc(rgba.length);
    if (!pointer) return null;
    this.module.HEAPU8.set(rgba, pointer);
    return { width, height, fullWidth, fullHeight, pointer };
  }

  release(picture: HeldPicture): void {
    this.module._free(picture.pointer);
  }

  // The levels of a held picture for the values of convert.
  pictureLevels(picture: HeldPicture, values: OptionValues): PictureLevels {
    return this.withOptions(values, (options) => {
      const status = this.module._studio_picture_levels(picture.pointer, picture.width, picture.height,
        picture.fullWidth, picture.fullHeight, options, this.levels);
      if (status !== 0) this.refused();
      return this.module.HEAPF64.slice(this.levels / 8, this.levels / 8 + this.levelsLength);
    });
  }

  convertLevels(levels: PictureLevels, values: OptionValues): Conversion {
    return this.withOptions(values, (options) => {
      this.module.HEAPF64.set(levels, this.levels / 8);
      if (this.module._studio_convert_levels(this.levels, options, this.screen, this.blank) !== 0)
        this.refused();
      return this.conversion(0, this.text(this.module._studio_chosen()));
    });
  }

  // The candidates that tbs compare shows, in its order.
  compare(levels: PictureLevels, values: OptionValues): Conversion[] {
    return this.withOptions(values, (options) => {
      this.module.HEAPF64.set(levels, this.levels / 8);
      const count = this.module._studio_compare(this.levels, options, this.screen, this.blank);
      if (count < 0) this.refused();
      const chosen = this.text(this.module._studio_chosen()).split('\n\n');
      return Array.from({ length: count }, (_, i) => this.conversion(i, chosen[i]));
    });
  }

  private conversion(index: number, chosen: string): Conversion {
    const screen = this.screen + index * this.cellCount;
    return {
      screen: this.module.HEAPU8.slice(screen, screen + this.cellCount),
      chosen: optionValues(chosen),
      blank: this.module.HEAP32[this.blank / 4 + index] === 1,
    };
  }

  // `base` with lines of text set as tbs text --over sets them with the values of text, or the
  // reason why not in tbs's words.
  setText(base: Screen, lines: string, values: OptionValues): Screen | string {
    const text = textOf(values);
    if (text === null) return lineBreakProblem;
    return this.withText(lines, (linesPointer) => this.withText(text, (options) => {
      this.module.HEAPU8.set(base, this.screen + this.cellCount);
      const status = this.module._studio_set_text(linesPointer, options, this.screen + this.cellCount, this.screen);
      if (status !== 0) return this.text(this.module._studio_message());
      return this.module.HEAPU8.slice(this.screen, this.screen + this.cellCount);
    }));
  }

  // The cells a drag paints from one cell to another, as the editor paints them: the indices of
  // the cells of the display on the core's line, in order from `from`.
  cellsOnLine(from: readonly [number, number], to: readonly [number, number]): number[] {
    const count = this.module._studio_cells_on_line(from[0], from[1], to[0], to[1], this.line);
    return Array.from(this.module.HEAP32.subarray(this.line / 4, this.line / 4 + count));
  }

  // The screen a .tbs file gives on a blank one, and how many lines were taken (0: no data).
  readTbs(bytes: Uint8Array): { screen: Screen; takenLines: number } {
    return this.withBytes(bytes, (pointer) => {
      const takenLines = this.module._studio_read_tbs(pointer, bytes.length, this.screen);
      return { screen: this.module.HEAPU8.slice(this.screen, this.screen + this.cellCount), takenLines };
    });
  }

  // What `tbs check` says of the file, one finding a line; none for a file exactly as written.
  checkTbs(bytes: Uint8Array, name: string): string[] {
    return this.withText(name, (namePointer) =>
      this.withBytes(bytes, (pointer) => {
        const report = this.text(this.module._studio_check_tbs(pointer, bytes.length, namePointer));
        return report.split('\n').filter((line) => line.length > 0);
      }));
  }

  writeTbs(screen: Screen): Uint8Array<ArrayBuffer> {
    this.module.HEAPU8.set(screen, this.screen);
    const text = this.module._studio_write_tbs(this.screen);
    return this.module.HEAPU8.slice(text, text + this.module._studio_written_length());
  }

  // The cells of the editor's own bitmap, or null for any other picture.
  readEditorBitmap(rgba: Uint8Array | Uint8ClampedArray, width: number, height: number): Screen | null {
    return this.withBytes(rgba, (pointer) =>
      this.module._studio_read_editor_bitmap(pointer, width, height, this.screen) === 1
        ? this.module.HEAPU8.slice(this.screen, this.screen + this.cellCount)
        : null);
  }

  // Whether a file of this name is opened as a boot screen file.
  isTbsName(name: string): boolean {
    return this.withBytes(new TextEncoder().encode(`${name}\0`),
      (pointer) => this.module._studio_is_tbs_name(pointer) === 1);
  }

  // Why a picture of this size is too large to take in, in tbs's words; null when it is not.
  pictureSizeProblem(width: number, height: number): string | null {
    return this.module._studio_picture_size_problem(width, height) === 0 ? null
      : this.text(this.module._studio_message());
  }

  // What a framing shows of a picture of its full size with the values of convert.
  framed(full: { width: number; height: number }, values: OptionValues, framing: Framing): Framed {
    return this.withOptions(values, (options) => {
      this.putFraming(framing);
      const placement = this.framing + 24;
      if (this.module._studio_framed(full.width, full.height, options, this.framing, placement) !== 0) this.refused();
      const n = Array.from(this.module.HEAP32.subarray(placement / 4, placement / 4 + 13));
      const rect = (at: number): Rect => ({ left: n[at], top: n[at + 1], width: n[at + 2], height: n[at + 3] });
      return {
        framing: this.takenFraming(), crop: this.text(this.module._studio_message()),
        part: rect(0), placed: rect(4), turns: n[8], area: rect(9),
      };
    });
  }

  // The framing after the picture is moved by that many display pixels.
  moved(full: { width: number; height: number }, values: OptionValues, framing: Framing, columns: number, rows: number): Framing {
    return this.withOptions(values, (options) => {
      this.putFraming(framing);
      if (this.module._studio_moved(full.width, full.height, options, this.framing, columns, rows) !== 0) this.refused();
      return this.takenFraming();
    });
  }

  // The areas of a layout; with '' the layout a screen has until the owner chooses one.
  layout(value: string, hasPicture: boolean, hasText: boolean): LayoutAreas | null {
    return this.withText(value, (pointer) => {
      const json = this.module._studio_layout(pointer, hasPicture ? 1 : 0, hasText ? 1 : 0);
      return json ? JSON.parse(this.text(json)) as LayoutAreas : null;
    });
  }

  private putFraming(framing: Framing): void {
    this.module.HEAPF64.set([framing.zoom, framing.x, framing.y], this.framing / 8);
  }

  private takenFraming(): Framing {
    const [zoom, x, y] = this.module.HEAPF64.subarray(this.framing / 8, this.framing / 8 + 3);
    return { zoom, x, y };
  }

  // The screen with lit and dark swapped everywhere.
  inverted(screen: Screen): Screen {
    this.module.HEAPU8.set(screen, this.screen);
    this.module._studio_invert(this.screen, this.screen + this.cellCount);
    return this.module.HEAPU8.slice(this.screen + this.cellCount, this.screen + 2 * this.cellCount);
  }

  // The screen as the picture saved beside the .tbs file, lit white: RGBA, one pixel a cell.
  screenImage(screen: Screen): Uint8ClampedArray<ArrayBuffer> {
    this.module.HEAPU8.set(screen, this.screen);
    const pixels = this.module._studio_screen_image(this.screen);
    return new Uint8ClampedArray(this.module.HEAPU8.slice(pixels, pixels + screen.length * 4).buffer);
  }

  // The link to `base` (the page's address; its own fragment is replaced) whose fragment holds the
  // screen, as tbs link prints it; '' gives the fragment alone. A base too long for a link to stay
  // within its limit gives the reason instead.
  screenLink(screen: Screen, base: string): { link: string } | { problem: string } {
    this.module.HEAPU8.set(screen, this.screen);
    return this.withText(base, (pointer) => {
      const link = this.module._studio_screen_link(this.screen, pointer);
      return link ? { link: this.text(link) } : { problem: this.text(this.module._studio_message()) };
    });
  }

  // The screen a link holds (only its part after # counts), or the reason it holds none, in the
  // words tbs uses.
  linkScreen(link: string): Screen | string {
    return this.withText(link, (pointer) =>
      this.module._studio_link_screen(pointer, this.screen) === 0
        ? this.module.HEAPU8.slice(this.screen, this.screen + this.cellCount)
        : this.text(this.module._studio_message()));
  }

  writeEditorBitmap(screen: Screen): Uint8Array<ArrayBuffer> {
    this.module.HEAPU8.set(screen, this.screen);
    const data = this.module._studio_write_editor_bitmap(this.screen);
    return this.module.HEAPU8.slice(data, data + this.module._studio_written_length());
  }

  private refused(): never {
    throw new OptionsRefused(this.text(this.module._studio_message()));
  }

  private text(pointer: number): string {
    let end = pointer;
    while (this.module.HEAPU8[end] !== 0) ++end;
    return new TextDecoder().decode(this.module.HEAPU8.subarray(pointer, end));
  }

  private withOptions<T>(values: OptionValues, use: (pointer: number) => T): T {
    const text = textOf(values);
    if (text === null) throw new OptionsRefused(lineBreakProblem);
    return this.withText(text, use);
  }

  private withText<T>(text: string, use: (pointer: number) => T): T {
    return this.withBytes(new TextEncoder().encode(`${text}\0`), use);
  }

  private withBytes<T>(bytes: Uint8Array | Uint8ClampedArray, use: (pointer: number) => T): T {
    const pointer = this.module._malloc(Math.max(bytes.length, 1));
    if (!pointer) throw new Error('out of memory');
    try {
      this.module.HEAPU8.set(bytes, pointer);
      return use(pointer);
    } finally {
      this.module._free(pointer);
    }
  }
}

// A value cannot hold a line break: option text has one option a line. (Only stored work that
// was tampered with has one; the controls give none.)
const lineBreakProblem = 'an option value holds a line break.';

function textOf(values: OptionValues): string | null {
  for (const value of Object.values(values)) if (typeof value === 'string' && /[\n\0]/.test(value)) return null;
  return optionText(values);
}
