// Writes the page's service worker into a built site: service_worker.js with, above it, the list
// of the site's files, each with the SHA-256 of its contents, and a hash of their names and
// contents. Run it after every other file is in the site; a file added to the site later is in the
// next build's list. The program packed as a script (plotnik-program.js) is only for the page
// opened from its folder, where no worker runs: served, the page runs plotnik.wasm, so the worker
// does not keep the program twice.
//   node make_worker.mjs WORKER_SOURCE SITE
import { createHash } from 'node:crypto';
import { readdirSync, readFileSync, renameSync, statSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const kWorkerName = 'service-worker.js';
const kFolderOnly = new Set(['plotnik-program.js']);
// A lesson with a class: its script, loaded only when a class starts or is joined, and the file
// that says a class server is there, which the school's administrator may add to the site. Both
// need the class server anyway: never part of the copy kept for a visit with no network, and left
// by the worker to the network alone.
const kOnlyWithServer = new Set(['class.js', 'class-server.json']);

// The site's files, in a fixed order, without the worker itself; sub-folders included.
function siteFiles(site, folder = '') {
  const files = [];
  for (const name of readdirSync(join(site, folder)).sort()) {
    const path = folder === '' ? name : `${folder}/${name}`;
    if (path === kWorkerName || kFolderOnly.has(path) || kOnlyWithServer.has(path) || name.endsWith('.partial')) {
      continue;
    }
    if (statSync(join(site, path)).isDirectory()) {
      files.push(...siteFiles(site, path));
    } else {
      files.push(path);
    }
  }
  return files;
}

const [source, site] = process.argv.slice(2);
const files = siteFiles(site);
const hash = createHash('sha256');
const kept = [];
for (const file of files) {
  const body = readFileSync(join(site, file));
  hash.update(`${file}\0${body.length}\0`).update(body);
  kept.push([file, createHash('sha256').update(body).digest('hex')]);
}
const build = hash.digest('hex').slice(0, 16);
// './' is the folder's own address, the one the installed app starts at: index.html.
const index = kept.find(([file]) => file === 'index.html');
const list = [...(index ? [['./', index[1]]] : []), ...kept].map((entry) => JSON.stringify(entry)).join(',\n  ');
const header = `// Written by the build: this build's files, each with the SHA-256 of its contents, and their hash.\n` +
  `const kFiles = [\n  ${list},\n];\n` +
  `const kBuild = '${build}';\n` +
  `const kOnlyWithServer = ${JSON.stringify([...kOnlyWithServer])};\n\n`;
const out = join(site, kWorkerName);
writeFileSync(out + '.partial', header + readFileSync(source, 'utf8'));
renameSync(out + '.partial', out);
