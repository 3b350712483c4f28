// Writes a font file into a C++ source file as the bytes of kLabelsFont (see labels_font.h), so
// that the page's program carries its font without a file system.
//   node embed_font.mjs FONT.TTF OUT.CPP
import { readFileSync, renameSync, writeFileSync } from 'node:fs';
import { basename } from 'node:path';

const [font, out] = process.argv.slice(2);
const bytes = readFileSync(font);
const lines = [];
for (let at = 0; at < bytes.length; at += 32) {
  lines.push(`    ${[...bytes.subarray(at, at + 32)].join(',')},`);
}
writeFileSync(out + '.partial', `// Written by the build from ${basename(font)} (embed_font.mjs): the page's font.\n` +
  '#include "web/labels_font.h"\n\n' +
  `const unsigned char kLabelsFont[] = {\n${lines.join('\n')}\n};\n` +
  'const std::size_t kLabelsFontSize = sizeof kLabelsFont;\n');
renameSync(out + '.partial', out);
