// The addresses a QR code and a lesson with a class deal in: whether a phone on the classroom's
// network can open one (not that of a page opened from a file, nor one naming this very computer),
// the class server's on the page's own origin, and the page's own without a teacher's key.

// Why a phone on the classroom's network could not open the address, in Polish; '' when it can.
export function phoneCannotOpen(address) {
  let url;
  try {
    url = new URL(address);
  } catch {
    return 'Telefon nie otworzy tego linku: to nie jest adres strony.';
  }
  if (url.protocol === 'file:') {
    return 'Telefon nie otworzy tego linku: strona jest otwarta z\u00a0pliku na tym komputerze. ' +
      'Otwarta z\u00a0serwera szkoły da link, który otworzy każdy telefon w\u00a0jej sieci.';
  }
  const host = url.hostname.replace(/^\[|\]$/g, '');
  if (host === 'localhost' || host.endsWith('.localhost') || /^127\./.test(host) || host === '::1') {
    return `Telefon nie otworzy tego linku: adres „${url.host}” to ten komputer, nie serwer w\u00a0sieci klasy.`;
  }
  return '';
}

// The address without its teacher's key: the other parts of the fragment stay.
export function withoutTeacherKey(hash) {
  const kept = hash.replace(/^#/, '').split('&').filter((part) => part !== '' && !part.startsWith('nauczyciel='));
  return kept.length === 0 ? '' : '#' + kept.join('&');
}

// The class server of the page's folder: its WebSocket address, from the class file's "server"
// (a path on the page's own origin, "klasa" by default); null without one.
export function classServerAddress(pageAddress, file) {
  const path = typeof file?.server === 'string' ? file.server : '';
  if (path === '') {
    return null;
  }
  let url;
  let page;
  try {
    url = new URL(path, pageAddress);
    page = new URL(pageAddress);
  } catch {
    return null;
  }
  if (url.origin !== page.origin) {
    return null;  // the page's policy reaches its own origin only
  }
  url.protocol = page.protocol === 'https:' ? 'wss:' : 'ws:';
  url.hash = '';
  url.search = '';
  return url.href;
}
