// What the screen is made of for a piece of work: the layout's areas laid into the options of
// convert and text, the crop that the framing gives, and which of the picture and the text show.
// The rules (the layouts, the automatic one, the crop) are the core's; this only applies them.
import type { CommandName, Framed, OptionKind, OptionRow, OptionValues, StudioCore } from './core';
import type { Work } from './work';

export interface Plan {
  layout: string; // the layout in force
  convert: OptionValues | null; // the values the picture is converted with; null: not shown
  framed: Framed | null; // the picture's part and placement; null: no picture shown
  text: OptionValues | null; // the values the text is set with; null: no text shown
  showsSource: boolean; // the source shows under the text (a picture converted, a screen read)
  ownAreas: boolean; // the areas are the options' own (a custom layout)
}

// The size of the picture open, at full size; null when what is open is not a picture.
export type PictureSize = { width: number; height: number } | null;

// The name of a command's option of that kind (the display's area, the picture's crop).
function optionOfKind(rows: readonly OptionRow[], kind: OptionKind): string {
  const row = rows.find((each) => each.kind === kind);
  if (!row) throw new Error(`the core offers no option of kind ${kind}`);
  return row.name;
}

// The option that puts a command's result in an area of the display.
export function areaOption(rows: readonly OptionRow[]): string {
  return optionOfKind(rows, 'area');
}

function hasText(work: Work): boolean {
  return work.lines.trim() !== '';
}

export function planOf(core: StudioCore, work: Work, picture: PictureSize): Plan {
  const { commands } = core.vocabulary;
  const areas = core.layout(work.layout, work.source !== null, hasText(work)) ??
    core.layout('', work.source !== null, hasText(work))!;
  const inArea = (command: CommandName, area: string): OptionValues =>
    area === '' ? work.options[command]
      : { ...work.options[command], [areaOption(commands[command])]: area };
  let convert: OptionValues | null = null;
  let framed: Framed | null = null;
  if (picture && areas.picture !== null) {
    const values = inArea('convert', areas.picture);
    framed = core.framed(picture, values, work.framing);
    // The whole picture is no crop given.
    convert = framed.crop === '' ? values : { ...values, [optionOfKind(commands.convert, 'rectangle')]: framed.crop };
  }
  const text = hasText(work) && areas.text !== null ? inArea('text', areas.text) : null;
  return {
    layout: areas.value, convert, framed, text, showsSource: work.source !== null && areas.picture !== null,
    ownAreas: areas.picture === '' || areas.text === '',
  };
}
