// The controls of a command's options, built from the core's table: a list for a choice, a
// slider with its number box for a number (with an "Automatic …" box where the option has an
// automatic word), a check box for a flag, four number boxes for an area; each with the table's
// one-line hint. A crop is chosen on the picture itself, not here. A typed value goes to the work
// only when the core takes it; otherwise the box is marked and its problem shows, in tbs's words.
import type { CommandName, OptionRow, OptionValue, OptionValues } from './core';
import type { Display } from './screenview';

export interface ControlHandlers {
  // The command's values now.
  values(): OptionValues;
  // The values the conversion chose where the options leave the choice to it, or null.
  chosen(): OptionValues | null;
  // The problem with a set of the command's values, in tbs's words; '' when the core takes them.
  problem(values: OptionValues): string;
  // A change of the values; `group` names the box typed into, so that its characters are one step.
  change(change: OptionValues, group: string | null): void;
}

type Show = (values: OptionValues, chosen: OptionValues | null) => void;

// The parts of an area as the boxes name them, in the order of its value.
const AreaParts = [['x', 'X'], ['y', 'Y'], ['width', 'width'], ['height', 'height']] as const;

export class OptionControls {
  private readonly shows: Show[] = [];
  private readonly problem: HTMLParagraphElement;
  private readonly areas: HTMLElement[] = [];

  // `areaLabel` starts the names of the area's boxes: "Picture" gives "Picture X".
  constructor(container: HTMLElement, command: CommandName, rows: readonly OptionRow[],
    private readonly display: Display, private readonly areaLabel: string,
    private readonly handlers: ControlHandlers) {
    for (const row of rows) {
      const id = `${command}-${row.name}`;
      if (row.kind === 'rectangle') continue;
      if (row.kind === 'choice') container.append(this.choice(id, row));
      else if (row.kind === 'flag') container.append(this.flag(id, row));
      else if (row.kind === 'area') container.append(this.area(id, row));
      else container.append(...this.number(id, row));
    }
    this.problem = document.createElement('p');
    this.problem.className = 'problem';
    this.problem.setAttribute('role', 'status');
    container.append(this.problem);
  }

  // Shows the values; a box typed into with a value the core refused shows the value again.
  show(values: OptionValues, chosen: OptionValues | null): void {
    for (const show of this.shows) show(values, chosen);
    this.problem.textContent = '';
  }

  // The area's boxes show only where the areas are the owner's own (a custom layout).
  showAreas(shown: boolean): void {
    for (const area of this.areas) area.hidden = !shown;
  }

  private refresh(): void {
    this.show(this.handlers.values(), this.handlers.chosen());
  }

  private choice(id: string, row: OptionRow): HTMLElement {
    const select = document.createElement('select');
    select.id = id;
    select.title = row.help;
    for (const choice of row.choices) select.append(new Option(choice.label, choice.value));
    select.addEventListener('change', () => this.handlers.change({ [row.name]: select.value }, null));
    this.shows.push((values) => { select.value = String(values[row.name]); });
    return withHint(field(id, row.label, select), id, row.hint);
  }

  private flag(id: string, row: OptionRow): HTMLElement {
    const box = checkbox(id, row.help);
    box.addEventListener('change', () => this.handlers.change({ [row.name]: box.checked }, null));
    this.shows.push((values) => { box.checked = values[row.name] === true; });
    return withHint(checkField(id, row.label, box), id, row.hint);
  }

  private number(id: string, row: OptionRow): HTMLElement[] {
    const input = numberInput(id, row.minimum, row.maximum, row.step, row.help);
    input.addEventListener('input', () => this.typed(row.name, wordOf(input), id, [input]));
    input.addEventListener('change', () => this.refresh());
    // The slider moves the same value; the number box is the control with the option's name
    // (and the one the keyboard reaches), so the slider is left out of the tab order.
    const slider = document.createElement('input');
    slider.type = 'range';
    slider.className = 'slider';
    slider.min = String(row.minimum);
    slider.max = String(row.maximum);
    slider.step = String(row.step);
    slider.tabIndex = -1;
    slider.setAttribute('aria-hidden', 'true');
    slider.addEventListener('input', () => {
      input.value = slider.value;
      this.typed(row.name, wordOf(input), id, [input]);
    });
    const sliderRow = document.createElement('div');
    sliderRow.className = 'slider-row';
    sliderRow.append(slider, input);
    if (row.unit) {
      const unit = document.createElement('span');
      unit.className = 'unit';
      unit.textContent = row.unit;
      sliderRow.append(unit);
    }
    const shown = withHint(field(id, row.label, sliderRow), id, row.hint);
    shown.classList.add('number');
    const showSlider = (value: OptionValue, disabled: boolean) => {
      if (Number.isFinite(Number(value))) slider.value = String(value);
      slider.disabled = disabled;
    };
    if (!row.automatic) {
      this.shows.push((values) => {
        showNumber(input, values[row.name]);
        showSlider(values[row.name], false);
      });
      return [shown];
    }
    // The automatic word has a box of its own; while it is ticked, the number shows what the
    // conversion chose. Unticked, the value stays where the automatic choice put it (or the
    // middle of the range, before there is a choice).
    const middle = String(Math.round((row.minimum + row.maximum) / 2));
    const choiceOf = (chosen: OptionValues | null): OptionValue => chosen?.[row.name] ?? middle;
    const automaticId = `${id}-automatic`;
    const automatic = checkbox(automaticId, row.help);
    automatic.addEventListener('change', () => this.handlers.change({
      [row.name]: automatic.checked ? row.automatic : choiceOf(this.handlers.chosen()),
    }, null));
    this.shows.push((values, chosen) => {
      const isAutomatic = values[row.name] === row.automatic;
      const value = isAutomatic ? choiceOf(chosen) : values[row.name];
      showNumber(input, value);
      showSlider(value, isAutomatic);
      input.disabled = isAutomatic;
      automatic.checked = isAutomatic;
    });
    return [shown, checkField(automaticId, `Automatic ${row.label.toLowerCase()}`, automatic)];
  }

  private area(id: string, row: OptionRow): HTMLElement {
    // The value's parts are separated as the table's name of the value shows: X,Y,W,H.
    const separator = row.valueName.replace(/[A-Za-z]/g, '').charAt(0);
    const { columns, rows } = this.display;
    const limits = [[0, columns - 1], [0, rows - 1], [1, columns], [1, rows]];
    const inputs = AreaParts.map(([part], i) => numberInput(`${id}-${part}`, limits[i][0], limits[i][1], 1, row.help));
    const group = document.createElement('div');
    group.className = 'area';
    AreaParts.forEach(([, name], i) => group.append(field(inputs[i].id, `${this.areaLabel} ${name}`, inputs[i])));
    this.areas.push(group);
    withHint(group, `${id}-x`, row.hint);
    for (const input of inputs) {
      input.addEventListener('input', () =>
        this.typed(row.name, inputs.map((each) => each.value.trim()).join(separator), id, inputs));
    }
    this.shows.push((values) => {
      const parts = String(values[row.name]).split(separator);
      inputs.forEach((input, i) => {
        if (input.value !== parts[i]) input.value = parts[i];
        input.removeAttribute('aria-invalid');
      });
    });
    return group;
  }

  private typed(name: string, word: string, group: string, inputs: HTMLInputElement[]): void {
    const problem = this.handlers.problem({ ...this.handlers.values(), [name]: word });
    for (const input of inputs) {
      if (problem) input.setAttribute('aria-invalid', 'true');
      else input.removeAttribute('aria-invalid');
    }
    this.problem.textContent = problem;
    if (!problem) this.handlers.change({ [name]: word }, group);
  }
}

// A number as typed, spelled as a number is (1.50 is 1.5); the text itself when it is none, for
// the core to refuse in its words.
function wordOf(input: HTMLInputElement): string {
  return Number.isFinite(input.valueAsNumber) ? String(input.valueAsNumber) : input.value.trim();
}

function showNumber(input: HTMLInputElement, value: OptionValue): void {
  if (input.valueAsNumber !== Number(value)) input.value = String(value);
  input.removeAttribute('aria-invalid');
}

function field(id: string, label: string, control: HTMLElement): HTMLDivElement {
  const div = document.createElement('div');
  div.className = 'field';
  div.append(labelFor(id, label), control);
  return div;
}

// The option's one-line hint under its control, which it describes.
function withHint(shown: HTMLDivElement, id: string, hint: string): HTMLDivElement {
  if (!hint) return shown;
  const line = document.createElement('p');
  line.className = 'hint';
  line.id = `${id}-hint`;
  line.textContent = hint;
  shown.append(line);
  shown.querySelector(`#${CSS.escape(id)}`)?.setAttribute('aria-describedby', line.id);
  return shown;
}

function checkField(id: string, label: string, box: HTMLInputElement): HTMLDivElement {
  const div = document.createElement('div');
  div.className = 'field check';
  div.append(box, labelFor(id, label));
  return div;
}

function labelFor(id: string, text: string): HTMLLabelElement {
  const label = document.createElement('label');
  label.htmlFor = id;
  label.textContent = text;
  return label;
}

function checkbox(id: string, help: string): HTMLInputElement {
  const box = document.createElement('input');
  box.type = 'checkbox';
  box.id = id;
  box.title = help;
  return box;
}

function numberInput(id: string, minimum: number, maximum: number, step: number, help: string): HTMLInputElement {
  const input = document.createElement('input');
  input.type = 'number';
  input.id = id;
  input.min = String(minimum);
  input.max = String(maximum);
  input.step = String(step);
  input.title = help;
  return input;
}
