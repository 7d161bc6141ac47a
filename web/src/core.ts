// The core compiled to WebAssembly (web/binding), behind typed calls. A screen is 4096 bytes, one
// per display pixel row by row, 1 = lit.

export const DisplayColumns = 32;
export const DisplayRows = 128;
export const CellCount = DisplayColumns * DisplayRows;

export type Screen = Uint8Array<ArrayBuffer>;

// The options as the binding takes them (StudioOption in studiobinding.h): dither 4 and
// threshold -1 are automatic.
export interface CoreOptions {
  fit: number;
  rotation: number;
  dither: number;
  threshold: number;
  invert: boolean;
  background: number;
  area: { x: number; y: number; width: number; height: number };
  levels: number;
  brightness: number;
  contrast: number;
  gamma: number;
}

const OptionCount = 14;
const LevelsLength = CellCount + 6; // StudioLevelsLength
const ChoiceCount = 3; // StudioChoiceCount
const MaxCandidates = 16; // StudioMaxCandidates

// A picture reduced to the display (grey levels and what the automatic choices look at), as the
// binding hands it out; only the fit, rotation, background and area shape it.
export type PictureLevels = Float64Array<ArrayBuffer>;

// A conversion's screen, with the method and threshold that give it again.
export interface Conversion {
  screen: Screen;
  dither: number; // 0-3, as CoreOptions
  threshold: number;
  blank: boolean; // all dark or all lit, from a picture that is not flat
}

interface StudioModule {
  HEAPU8: Uint8Array<ArrayBuffer>;
  HEAPF64: Float64Array<ArrayBuffer>;
  HEAP32: Int32Array<ArrayBuffer>;
  _malloc(size: number): number;
  _free(pointer: number): void;
  _studio_picture_levels(rgba: number, width: number, height: number, fullWidth: number,
    fullHeight: number, options: number, levels: number): number;
  _studio_convert_levels(levels: number, options: number, screen: number, chosen: number): number;
  _studio_compare(levels: number, options: number, screens: number, chosen: number): number;
  _studio_fonts(): number;
  _studio_set_text(text: number, font: number, rotation: number, alignment: number, area: number,
    invert: number, base: number, screen: number): number;
  _studio_message(): number;
  _studio_read_tbs(bytes: number, length: number, screen: number): number;
  _studio_check_tbs(bytes: number, length: number, name: number): number;
  _studio_write_tbs(screen: number): number;
  _studio_written_length(): number;
  _studio_read_editor_bitmap(rgba: number, width: number, height: number, screen: number): number;
  _studio_write_editor_bitmap(screen: number): number;
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
  private readonly module: StudioModule;
  private readonly options: number;
  private readonly levels: number;
  private readonly screen: number;
  private readonly chosen: number;

  constructor(module: unknown) {
    this.module = module as StudioModule;
    this.options = this.module._malloc(OptionCount * 8);
    this.levels = this.module._malloc(LevelsLength * 8);
    this.screen = this.module._malloc(CellCount * MaxCandidates);
    this.chosen = this.module._malloc(ChoiceCount * 4 * MaxCandidates);
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

  pictureLevels(picture: HeldPicture, options: CoreOptions): PictureLevels {
    this.putOptions(options);
    const status = this.module._studio_picture_levels(picture.pointer, picture.width, picture.height,
      picture.fullWidth, picture.fullHeight, this.options, this.levels);
    if (status !== 0) throw new Error('bad conversion options');
    return this.module.HEAPF64.slice(this.levels / 8, this.levels / 8 + LevelsLength);
  }

  convertLevels(levels: PictureLevels, options: CoreOptions): Conversion {
    this.putOptions(options);
    this.module.HEAPF64.set(levels, this.levels / 8);
    if (this.module._studio_convert_levels(this.levels, this.options, this.screen, this.chosen) !== 0)
      throw new Error('bad conversion options');
    return this.conversion(0);
  }

  // The candidates that tbs compare shows, in its order.
  compare(levels: PictureLevels, options: CoreOptions): Conversion[] {
    this.putOptions(options);
    this.module.HEAPF64.set(levels, this.levels / 8);
    const count = this.module._studio_compare(this.levels, this.options, this.screen, this.chosen);
    if (count < 0) throw new Error('bad conversion options');
    return Array.from({ length: count }, (_, i) => this.conversion(i));
  }

  private conversion(index: number): Conversion {
    const screen = this.screen + index * CellCount;
    const chosen = this.chosen / 4 + index * ChoiceCount;
    return {
      screen: this.module.HEAPU8.slice(screen, screen + CellCount),
      dither: this.module.HEAP32[chosen],
      threshold: this.module.HEAP32[chosen + 1],
      blank: this.module.HEAP32[chosen + 2] === 1,
    };
  }

  // The bundled fonts, smallest first.
  fonts(): { name: string; width: number; height: number }[] {
    return this.text(this.module._studio_fonts()).split('\n').filter(Boolean).map((line) => {
      const [name, width, height] = line.split(' ');
      return { name, width: Number(width), height: Number(height) };
    });
  }

  // `base` with lines of text set in the area, as tbs text --over sets them, or the reason why
  // not in tbs's words. `rotation` 0 auto, 1 none, 2 90, 3 270; `alignment` 0 left, 1 center,
  // 2 right.
  setText(base: Screen, text: string, font: string, rotation: number, alignment: number,
    area: { x: number; y: number; width: number; height: number }, invert: boolean): Screen | string {
    const encoder = new TextEncoder();
    return this.withBytes(encoder.encode(`${text}\0`), (textPointer) =>
      this.withBytes(encoder.encode(`${font}\0`), (fontPointer) => {
        this.module.HEAPF64.set([area.x, area.y, area.width, area.height], this.options / 8);
        this.module.HEAPU8.set(base, this.screen + CellCount);
        const status = this.module._studio_set_text(textPointer, fontPointer, rotation, alignment,
          this.options, invert ? 1 : 0, this.screen + CellCount, this.screen);
        if (status !== 0) return this.text(this.module._studio_message());
        return this.module.HEAPU8.slice(this.screen, this.screen + CellCount);
      }));
  }

  private text(pointer: number): string {
    let end = pointer;
    while (this.module.HEAPU8[end] !== 0) ++end;
    return new TextDecoder().decode(this.module.HEAPU8.subarray(pointer, end));
  }

  // The screen a .tbs file gives on a blank one, and how many lines were taken (0: no data).
  readTbs(bytes: Uint8Array): { screen: Screen; takenLines: number } {
    return this.withBytes(bytes, (pointer) => {
      const takenLines = this.module._studio_read_tbs(pointer, bytes.length, this.screen);
      return { screen: this.module.HEAPU8.slice(this.screen, this.screen + CellCount), takenLines };
    });
  }

  // What `tbs check` says of the file, one finding a line; none for a file exactly as written.
  checkTbs(bytes: Uint8Array, name: string): string[] {
    const nameBytes = new TextEncoder().encode(name + '\0');
    return this.withBytes(nameBytes, (namePointer) =>
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

  // The cells of the editor's own 160 x 640 bitmap, or null for any other picture.
  readEditorBitmap(rgba: Uint8Array | Uint8ClampedArray, width: number, height: number): Screen | null {
    return this.withBytes(rgba, (pointer) =>
      this.module._studio_read_editor_bitmap(pointer, width, height, this.screen) === 1
        ? this.module.HEAPU8.slice(this.screen, this.screen + CellCount)
        : null);
  }

  writeEditorBitmap(screen: Screen): Uint8Array<ArrayBuffer> {
    this.module.HEAPU8.set(screen, this.screen);
    const data = this.module._studio_write_editor_bitmap(this.screen);
    return this.module.HEAPU8.slice(data, data + this.module._studio_written_length());
  }

  private putOptions(options: CoreOptions): void {
    this.module.HEAPF64.set([options.fit, options.rotation, options.dither, options.threshold,
      options.invert ? 1 : 0, options.background, options.levels, options.brightness,
      options.contrast, options.gamma, options.area.x, options.area.y, options.area.width,
      options.area.height], this.options / 8);
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
