// "Kod QR": a link as a QR code large enough to scan from the back of a classroom off a projector,
// with the link in large type under it (and a class's code above it, for the pupils who type it);
// Escape, a click or "Zamknij" closes it. Made in the page by a QR library bundled with it, so it
// works offline and from the page's folder; a link no phone in the classroom can open (the page
// opened from a file, or from this very computer) gets a warning beside it.
import { generate } from 'lean-qr';
import { phoneCannotOpen } from './addresses.js';

export function findQrElements(document) {
  const byId = (id) => document.getElementById(id);
  return {
    showQr: byId('show-qr'),
    qrDialog: byId('qr-dialog'),
    qr: byId('qr'),
    qrCode: byId('qr-code'),
    qrLink: byId('qr-link'),
    qrWarning: byId('qr-warning'),
    qrClose: byId('qr-close'),
  };
}

// The link of the frame on the canvas, as "Link do tej klatki" gives it; '' before a frame is drawn.
export function frameAddress(page) {
  const link = page.canvas.dataset.link;
  return link === undefined ? '' : location.href.split('#')[0] + '#' + link;
}

// Shows the address as a QR code, one canvas pixel a module (the page scales it up, pixel for
// pixel), with the class's code when given.
export function showQr(page, address, code = '') {
  if (address === '') {
    return;
  }
  // Black on opaque white, with the standard quiet zone of 4 modules: a reader needs both.
  generate(address).toCanvas(page.qr, { on: [0, 0, 0, 255], off: [255, 255, 255, 255], pad: 4 });
  page.qr.setAttribute('aria-label', `Kod QR linku ${address}`);
  page.qrCode.textContent = code === '' ? '' : `Kod lekcji: ${code}`;
  page.qrCode.hidden = code === '';
  page.qrLink.textContent = address;
  const warning = phoneCannotOpen(address);
  page.qrWarning.textContent = warning;
  page.qrWarning.hidden = warning === '';
  if (!page.qrDialog.open) {
    page.qrDialog.showModal();
  }
}

export function closeQr(page) {
  if (page.qrDialog.open) {
    page.qrDialog.close();
  }
}

// The dialog closes on Escape by itself; a click anywhere on it closes it too.
export function offerQr(page) {
  page.showQr.addEventListener('click', () => showQr(page, frameAddress(page)));
  page.qrDialog.addEventListener('click', () => closeQr(page));
}
