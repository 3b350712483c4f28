// Writes the page's "Licencje" page: Plotnik's own licence, and the licences of the font and of
// the libraries compiled into the page, each in the words of the Debian package it was built from,
// and of the npm packages its script bundles, each in its package's own LICENSE.
//   node make_notices.mjs OUT.html LICENSE LIBRARY_PREFIX NODE_MODULES
// LIBRARY_PREFIX is the folder web/build-libraries.sh made: share/licenses/<source>.copyright for
// each library, and plotnik-web-libraries.txt with their source versions. NODE_MODULES holds the
// page's npm packages (page/package-lock.json). A missing file stops the build: the page is never
// published without its notices.
import { execFileSync } from 'node:child_process';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const [out, licenseFile, prefix, nodeModules] = process.argv.slice(2);
if (!out || !licenseFile || !prefix || !nodeModules) {
  console.error('usage: node make_notices.mjs OUT.html LICENSE LIBRARY_PREFIX NODE_MODULES');
  process.exit(2);
}

// The same Content Security Policy as the page's own, taken from index.html beside this script.
const contentSecurityPolicy = readFileSync(new URL('./index.html', import.meta.url), 'utf8')
  .split('\n').find((line) => line.startsWith('<meta http-equiv="Content-Security-Policy"'));
if (!contentSecurityPolicy) {
  console.error('make_notices.mjs: no Content-Security-Policy in index.html');
  process.exit(1);
}

const installedVersion = (name) =>
  execFileSync('dpkg-query', ['-W', '-f=${Version}', name], { encoding: 'utf8' }).trim();

// "libsdl2=2.26.5+dfsg-1" lines: the Debian source packages the libraries were built from.
const sourceVersions = new Map(
  readFileSync(join(prefix, 'plotnik-web-libraries.txt'), 'utf8')
    .split('\n')
    .map((line) => line.match(/^([a-z0-9.+-]+)=(\S+)$/))
    .filter(Boolean)
    .map((m) => [m[1], m[2]]));

const library = (name, source, licence, what) => {
  const version = sourceVersions.get(source);
  if (!version) {
    throw new Error(`${source} is not named in ${prefix}/plotnik-web-libraries.txt`);
  }
  return {
    id: source, name, licence, what,
    from: `pakiet źródłowy Debiana ${source} ${version}, plik debian/copyright`,
    text: readFileSync(join(prefix, 'share', 'licenses', `${source}.copyright`), 'utf8'),
  };
};

// The program the libraries and the font are compiled into.
const kProgram = 'plotnik.wasm, a\u00a0dla strony otwieranej z\u00a0folderu w\u00a0plotnik-program.js';
// An npm package the page's script bundles, with its version and its own licence file.
const npmPackage = (name, licence, what) => {
  const folder = join(nodeModules, name);
  const { version } = JSON.parse(readFileSync(join(folder, 'package.json'), 'utf8'));
  return {
    id: name.replace(/[^a-z0-9]+/g, '-').replace(/^-/, ''), name, licence, what,
    from: `pakiet npm ${name} ${version}, plik LICENSE`,
    text: readFileSync(join(folder, 'LICENSE'), 'utf8'),
  };
};
const kClassScript = 'w pliku class.js, który strona wczytuje dopiero na lekcji z\u00a0klasą';

const sections = [
  {
    id: 'plotnik', name: 'Plotnik', licence: 'MIT',
    what: 'Program Plotnik i ta strona.',
    from: 'plik LICENSE w źródłach Plotnika',
    text: readFileSync(licenseFile, 'utf8'),
  },
  {
    id: 'carlito', name: 'Czcionka Carlito', licence: 'SIL Open Font License 1.1',
    what: 'Czcionka napisów na obrazach: jej znaki ASCII, jedyne, którymi piszą napisy, z\u00a0hintingiem ' +
      'i\u00a0kerningiem, wbudowane w\u00a0program strony (' + kProgram + '). Zgodnie z\u00a0licencją ten wyciąg ' +
      'z\u00a0czcionki nie nosi jej zastrzeżonej nazwy.',
    from: `pakiet Debiana fonts-crosextra-carlito ${installedVersion('fonts-crosextra-carlito')}, plik copyright`,
    text: readFileSync('/usr/share/doc/fonts-crosextra-carlito/copyright', 'utf8'),
  },
  library('SDL2', 'libsdl2', 'zlib',
    'Biblioteka okna, rysowania i zdarzeń programu, skompilowana do WebAssembly w\u00a0' + kProgram + '.'),
  library('SDL2_ttf', 'libsdl2-ttf', 'zlib',
    'Biblioteka rysująca napisy czcionką, skompilowana do WebAssembly w\u00a0' + kProgram + '.'),
  {
    ...library('FreeType', 'freetype', 'FreeType License albo GNU GPL 2, do wyboru',
      'Biblioteka odczytująca czcionkę i rysująca litery, skompilowana do WebAssembly w\u00a0' + kProgram + '.'),
    credit: 'Portions of this software are copyright © 2022 The FreeType Project ' +
      '(www.freetype.org). All rights reserved.',
  },
  library('HarfBuzz', 'harfbuzz', 'MIT',
    'Biblioteka układająca litery w napisy, skompilowana do WebAssembly w\u00a0' + kProgram + '.'),
  library('giflib', 'giflib', 'MIT (jeden plik, openbsd-reallocarray.c: ISC)',
    'Biblioteka zapisująca nagrywane GIF-y, skompilowana do WebAssembly w\u00a0' + kProgram + '.'),
  {
    id: 'emscripten', name: 'Emscripten', licence: 'MIT albo University of Illinois/NCSA, do wyboru, oraz inne',
    what: 'Kompilator strony: jego kod uruchomieniowy jest w plotnik.js, a biblioteki C i C++ ' +
      '(musl, libc++ i\u00a0inne) w\u00a0' + kProgram + '.',
    from: `pakiet Debiana emscripten ${installedVersion('emscripten')}, plik copyright`,
    text: readFileSync('/usr/share/doc/emscripten/copyright', 'utf8'),
  },
  npmPackage('lean-qr', 'MIT', 'Biblioteka rysująca kody QR linków, w pliku page.js.'),
  npmPackage('@nats-io/nats-core', 'Apache 2.0', `Klient serwera wiadomości lekcji z\u00a0klasą (NATS), ${kClassScript}.`),
  npmPackage('@nats-io/nkeys', 'Apache 2.0', `Część klienta NATS, ${kClassScript}.`),
  npmPackage('@nats-io/nuid', 'Apache 2.0', `Część klienta NATS: niepowtarzalne nazwy, ${kClassScript}.`),
  npmPackage('tweetnacl', 'Unlicense (domena publiczna)', `Biblioteka kryptograficzna klienta NATS, ${kClassScript}.`),
];

const escape = (text) =>
  text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');

const html = `<!doctype html>
<html lang="pl">
<head>
<meta charset="utf-8">
${contentSecurityPolicy}
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Licencje – Plotnik</title>
<link rel="stylesheet" href="page.css">
</head>
<body class="notices">
<header>
  <h1>Licencje</h1>
  <p><a href="index.html">Wróć do Plotnika</a></p>
</header>
<main>
  <p>Plotnik jest na licencji MIT: każdy może go używać, kopiować, zmieniać i rozpowszechniać,
  także w szkole, jeśli zachowa informację o prawach autorskich i tekst licencji. Strona zawiera
  też czcionkę i biblioteki innych autorów, wymienione niżej, każdą na jej własnej licencji.
  Teksty licencji są poniżej w oryginalnym brzmieniu (po angielsku), wzięte z pakietów Debiana
  i npm, z których zbudowano tę stronę.</p>
  <ul>
${sections.map((s) => `    <li><a href="#${s.id}">${escape(s.name)}</a> – licencja ${escape(s.licence)}</li>`).join('\n')}
  </ul>
${sections.map((s) => `  <section id="${s.id}">
    <h2>${escape(s.name)}</h2>
    <p>${escape(s.what)} Licencja: ${escape(s.licence)}. Źródło tekstu: ${escape(s.from)}.</p>
${s.credit ? `    <p lang="en">${escape(s.credit)}</p>\n` : ''}    <pre lang="en">${escape(s.text)}</pre>
  </section>`).join('\n')}
</main>
</body>
</html>
`;
writeFileSync(out, html);
