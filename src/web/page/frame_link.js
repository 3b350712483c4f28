// A link to the frame a live picture shows now, for a worksheet or a slide: copied where the
// browser allows it, and shown to copy by hand.
import { showMessage } from './message.js';

export function linkThisFrame(page) {
  if (page.canvas.dataset.link === undefined) {
    return;  // no frame drawn yet
  }
  const link = location.href.split('#')[0] + '#' + page.canvas.dataset.link;
  showMessage(page, 'Link do tej klatki: ' + link);
  navigator.clipboard?.writeText(link).then(() => showMessage(page, 'Skopiowano link do tej klatki: ' + link),
    () => {});
}
