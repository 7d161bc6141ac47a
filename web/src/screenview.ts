// The screen drawn as the marker shows it (each pixel a square, a dark gap between, lit pixels
// light on dark glass), where the owner paints cells with the mouse; and the picture at its real
// size beside it.
import type { Screen, Vocabulary } from './core';

export type Display = Vocabulary['display'];

const Glass = '#0a0c0f';
const LitColour = '#eaf6ff';
const DarkColour = '#1b2129';
// The colours of cells a hand edit forces, while edits are shown: warm, unlike converted ones.
const EditedLitColour = '#ffc857';
const EditedDarkColour = '#5c3a12';
// A cell's size in CSS pixels where the page's style does not set one (--cell on the screen).
const DefaultCellPixels = 5;

// The cell size the page's style gives the screen's canvases, in CSS pixels.
function cellPixels(canvas: HTMLCanvasElement): number {
  const size = Number.parseFloat(getComputedStyle(canvas).getPropertyValue('--cell'));
  return Number.isFinite(size) && size > 0 ? size : DefaultCellPixels;
}

// A canvas of the display's cells at the page's cell size, its backing store in device pixels;
// sized again, and drawn again by `redraw`, when the window's size gives the page another cell
// size. The page's style sizes its box from the display's columns and rows (set here) and --cell.
export class DisplayCanvas {
  readonly context: CanvasRenderingContext2D;
  cell = DefaultCellPixels;
  ratio = 1; // device pixels a CSS pixel

  constructor(readonly canvas: HTMLCanvasElement, private readonly display: Display, redraw: () => void) {
    const context = canvas.getContext('2d');
    if (!context) throw new Error('no 2D canvas');
    this.context = context;
    const root = document.documentElement.style;
    root.setProperty('--columns', String(display.columns));
    root.setProperty('--rows', String(display.rows));
    this.size(cellPixels(canvas));
    window.addEventListener('resize', () => {
      const cell = cellPixels(canvas);
      if (cell === this.cell) return;
      this.size(cell);
      redraw();
    });
  }

  // Device pixels a display pixel.
  get unit(): number {
    return this.cell * this.ratio;
  }

  private size(cell: number): void {
    this.cell = cell;
    this.ratio = Math.max(1, Math.round(window.devicePixelRatio || 1));
    this.canvas.width = Math.round(this.display.columns * cell * this.ratio);
    this.canvas.height = Math.round(this.display.rows * cell * this.ratio);
  }
}

export interface Stroke {
  lit: boolean;
  cells: Set<number>;
}

export interface PaintHandlers {
  // The cells a drag paints from one cell to the next, as the editor paints them.
  line(from: [number, number], to: [number, number]): number[];
  // Cells added to the stroke under way, for the screen to show them at once.
  painting(stroke: Stroke): void;
  // The stroke ended: one step of the work.
  painted(stroke: Stroke): void;
  // Whether the pen paints lit: the left button and a finger paint with it, the right one dark.
  penLit(): boolean;
}

export class ScreenView {
  private readonly surface: DisplayCanvas;
  private lastMarks: Uint8Array | null = null;
  private stroke: Stroke | null = null;
  private readonly line: PaintHandlers['line'];
  private lastCell: [number, number] | null = null;
  // The cell the keyboard paints, outlined while the screen has the focus.
  private cursor: [number, number] = [0, 0];
  private lastScreen: Screen;

  constructor(private readonly canvas: HTMLCanvasElement, private readonly display: Display,
    handlers: PaintHandlers) {
    const { columns, rows } = display;
    this.lastScreen = new Uint8Array(columns * rows);
    this.line = handlers.line;
    // The canvas's box is exactly the display's cells at their CSS size (it has no border or
    // padding), so a click at a cell's centre lands on that cell whatever the zoom.
    this.surface = new DisplayCanvas(canvas, display, () => this.draw(this.lastScreen, this.lastMarks));

    canvas.addEventListener('contextmenu', (event) => event.preventDefault());
    canvas.addEventListener('pointerdown', (event) => {
      // One finger paints; a second one is the start of a pinch or a scroll, not paint.
      if (!event.isPrimary || (event.button !== 0 && event.button !== 2)) return;
      event.preventDefault();
      canvas.setPointerCapture(event.pointerId);
      this.stroke = { lit: event.button === 0 && handlers.penLit(), cells: new Set() };
      this.lastCell = null;
      this.extend(event);
      handlers.painting(this.stroke);
    });
    canvas.addEventListener('pointermove', (event) => {
      if (!this.stroke || !event.isPrimary) return;
      const events = event.getCoalescedEvents ? event.getCoalescedEvents() : [];
      for (const each of events.length ? events : [event]) this.extend(each);
      handlers.painting(this.stroke);
    });
    const finish = (event: PointerEvent): void => {
      if (!this.stroke || !event.isPrimary) return;
      const stroke = this.stroke;
      this.stroke = null;
      if (canvas.hasPointerCapture(event.pointerId)) canvas.releasePointerCapture(event.pointerId);
      handlers.painted(stroke);
    };
    canvas.addEventListener('pointerup', finish);
    canvas.addEventListener('pointercancel', finish);

    // The keyboard: arrows move the outlined cell (eight cells with Shift), Space paints it lit
    // and Shift+Space dark, each one step as a click is.
    canvas.addEventListener('focus', () => this.draw(this.lastScreen));
    canvas.addEventListener('blur', () => this.draw(this.lastScreen));
    canvas.addEventListener('keydown', (event) => {
      const step = event.shiftKey ? 8 : 1;
      const moves: Record<string, [number, number]> = {
        ArrowLeft: [-step, 0], ArrowRight: [step, 0], ArrowUp: [0, -step], ArrowDown: [0, step],
      };
      const move = moves[event.key];
      if (move) {
        this.cursor = [Math.min(columns - 1, Math.max(0, this.cursor[0] + move[0])),
          Math.min(rows - 1, Math.max(0, this.cursor[1] + move[1]))];
        this.draw(this.lastScreen);
      } else if (event.key === ' ') {
        handlers.painted({ lit: !event.shiftKey, cells: new Set([this.cursor[1] * columns + this.cursor[0]]) });
      } else {
        return;
      }
      event.preventDefault();
    });
  }

  get painting(): boolean {
    return this.stroke !== null;
  }

  // `marks`, when given, are the hand edits (non-zero where a cell is forced), drawn warm.
  draw(screen: Screen, marks: Uint8Array | null = null): void {
    this.lastScreen = screen;
    this.lastMarks = marks;
    const { context, cell, ratio, unit } = this.surface;
    drawCells(context, screen, this.display, cell, ratio, marks);
    if (document.activeElement !== this.canvas) return;
    const [column, row] = this.cursor;
    context.strokeStyle = '#ffb020';
    context.lineWidth = Math.max(1, ratio);
    context.strokeRect(column * unit + 0.5, row * unit + 0.5, unit, unit);
  }

  private extend(event: PointerEvent): void {
    if (!this.stroke) return;
    const box = this.canvas.getBoundingClientRect();
    const { columns, rows } = this.display;
    const column = Math.floor(((event.clientX - box.left) / box.width) * columns);
    const row = Math.floor(((event.clientY - box.top) / box.height) * rows);
    const cell: [number, number] = [column, row];
    const cells = this.line(this.lastCell ?? cell, cell);
    for (const index of cells) this.stroke.cells.add(index);
    this.lastCell = cell;
  }
}

// A '#rrggbb' colour as one opaque RGBA pixel in the platform's byte order.
function packed(colour: string): number {
  const value = Number.parseInt(colour.slice(1), 16);
  const bytes = new Uint8Array([value >> 16, (value >> 8) & 0xff, value & 0xff, 255]);
  return new Uint32Array(bytes.buffer)[0];
}

const GlassPixel = packed(Glass);
const CellPixelColours = [packed(DarkColour), packed(LitColour)]; // dark, lit
const EditedPixelColours = [packed(EditedDarkColour), packed(EditedLitColour)];

// Each display pixel a square of `size` CSS pixels (`ratio` device pixels each) with a dark gap
// at its top and left, lit ones light, on dark glass; cells that `marks` flags in warm colours.
// Written as pixels rather than as 4096 rectangles: a software canvas takes tens of milliseconds
// to fill that many.
export function drawCells(context: CanvasRenderingContext2D, screen: Screen, display: Display, size: number,
  ratio = 1, marks: Uint8Array | null = null): void {
  const { columns, rows } = display;
  const cell = Math.max(1, Math.round(size * ratio));
  const gap = size >= 3 ? ratio : 0;
  const width = columns * cell;
  const image = context.createImageData(width, rows * cell);
  const pixels = new Uint32Array(image.data.buffer);
  const line = new Uint32Array(width);
  for (let row = 0; row < rows; ++row) {
    line.fill(GlassPixel);
    for (let column = 0; column < columns; ++column) {
      const at = row * columns + column;
      const colours = marks && marks[at] !== 0 ? EditedPixelColours : CellPixelColours;
      line.fill(colours[screen[at]], column * cell + gap, (column + 1) * cell);
    }
    const top = row * cell;
    pixels.fill(GlassPixel, top * width, (top + gap) * width);
    for (let y = top + gap; y < top + cell; ++y) pixels.set(line, y * width);
  }
  context.putImageData(image, 0, 0);
}

// The core's picture of the screen (lit white), one canvas pixel per display pixel.
export function drawActualSize(canvas: HTMLCanvasElement, pixels: Uint8ClampedArray<ArrayBuffer>, display: Display): void {
  if (canvas.width !== display.columns) canvas.width = display.columns;
  if (canvas.height !== display.rows) canvas.height = display.rows;
  canvas.getContext('2d')?.putImageData(new ImageData(pixels, display.columns, display.rows), 0, 0);
}
