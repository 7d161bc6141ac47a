// The conversion options, spelled as `tbs convert` spells them, and their numbers in the core.
import type { CoreOptions } from './core';

export const Fits = ['contain', 'cover', 'stretch', 'none'] as const;
export const Rotations = ['0', '90', '180', '270', 'auto'] as const;
export const Dithers = ['floyd-steinberg', 'atkinson', 'bayer', 'none', 'auto'] as const;
export const Backgrounds = ['black', 'white'] as const;
export const LevelModes = ['auto', 'none'] as const;

export type Fit = (typeof Fits)[number];
export type Rotation = (typeof Rotations)[number];
export type Dither = (typeof Dithers)[number];
export type Background = (typeof Backgrounds)[number];
export type LevelMode = (typeof LevelModes)[number];

export interface Options {
  fit: Fit;
  rotate: Rotation;
  dither: Dither;
  threshold: number | 'auto';
  invert: boolean;
  background: Background;
  levels: LevelMode;
  brightness: number; // -100 to 100
  contrast: number; // -100 to 100
  gamma: number; // 0.2 to 5
  area: string; // X,Y,W,H on the display, where the picture goes
}

// As tbs convert has them when no option is given.
export const DefaultOptions: Readonly<Options> = Object.freeze({
  fit: 'contain',
  rotate: '0',
  dither: 'auto',
  threshold: 'auto',
  invert: false,
  background: 'black',
  levels: 'auto',
  brightness: 0,
  contrast: 0,
  gamma: 1,
  area: '0,0,32,128',
});

export const Choices = {
  fit: Fits,
  rotate: Rotations,
  dither: Dithers,
  background: Backgrounds,
  levels: LevelModes,
} as const;

// The whole-number options and their ranges; the gamma is any number in its range.
export const Ranges = {
  brightness: [-100, 100],
  contrast: [-100, 100],
} as const;
export const GammaRange = [0.2, 5] as const;

export function coreOptions(options: Options): CoreOptions {
  return {
    fit: Fits.indexOf(options.fit),
    rotation: Rotations.indexOf(options.rotate),
    dither: Dithers.indexOf(options.dither),
    threshold: options.threshold === 'auto' ? -1 : options.threshold,
    invert: options.invert,
    background: Backgrounds.indexOf(options.background),
    area: areaOf(options.area) ?? { x: 0, y: 0, width: 32, height: 128 },
    levels: options.levels === 'auto' ? 1 : 0,
    brightness: options.brightness,
    contrast: options.contrast,
    gamma: options.gamma,
  };
}

const isWhole = (value: unknown, low: number, high: number): value is number =>
  Number.isInteger(value) && (value as number) >= low && (value as number) <= high;

export function validGamma(value: unknown): value is number {
  return typeof value === 'number' && value >= GammaRange[0] && value <= GammaRange[1];
}

// The options in `value` when it holds a complete, valid set; null for anything else.
export function validOptions(value: unknown): Options | null {
  if (typeof value !== 'object' || value === null) return null;
  const v = value as Record<string, unknown>;
  const pick = <T extends string>(choices: readonly T[], given: unknown): T | null =>
    choices.includes(given as T) ? (given as T) : null;
  const fit = pick(Fits, v.fit);
  const rotate = pick(Rotations, v.rotate);
  const dither = pick(Dithers, v.dither);
  const background = pick(Backgrounds, v.background);
  const levels = pick(LevelModes, v.levels);
  const threshold = v.threshold === 'auto' || isWhole(v.threshold, 0, 255) ? v.threshold : null;
  if (!fit || !rotate || !dither || !background || !levels || threshold === null ||
    typeof v.invert !== 'boolean' || !isWhole(v.brightness, ...Ranges.brightness) ||
    !isWhole(v.contrast, ...Ranges.contrast) || !validGamma(v.gamma) || !areaOf(v.area))
    return null;
  return { fit, rotate, dither, threshold, invert: v.invert, background, levels,
    brightness: v.brightness, contrast: v.contrast, gamma: v.gamma, area: v.area as string };
}

// An area as tbs spells it, X,Y,W,H: a rectangle of at least one pixel on the display.
export interface Area {
  x: number;
  y: number;
  width: number;
  height: number;
}

export const WholeDisplay = '0,0,32,128';

export function areaOf(text: unknown): Area | null {
  const match = typeof text === 'string' ? text.match(/^(\d{1,3}),(\d{1,3}),(\d{1,3}),(\d{1,3})$/) : null;
  if (!match) return null;
  const [x, y, width, height] = match.slice(1).map(Number);
  if (width < 1 || height < 1 || x + width > 32 || y + height > 128) return null;
  return { x, y, width, height };
}

// The `tbs convert` options that give the same screen, defaults left out.
export function commandLine(options: Options): string {
  const words: string[] = [];
  for (const key of Object.keys(DefaultOptions) as (keyof Options)[]) {
    const value = options[key];
    if (value === DefaultOptions[key]) continue;
    words.push(key === 'invert' ? '--invert' : `--${key} ${value}`);
  }
  return words.join(' ');
}

// Lines of text set over the picture, with the options of `tbs text`.
export const TextRotations = ['auto', '0', '90', '270'] as const;
export const Alignments = ['left', 'center', 'right'] as const;
export type TextRotation = (typeof TextRotations)[number];
export type Alignment = (typeof Alignments)[number];

export interface TextOptions {
  text: string; // the lines, one per line; empty for no text
  font: string; // a bundled font's name, or auto
  rotate: TextRotation;
  align: Alignment;
  invert: boolean; // dark text on a lit area
  area: string; // X,Y,W,H
}

export const DefaultText: Readonly<TextOptions> = Object.freeze({
  text: '',
  font: 'auto',
  rotate: 'auto',
  align: 'center',
  invert: false,
  area: WholeDisplay,
});

export function validText(value: unknown): TextOptions | null {
  if (typeof value !== 'object' || value === null) return null;
  const v = value as Record<string, unknown>;
  if (typeof v.text !== 'string' || typeof v.font !== 'string' || !/^[\w.-]+$/.test(v.font) ||
    !TextRotations.includes(v.rotate as TextRotation) || !Alignments.includes(v.align as Alignment) ||
    typeof v.invert !== 'boolean' || !areaOf(v.area))
    return null;
  return { text: v.text, font: v.font, rotate: v.rotate as TextRotation, align: v.align as Alignment,
    invert: v.invert, area: v.area as string };
}

// The `tbs text` options that set the same text, defaults left out.
export function textCommandLine(text: TextOptions): string {
  const words: string[] = [];
  for (const key of ['font', 'rotate', 'align', 'area'] as const)
    if (text[key] !== DefaultText[key]) words.push(`--${key} ${text[key]}`);
  if (text.invert) words.push('--invert');
  return words.join(' ');
}
