// The options as the core's table has them: records keyed by the table's names, each value the
// word tbs takes (a flag: whether it is given). Nothing here knows an option by name.
import type { CommandName, OptionRow, OptionValue, OptionValues, StudioCore } from './core';
import type { WorkRules } from './work';

// The values tbs takes when no option is given. An option with no default (a crop) is left out:
// not given, it is not there.
export function defaultValues(rows: readonly OptionRow[]): Record<string, OptionValue> {
  return Object.fromEntries(withDefaults(rows).map((row) => [row.name, row.kind === 'flag' ? false : row.default]));
}

function withDefaults(rows: readonly OptionRow[]): OptionRow[] {
  return rows.filter((row) => row.kind === 'flag' || row.default !== '');
}

// The values the page starts from: tbs's defaults, except where the table gives the page its own
// (text wraps as it is typed).
export function pageValues(rows: readonly OptionRow[]): Record<string, OptionValue> {
  return Object.fromEntries(withDefaults(rows).map((row) => {
    if (row.pageDefault === '') return [row.name, row.kind === 'flag' ? false : row.default];
    return [row.name, row.kind === 'flag' ? row.pageDefault === 'on' : row.pageDefault];
  }));
}

// Options as typed after a tbs command: --name value, a flag --name alone.
export function optionWords(values: OptionValues): string[] {
  return Object.entries(values).filter(([, value]) => value !== false)
    .map(([name, value]) => (value === true ? `--${name}` : `--${name} ${value}`));
}

// The options of a tbs command that give the values, those at their default left out.
export function commandWords(rows: readonly OptionRow[], values: OptionValues): string {
  const given = rows.filter((row) => values[row.name] !== undefined &&
    values[row.name] !== (row.kind === 'flag' ? false : row.default))
    .map((row) => [row.name, values[row.name]]);
  return optionWords(Object.fromEntries(given)).join(' ');
}

// What a picture reduced to the display depends on: the values of the options that place it.
export function placementKey(rows: readonly OptionRow[], values: OptionValues): string {
  return JSON.stringify(rows.filter((row) => row.placesPicture).map((row) => values[row.name]));
}

// The work's rules from the core: the display's size, the defaults and the core's judgement.
export function workRules(core: StudioCore): WorkRules {
  const commands = core.vocabulary.commands;
  const defaults = Object.fromEntries(Object.entries(commands)
    .map(([command, rows]) => [command, pageValues(rows)])) as Record<CommandName, OptionValues>;
  const ownAreas = core.vocabulary.layouts.find((layout) => layout.ownAreas);
  if (!ownAreas) throw new Error('the core has no layout of the options\' own areas');
  return {
    cellCount: core.cellCount, defaults, problem: (command, values) => core.problem(command, values),
    ownAreasLayout: ownAreas.value,
  };
}
