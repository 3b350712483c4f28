// The page's script modules that are plain logic, run without a browser: the pointer mapped to
// frame pixels, which keys are the picture's, the speeds and sizes as the page writes them, and
// the program unpacked as the loader does it.
import assert from 'node:assert/strict';
import { randomBytes } from 'node:crypto';
import { test } from 'node:test';
import { gzipSync } from 'node:zlib';
import { speedChoices } from '../../../src/web/page/clock.js';
import { sizeText } from '../../../src/web/page/gif.js';
import { lessonKeyFor } from '../../../src/web/page/keys.js';
import { unpack } from '../../../src/web/page/loader.js';
import { framePixelAt } from '../../../src/web/page/pointer.js';

const frame = { width: 1280, height: 720 };

test('a point on the canvas is the frame pixel under it, at any place and scale; off it, none', () => {
  const half = { left: 100, top: 50, width: 640, height: 360 };
  const large = { left: 0, top: 0, width: 1920, height: 1080 };
  const cases = [
    // box, the page point, the frame pixel
    [half, [100, 50], { x: 0, y: 0 }],
    [half, [420, 230], { x: 640, y: 360 }],
    [half, [739.9, 409.9], { x: 1279, y: 719 }],
    [half, [740, 200], null],  // the right edge is past the last pixel
    [half, [300, 410], null],
    [half, [99.5, 200], null],
    [half, [300, 49.5], null],
    [large, [1.4, 1.4], { x: 0, y: 0 }],  // a pixel is the one it lies in, never the nearest
    [large, [1.5, 1079.9], { x: 1, y: 719 }],
    [{ left: 0, top: 0, width: 0, height: 0 }, [0, 0], null],  // the canvas not laid out
  ];
  for (const [box, [x, y], pixel] of cases) {
    assert.deepEqual(framePixelAt(box, x, y, frame), pixel, `(${x}, ${y}) on ${JSON.stringify(box)}`);
  }
});

test('Space and the arrows are the picture\'s unless the control with the focus uses them', () => {
  const keys = { hold: 10, left: 11, right: 12, up: 13, down: 14 };  // the program's numbers
  const cases = [
    // key, what has the focus, the lesson key or undefined
    [' ', 'other', keys.hold],
    [' ', 'control', undefined],  // a button's or a link's own
    [' ', 'list', undefined],
    ['ArrowLeft', 'control', keys.left],
    ['ArrowRight', 'other', keys.right],
    ['ArrowUp', 'control', keys.up],
    ['ArrowDown', 'other', keys.down],
    ['ArrowDown', 'list', undefined],  // the speed list's next speed
    ['ArrowLeft', 'field', undefined],  // a parameter field's cursor
    [' ', 'field', undefined],
    ['Escape', 'other', undefined],
    ['l', 'other', undefined],
  ];
  for (const [key, focus, wanted] of cases) {
    assert.equal(lessonKeyFor(key, focus, keys), wanted, `'${key}' with the focus on ${focus}`);
  }
});

test('speeds and sizes are written with a decimal comma, the values as the program reads them', () => {
  assert.deepEqual(speedChoices([0.25, 0.5, 1, 2]), [
    { value: '0.25', label: '0,25×', chosen: false },
    { value: '0.5', label: '0,5×', chosen: false },
    { value: '1', label: '1×', chosen: true },
    { value: '2', label: '2×', chosen: false },
  ]);
  const sizes = [[850, '0,9\u00a0kB'], [12345, '12,3\u00a0kB'], [1e6, '1\u00a0MB'], [2_540_000, '2,5\u00a0MB']];
  assert.deepEqual(sizes.map(([bytes]) => sizeText(bytes)), sizes.map(([, text]) => text));
});

test('the packed program unpacks to its bytes, every byte value among them', async () => {
  const bytes = Buffer.concat([Buffer.from(Array.from({ length: 256 }, (_, i) => i)), randomBytes(100000)]);
  const unpacked = await unpack(gzipSync(bytes).toString('base64'));
  assert.ok(unpacked instanceof Uint8Array);
  assert.equal(Buffer.compare(Buffer.from(unpacked), bytes), 0);
});
