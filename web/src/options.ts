// The conversion options, spelled as `tbs convert` spells them, and their numbers in the core.
import type { CoreOptions } from './core';

export const Fits = ['contain', 'cover', 'stretch', 'none'] as const;
export const Rotations = ['0', '90', '180', '270', 'auto'] as const;
export const Dithers = ['floyd-steinberg', 'atkinson', 'bayer', 'none'] as const;
export const Backgrounds = ['black', 'white'] as const;

export type Fit = (typeof Fits)[number];
export type Rotation = (typeof Rotations)[number];
export type Dither = (typeof Dithers)[number];
export type Background = (typeof Backgrounds)[number];

export interface Options {
  fit: Fit;
  rotate: Rotation;
  dither: Dither;
  threshold: number;
  invert: boolean;
  background: Background;
}

// As tbs convert has them when no option is given.
export const DefaultOptions: Readonly<Options> = Object.freeze({
  fit: 'contain',
  rotate: '0',
  dither: 'floyd-steinberg',
  threshold: 128,
  invert: false,
  background: 'black',
});

export const Choices = {
  fit: Fits,
  rotate: Rotations,
  dither: Dithers,
  background: Backgrounds,
} as const;

export function coreOptions(options: Options): CoreOptions {
  return {
    fit: Fits.indexOf(options.fit),
    rotation: Rotations.indexOf(options.rotate),
    dither: Dithers.indexOf(options.dither),
    threshold: options.threshold,
    invert: options.invert,
    background: Backgrounds.indexOf(options.background),
  };
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
  const threshold = v.threshold;
  if (!fit || !rotate || !dither || !background || typeof v.invert !== 'boolean' ||
    !Number.isInteger(threshold) || (threshold as number) < 0 || (threshold as number) > 255)
    return null;
  return { fit, rotate, dither, threshold: threshold as number, invert: v.invert, background };
}

// The `tbs convert` options that give the same screen, for display and for copying.
export function commandLine(options: Options): string {
  return `--fit ${options.fit} --rotate ${options.rotate} --dither ${options.dither} ` +
    `--threshold ${options.threshold} --background ${options.background}` +
    (options.invert ? ' --invert' : '');
}
