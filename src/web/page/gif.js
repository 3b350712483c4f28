// "Nagraj GIF": the program draws the clock picture's frames from the one on the canvas into its own
// memory, never onto the canvas, and encodes each as it is drawn. It runs in slices of a few
// frames, each its own task, so that the picture goes on moving and the controls answer; the
// picture's controls leave the recording as it was planned, and leaving the picture ends it.
import { handOver } from './hand_over.js';

const kSliceMs = 10;
const kDefaultGifSeconds = 2;
const kDefaultGifRate = 25;
const sizeFormat = new Intl.NumberFormat('pl-PL', { maximumFractionDigits: 1 });

// A file's size as the page says it: "12,3 kB", "1,5 MB", the unit held to its number.
export const sizeText = (bytes) =>
  (bytes < 1e6 ? `${sizeFormat.format(bytes / 1e3)}\u00a0kB` : `${sizeFormat.format(bytes / 1e6)}\u00a0MB`);

// The lengths and rates the program records at.
export function buildGifChoices(page, gif) {
  for (const seconds of gif.seconds) {
    page.gifSeconds.add(new Option(`${seconds} s`, String(seconds), false, seconds === kDefaultGifSeconds));
  }
  for (const rate of gif.rates) {
    page.gifFps.add(new Option(String(rate), String(rate), false, rate === kDefaultGifRate));
  }
}

export function showGifPanel(page, open) {
  page.gifToggle.setAttribute('aria-expanded', String(open));
  page.gifPanel.hidden = !open;
}

function showRecording(page, frames) {
  const on = frames > 0;
  const focusBack = !on && page.gifRecording.contains(document.activeElement);
  page.recordGif.disabled = on;
  page.gifSeconds.disabled = on;
  page.gifFps.disabled = on;
  if (focusBack) {
    page.recordGif.focus();  // Przerwij goes away: the focus to where the recording began
  }
  page.gifRecording.hidden = !on;
  page.gifProgress.max = Math.max(frames, 1);
  page.gifProgress.value = 0;
}

export function endRecording(page, state, status) {
  state.recording = null;
  showRecording(page, 0);
  page.gifStatus.textContent = status;
}

export function recordGif(page, state) {
  const { program } = state;
  const why = program.ccall('plotnik_record_begin', 'string', ['number', 'number'],
    [Number(page.gifSeconds.value), Number(page.gifFps.value)]);
  if (why !== '') {
    endRecording(page, state, why);
    return;
  }
  state.recording = { number: ++state.recordings, frames: program._plotnik_record_frames() };
  showRecording(page, state.recording.frames);
  page.gifStatus.textContent = '';
  page.gifCancel.focus();
  state.recordingTurns.port2.postMessage(state.recording.number);
}

// One slice of the recording, the turn it was given: event.data is the recording's number.
export function recordSlice(page, state, event) {
  if (state.recording === null || event.data !== state.recording.number) {
    return;  // a slice of a recording ended since
  }
  const { program } = state;
  const { frames } = state.recording;  // the last frame ends the recording (gifRecorded)
  const end = performance.now() + kSliceMs;
  let done;
  do {
    done = program._plotnik_record_frame();
  } while (done > 0 && done < frames && performance.now() < end);
  if (done < 0) {
    endRecording(page, state, 'Nie udało się nagrać GIF-a. ' + program.ccall('plotnik_record_problem', 'string', [], []));
  } else if (state.recording !== null) {
    page.gifProgress.value = done;
    state.recordingTurns.port2.postMessage(state.recording.number);
  }
}

// The program's last frame of a GIF: the file is whole.
export function gifRecorded(page, state, blob, name) {
  endRecording(page, state, `Gotowe: ${name} (${sizeText(blob.size)}).`);
  handOver(blob, name);
}

export function cancelRecording(page, state) {
  state.program._plotnik_record_cancel();
  endRecording(page, state, 'Nagrywanie przerwane.');
}
