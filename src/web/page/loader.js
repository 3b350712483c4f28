// The program: its WebAssembly and the JavaScript that runs it. Served over http(s), the page
// fetches plotnik.wasm at once, while plotnik.js comes, and the browser compiles the program as it
// arrives, the share that has arrived shown ("Ładowanie… 45%"). Opened from its folder (file://,
// where a .wasm cannot be fetched) it takes the same program packed into a script
// (plotnik-program.js: gzipped, in base64) and unpacks it. Whatever fails on the way, the page
// says so instead of loading for ever.
import { showMessage } from './message.js';

// The program's size in bytes, written in by the build (0 when unknown: no share is shown).
const kProgramBytes = typeof PLOTNIK_PROGRAM_BYTES === 'number' ? PLOTNIK_PROGRAM_BYTES : 0;

export function cannotLoad(page, why) {
  page.loading.hidden = true;
  showMessage(page, 'Nie udało się wczytać programu: ' + why);
}

// What the page says while the program comes: the share of its bytes that has arrived, never
// 100% before the last byte.
export function loadingText(received, total) {
  if (!(total > 0)) {
    return 'Ładowanie…';
  }
  const share = received >= total ? 100 : Math.min(99, Math.floor((100 * received) / total));
  return `Ładowanie… ${share}%`;
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

// The response with its body counted as it passes: arrived(bytes so far) after every piece.
export function counted(response, arrived) {
  let received = 0;
  const counter = new TransformStream({
    transform(piece, stream) {
      received += piece.byteLength;
      arrived(received);
      stream.enqueue(piece);
    },
  });
  return new Response(response.body.pipeThrough(counter), { headers: response.headers });
}

// The program compiled from its response: as it streams in where the server sends it as
// WebAssembly (application/wasm), else once it has all arrived.
async function compile(response) {
  if (response.headers.get('Content-Type')?.split(';')[0].trim() === 'application/wasm') {
    return WebAssembly.compileStreaming(response);
  }
  return WebAssembly.compile(await response.arrayBuffer());
}

// Fetches plotnik.wasm and compiles it as it comes, while plotnik.js comes too, whose Module
// (module) then makes the program's instance.
function streamProgram(page, module) {
  let shown = '';
  const arrived = (received) => {
    const text = loadingText(received, kProgramBytes);
    if (text !== shown) {
      shown = text;
      page.loading.textContent = text;
    }
  };
  arrived(0);
  const program = fetch('plotnik.wasm').then((answer) => {
    if (!answer.ok) {
      throw new Error(`plotnik.wasm: ${answer.status} ${answer.statusText}`);
    }
    return compile(counted(answer, arrived));
  });
  program.catch(() => {});  // a failure is told once, where the program is made
  module.instantiateWasm = (imports, receive) => {
    program.then(async (compiled) => ({ compiled, instance: await WebAssembly.instantiate(compiled, imports) }))
      .then(({ compiled, instance }) => receive(instance, compiled), (failure) => cannotLoad(page, failure.message));
    return {};  // the program's exports come later, through receive
  };
}

// Loads the program into its Module (module).
export async function loadProgram(page, module) {
  if (location.protocol === 'http:' || location.protocol === 'https:') {
    streamProgram(page, module);
  } else {
    if (typeof DecompressionStream === 'undefined') {
      throw new Error('ta przeglądarka jest za stara (brak DecompressionStream)');
    }
    await loadScript('plotnik-program.js');
    module.wasmBinary = await unpack(globalThis.plotnikProgram);
  }
  await loadScript('plotnik.js');
}
