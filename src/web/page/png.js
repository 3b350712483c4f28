// "Zapisz obraz": the frame on the canvas, which holds exactly the program's frame, as the
// browser's own lossless PNG, named by the program for that frame. The canvas is copied at once;
// only the encoding comes later.
import { handOver } from './hand_over.js';
import { showMessage } from './message.js';

export function offerPng(page, frame) {
  page.savePng.title = `Klatka z obrazu jako plik PNG ${frame.width}\u00a0×\u00a0${frame.height}`;
}

export function savePicture(page, state) {
  const name = state.program.ccall('plotnik_frame_file_name', 'string', [], []);
  if (name === '') {
    return;  // no frame drawn yet
  }
  page.canvas.toBlob((blob) => {
    if (blob) {
      handOver(blob, name);
    } else {
      showMessage(page, 'Nie udało się zapisać obrazu.');
    }
  }, 'image/png');
}
