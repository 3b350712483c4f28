// What a pupil's first visit downloads, from the built page's files as a server sends them (gzip,
// as the administrators' examples set it up; pictures as they are): the files the page fetches
// before its first picture, and the whole site its service worker keeps, each within its budget. A
// size, not a time: bench/web/first_load.mjs measures the visit itself.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { extname, join } from 'node:path';
import { test } from 'node:test';
import { gzipSync } from 'node:zlib';
import { site } from './harness.mjs';

const KiB = 1024;
// The budgets of the bytes over the network, less what each request and response's headers take.
const kHeadersEach = 0.5 * KiB;
const kFirstPictureBudget = 350 * KiB;
const kVisitBudget = 600 * KiB;
// What the page fetches before its first picture: the page, its style and script, the program's
// glue and the program.
const kFirstPicture = ['index.html', 'page.css', 'page.js', 'plotnik.js', 'plotnik.wasm'];

const sent = (file) => {
  const body = readFileSync(join(site, file));
  return extname(file) === '.png' ? body.length : gzipSync(body, { level: 6 }).length;
};
const total = (files) => files.reduce((sum, file) => sum + sent(file) + kHeadersEach, 0);
const kib = (bytes) => `${(bytes / KiB).toFixed(1)} KiB`;

// The files the worker keeps, from the list the build wrote into it, and the worker itself.
function keptFiles() {
  const worker = readFileSync(join(site, 'service-worker.js'), 'utf8');
  const list = JSON.parse(worker.match(/^const kFiles = (\[[^;]*\]);$/m)[1].replace(/,\s*\]$/, ']'));
  return [...new Set(list.map(([file]) => (file === './' ? 'index.html' : file))), 'service-worker.js'];
}

test('the files of the first picture, gzipped, are within their budget', (t) => {
  const bytes = total(kFirstPicture);
  t.diagnostic(`${kib(bytes)} of ${kib(kFirstPictureBudget)}: ` +
    kFirstPicture.map((file) => `${file} ${kib(sent(file))}`).join(', '));
  assert.ok(bytes <= kFirstPictureBudget, `${kib(bytes)} before the first picture`);
});

test('the whole site the worker keeps, gzipped, is within its budget, and the program is there once', (t) => {
  const files = keptFiles();
  for (const file of kFirstPicture) {
    assert.ok(files.includes(file), `the worker keeps ${file}`);
  }
  assert.ok(!files.includes('plotnik-program.js'), 'the program packed for the folder is not kept twice');
  const bytes = total(files);
  t.diagnostic(`${kib(bytes)} of ${kib(kVisitBudget)} in ${files.length} files`);
  assert.ok(bytes <= kVisitBudget, `${kib(bytes)} in the whole first visit`);
});
