// The browser tests' own helpers, without a browser: a picture that cannot be decoded is never a
// frame, and waiting for a picture outlasts a canvas that cannot be read yet.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, test } from 'node:test';
import { framePixels, kHeight, kWidth, waitForPicture } from './harness.mjs';

const dir = mkdtempSync(join(tmpdir(), 'plotnik-harness-'));
after(() => rmSync(dir, { recursive: true, force: true }));

function picture(name, size, colour = 'black') {
  const file = join(dir, name);
  execFileSync('/usr/bin/convert', ['-size', size, `xc:${colour}`, `PNG24:${file}`]);
  return file;
}

test('only a whole 1280 x 720 picture gives a frame\'s pixels', () => {
  const frame = framePixels(picture('frame.png', `${kWidth}x${kHeight}`, 'red'));
  assert.equal(frame.length, kWidth * kHeight * 3);
  assert.deepEqual([...frame.subarray(-3)], [255, 0, 0]);

  writeFileSync(join(dir, 'empty.png'), '');
  writeFileSync(join(dir, 'garbage.png'), 'not a picture');
  const bad = [
    join(dir, 'missing.png'),
    join(dir, 'empty.png'),
    join(dir, 'garbage.png'),
    picture('small.png', '10x10'),
    picture('upright.png', `${kHeight}x${kWidth}`),
  ];
  for (const file of bad) {
    assert.throws(() => framePixels(file), undefined, file);
  }
});

// A stand-in for a browser tab whose canvas gives, reading after reading, what `readings` says:
// an Error is thrown, a picture is handed over as the page hands it (base64 RGB).
function tabReading(readings) {
  const tab = { reads: 0 };
  tab.evaluate = async () => {
    const reading = readings[Math.min(tab.reads, readings.length - 1)];
    tab.reads += 1;
    if (reading instanceof Error) {
      throw reading;
    }
    return Buffer.from(reading).toString('base64');
  };
  return tab;
}

test('waiting for a picture tries again after a reading fails, and says what failed last', async () => {
  const expected = Buffer.alloc(kWidth * kHeight * 3, 7);
  const other = Buffer.alloc(kWidth * kHeight * 3, 0);
  const notYet = (n) => new Error(`source width is 0 (reading ${n})`);
  const cases = [
    // what the canvas gives, one reading after another | what the wait says | readings at least
    { readings: [notYet(1), notYet(2), expected], says: /^$/, reads: 3 },
    { readings: [notYet(1), other, expected], says: /^$/, reads: 3 },
    { readings: [other, notYet(2), expected], says: /^$/, reads: 3 },
    { readings: [other], says: /pixels differ/, reads: 2 },
    { readings: [other, notYet('last')], says: /could not be read: source width is 0 \(reading last\)$/, reads: 2 },
  ];
  for (const { readings, says, reads } of cases) {
    const tab = tabReading(readings);
    const left = await waitForPicture(tab, expected, 3000);
    assert.match(left, says, `${readings.length} readings`);
    assert.ok(tab.reads >= reads, `${tab.reads} readings, not ${reads} or more`);
  }
});
