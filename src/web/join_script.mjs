// Joins the page's script modules (page/, from page/main.js, and the npm packages they take from
// NODE_PATH) into page.js, one classic script, with esbuild, the program's size in bytes written in
// as PLOTNIK_PROGRAM_BYTES for the share of it the page shows as it arrives. Run from the top
// folder, so that the names of the modules it notes are the same wherever the build is; a
// package's is noted from its node_modules, not from the build folder that holds it.
//   NODE_PATH=NODE_MODULES node src/web/join_script.mjs ESBUILD PLOTNIK.WASM OUT.JS
import { execFileSync } from 'node:child_process';
import { readFileSync, statSync, writeFileSync } from 'node:fs';
import { relative } from 'node:path';

const [esbuild, wasm, out] = process.argv.slice(2);
execFileSync(esbuild, ['src/web/page/main.js', '--bundle', '--format=iife', '--charset=utf8',
  "--banner:js='use strict';", '--log-level=warning', `--define:PLOTNIK_PROGRAM_BYTES=${statSync(wasm).size}`,
  `--outfile=${out}`], { stdio: 'inherit' });
if (process.env.NODE_PATH) {
  const noted = `// ${relative(process.cwd(), process.env.NODE_PATH)}/`;
  writeFileSync(out, readFileSync(out, 'utf8').replaceAll(noted, '// node_modules/'));
}
