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
    !isWhole(v.contrast, ...Ranges.contrast) || !validGamma(v.gamma))
    return null;
  return { fit, rotate, dither, threshold, invert: v.invert, background, levels,
    brightness: v.brightness, contrast: v.contrast, gamma: v.gamma };
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
