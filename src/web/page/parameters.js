// The moving picture's parameters, as fields under the controls: updated as the picture moves,
// unless a field is being edited; a value typed (Enter, or leaving the field) holds the picture at
// the frame whose value is nearest; ↑ and ↓ move the value a step. On a narrow screen the fields
// fold behind "Parametry".
import { showPaused } from './clock.js';

const programParameters = (program) => JSON.parse(program.ccall('plotnik_parameters', 'string', [], []));

export function buildParameters(page, state, live) {
  page.parameters.replaceChildren();
  state.parameterFields = [];
  const list = live ? programParameters(state.program) : [];
  list.forEach((parameter, index) => {
    const item = document.createElement('span');
    item.className = 'parameter';
    const label = document.createElement('label');
    label.htmlFor = parameter.id;
    label.textContent = parameter.label;
    const field = document.createElement('input');
    field.id = parameter.id;
    field.type = 'text';
    field.inputMode = 'decimal';
    field.autocomplete = 'off';
    field.spellcheck = false;
    field.value = parameter.value;
    const note = document.createElement('span');
    note.id = parameter.id + '-note';
    note.className = 'parameter-note';
    note.setAttribute('role', 'status');
    field.setAttribute('aria-describedby', note.id);
    field.addEventListener('input', () => { field.dataset.editing = '1'; });
    field.addEventListener('keydown', (event) => parameterKey(page, state, event, index));
    field.addEventListener('change', () => typeParameter(page, state, index));
    field.addEventListener('blur', () => typeParameter(page, state, index));
    item.append(label, field, note);
    page.parameters.appendChild(item);
    state.parameterFields.push({ field, note });
  });
  page.parameters.hidden = list.length === 0;
  page.parametersToggle.hidden = list.length === 0;
}

// The values of the frame on the canvas, in every field but one being edited; a field with the
// focus keeps its text (and whatever of it is selected) until a value typed or stepped in it has
// reached the canvas.
export function showParameters(state, frameDrawn = false) {
  if (state.parameterFields.length === 0) {
    return;
  }
  programParameters(state.program).forEach((parameter, index) => {
    const { field } = state.parameterFields[index] ?? {};
    const focused = field === document.activeElement;
    if (!field || field.dataset.editing === '1' || (focused && field.dataset.refresh !== '1')) {
      return;
    }
    if (field.value !== parameter.value) {
      field.value = parameter.value;
    }
    if (frameDrawn) {
      delete field.dataset.refresh;
    }
  });
}

function typeParameter(page, state, index) {
  const { field, note } = state.parameterFields[index];
  if (field.dataset.editing !== '1') {
    return;
  }
  delete field.dataset.editing;
  field.dataset.refresh = '1';
  note.textContent = state.program.ccall('plotnik_set_parameter', 'string', ['number', 'string'], [index, field.value]);
  showPaused(page, state, state.program._plotnik_held() === 1);
  showParameters(state);
}

function parameterKey(page, state, event, index) {
  if (event.key === 'Enter') {
    typeParameter(page, state, index);
    event.preventDefault();
  } else if ((event.key === 'ArrowUp' || event.key === 'ArrowDown') && !event.altKey) {
    const { field, note } = state.parameterFields[index];
    delete field.dataset.editing;
    field.dataset.refresh = '1';
    note.textContent = '';
    state.program._plotnik_step_parameter(index, event.key === 'ArrowUp' ? 1 : -1);
    showPaused(page, state, state.program._plotnik_held() === 1);
    showParameters(state);
    event.preventDefault();
  }
}

export function toggleParameters(page) {
  const open = page.parametersToggle.getAttribute('aria-expanded') !== 'true';
  page.parametersToggle.setAttribute('aria-expanded', String(open));
  page.parameters.classList.toggle('open', open);
}
