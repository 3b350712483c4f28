// The program: its packed WebAssembly first (gzipped, in base64, in plotnik-program.js), unpacked
// here, then the JavaScript that runs it. Whatever fails on the way, the page says so instead of
// loading for ever.
import { showMessage } from './message.js';

export function cannotLoad(page, why) {
  page.loading.hidden = true;
  showMessage(page, 'Nie udało się wczytać programu: ' + why);
}

function loadScript(source) {
  return new Promise((loaded, failed) => {
    const script = document.createElement('script');
    script.src = source;
    script.onload = loaded;
    script.onerror = () => failed(new Error(source));
    document.body.appendChild(script);
  });
}

// The bytes of gzipped data written in base64.
export async function unpack(base64) {
  const packed = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
  const unpacked = new Blob([packed]).stream().pipeThrough(new DecompressionStream('gzip'));
  return new Uint8Array(await new Response(unpacked).arrayBuffer());
}

// Loads the program into its Module (module).
export async function loadProgram(module) {
  if (typeof DecompressionStream === 'undefined') {
    throw new Error('ta przeglądarka jest za stara (brak DecompressionStream)');
  }
  await loadScript('plotnik-program.js');
  module.wasmBinary = await unpack(globalThis.plotnikProgram);
  await loadScript('plotnik.js');
}
