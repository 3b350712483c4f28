// Packs the compiled program for the page: the WebAssembly (with the font inside) gzipped and
// written as a script, so the page loads it from its folder (file://, where a .wasm cannot be
// fetched) or from any server, at about a third of its size.
//   node pack_program.mjs PLOTNIK.WASM OUT.JS
import { readFileSync, renameSync, writeFileSync } from 'node:fs';
import { gzipSync } from 'node:zlib';

const [wasm, out] = process.argv.slice(2);
const packed = gzipSync(readFileSync(wasm), { level: 9 }).toString('base64');
writeFileSync(out + '.partial', `// Plotnik's program, gzipped WebAssembly in base64; page.js unpacks it.\nvar plotnikProgram = '${packed}';\n`);
renameSync(out + '.partial', out);
