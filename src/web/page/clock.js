// The moving picture's clock: "Pauza" holds it and lets it run on, "Tempo" runs it at one of the
// program's speeds, written as a Polish reader writes them ("0,25×").
const kRealPace = 1;  // the picture's clock at the page's own pace, as a picture opens
const speedFormat = new Intl.NumberFormat('pl-PL');

// The choices of the speed list: each speed's value as the program takes it and its label.
export function speedChoices(speeds) {
  return speeds.map((speed) => ({ value: String(speed), label: `${speedFormat.format(speed)}×`,
    chosen: speed === kRealPace }));
}

export function buildSpeeds(page, speeds) {
  for (const { value, label, chosen } of speedChoices(speeds)) {
    page.speed.add(new Option(label, value, chosen, chosen));
  }
}

export function showPaused(page, state, held) {
  state.paused = held;
  page.pause.textContent = held ? 'Wznów' : 'Pauza';
}

export function setPaused(page, state, pause) {
  showPaused(page, state, state.program._plotnik_pause(pause ? 1 : 0) === 1);
}

export function setSpeed(page, state) {
  state.program._plotnik_set_speed(Number(page.speed.value));
}

// A moving picture opens running at the page's pace; a still one has nothing to hold, and only a
// clock picture has a speed.
export function showClock(page, state) {
  const { steering } = state.constants;
  showPaused(page, state, false);
  page.speed.value = String(kRealPace);
  page.pause.hidden = state.steering === steering.nothing;
  page.speed.parentElement.hidden = state.steering !== steering.clock;
}
