// The picture as it was opened, drawn where the conversion places it on the screen, so that the
// screen and its original are compared side by side. Dragging it (or the arrow keys on it) moves
// the picture in its frame: the part that the screen shows follows.
import type { Framed } from './core';
import { type Display, DisplayCanvas } from './screenview';

export interface Picture {
  bitmap: ImageBitmap; // as held: it may be reduced from the full size
  full: { width: number; height: number };
}

export interface MoveHandlers {
  // The picture moved by that many display pixels; `group` names the gesture, one step each.
  moved(columns: number, rows: number, group: string): void;
}

const Glass = '#0a0c0f';
const AreaOutline = 'rgba(255, 255, 255, 0.35)';

export class OriginalView {
  private readonly surface: DisplayCanvas;
  private drag: { pointer: number; x: number; y: number } | null = null;
  private gestures = 0;
  private last: { picture: Picture | null; framed: Framed | null } = { picture: null, framed: null };

  constructor(canvas: HTMLCanvasElement, display: Display, handlers: MoveHandlers) {
    this.surface = new DisplayCanvas(canvas, display, () => this.draw(this.last.picture, this.last.framed));

    // A move in CSS pixels as display pixels, at the size the canvas is shown.
    const inCells = (dx: number, dy: number): [number, number] => {
      const box = canvas.getBoundingClientRect();
      return [dx * display.columns / box.width, dy * display.rows / box.height];
    };
    canvas.addEventListener('pointerdown', (event) => {
      if (!event.isPrimary || event.button !== 0) return;
      event.preventDefault();
      canvas.setPointerCapture(event.pointerId);
      this.drag = { pointer: event.pointerId, x: event.clientX, y: event.clientY };
      ++this.gestures;
    });
    canvas.addEventListener('pointermove', (event) => {
      if (!this.drag || event.pointerId !== this.drag.pointer) return;
      const [columns, rows] = inCells(event.clientX - this.drag.x, event.clientY - this.drag.y);
      this.drag.x = event.clientX;
      this.drag.y = event.clientY;
      if (columns !== 0 || rows !== 0) handlers.moved(columns, rows, `framing-${this.gestures}`);
    });
    const finish = (event: PointerEvent): void => {
      if (!this.drag || event.pointerId !== this.drag.pointer) return;
      this.drag = null;
      if (canvas.hasPointerCapture(event.pointerId)) canvas.releasePointerCapture(event.pointerId);
    };
    canvas.addEventListener('pointerup', finish);
    canvas.addEventListener('pointercancel', finish);
    // The arrow keys move the picture a display pixel (eight with Shift); presses in a row are
    // one step.
    canvas.addEventListener('keydown', (event) => {
      const step = event.shiftKey ? 8 : 1;
      const moves: Record<string, [number, number]> = {
        ArrowLeft: [-step, 0], ArrowRight: [step, 0], ArrowUp: [0, -step], ArrowDown: [0, step],
      };
      const move = moves[event.key];
      if (!move) return;
      event.preventDefault();
      handlers.moved(move[0], move[1], 'framing-keys');
    });
    canvas.addEventListener('blur', () => ++this.gestures);
  }

  // Draws the part of the picture where it lands, cut to its area, on the screen's glass.
  draw(picture: Picture | null, framed: Framed | null): void {
    this.last = { picture, framed };
    const { context, canvas, ratio, unit } = this.surface;
    context.setTransform(1, 0, 0, 1, 0, 0);
    context.fillStyle = Glass;
    context.fillRect(0, 0, canvas.width, canvas.height);
    if (!picture || !framed) return;
    const { area, placed, part, turns } = framed;
    context.save();
    context.beginPath();
    context.rect(area.left * unit, area.top * unit, area.width * unit, area.height * unit);
    context.clip();
    context.translate((placed.left + placed.width / 2) * unit, (placed.top + placed.height / 2) * unit);
    context.rotate((turns * Math.PI) / 2);
    const [width, height] = turns % 2 ? [placed.height, placed.width] : [placed.width, placed.height];
    const across = picture.bitmap.width / picture.full.width;
    const down = picture.bitmap.height / picture.full.height;
    context.imageSmoothingQuality = 'high';
    context.drawImage(picture.bitmap, part.left * across, part.top * down, part.width * across, part.height * down,
      (-width / 2) * unit, (-height / 2) * unit, width * unit, height * unit);
    context.restore();
    context.strokeStyle = AreaOutline;
    context.lineWidth = Math.max(1, ratio);
    context.strokeRect(area.left * unit + 0.5, area.top * unit + 0.5, area.width * unit - 1, area.height * unit - 1);
  }
}
