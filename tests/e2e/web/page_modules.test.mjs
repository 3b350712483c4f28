// The page's script modules that are plain logic, run without a browser: the pointer mapped to
// frame pixels, which keys are the picture's, the speeds and sizes as the page writes them, the
// program unpacked and counted as it arrives, as the loader does it, and a lesson with a class:
// its addresses, its messages read as nothing but what they must be, and the pace of its states
// and answers.
import assert from 'node:assert/strict';
import { randomBytes } from 'node:crypto';
import { test } from 'node:test';
import { gzipSync } from 'node:zlib';
import { classServerAddress, phoneCannotOpen, withoutTeacherKey } from '../../../src/web/page/addresses.js';
import {
  cleanSignature, clockOffset, encode, newPupilNumber, readAnswer, readHello, readState, sinceSent,
} from '../../../src/web/page/class/messages.js';
import { AnswerBook, makeThrottle } from '../../../src/web/page/class/pace.js';
import { speedChoices } from '../../../src/web/page/clock.js';
import { sizeText } from '../../../src/web/page/gif.js';
import { lessonKeyFor } from '../../../src/web/page/keys.js';
import { counted, loadingText, unpack } from '../../../src/web/page/loader.js';
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

test('the share of the program that has arrived, never 100% before the last byte', () => {
  const cases = [
    // received, total, text
    [0, 2000, 'Ładowanie… 0%'],
    [900, 2000, 'Ładowanie… 45%'],
    [1999, 2000, 'Ładowanie… 99%'],
    [2000, 2000, 'Ładowanie… 100%'],
    [2100, 2000, 'Ładowanie… 100%'],
    [500, 0, 'Ładowanie…'],  // the size unknown
  ];
  for (const [received, total, text] of cases) {
    assert.equal(loadingText(received, total), text, `${received} of ${total}`);
  }
});

test('the program\'s response passes whole, counted piece by piece, its type kept', async () => {
  const bytes = randomBytes(300000);
  const pieces = [bytes.subarray(0, 1000), bytes.subarray(1000, 250000), bytes.subarray(250000)];
  const body = new ReadableStream({ pull(stream) { const piece = pieces.shift(); if (piece) stream.enqueue(piece); else stream.close(); } });
  const seen = [];
  const response = counted(new Response(body, { headers: { 'Content-Type': 'application/wasm' } }), (n) => seen.push(n));
  assert.equal(response.headers.get('Content-Type'), 'application/wasm');
  assert.equal(Buffer.compare(Buffer.from(await response.arrayBuffer()), bytes), 0);
  assert.deepEqual(seen, [1000, 250000, 300000]);
});

test('a QR code warns of links no phone in the classroom opens; the class server is on the page\'s own origin', () => {
  const phones = [
    ['http://192.168.1.5:8080/#answer=4', ''],
    ['https://szkola.example/plotnik/#klasa=K7M3X', ''],
    ['file:///home/ala/plotnik/index.html#answer=4', 'z\u00a0pliku'],
    ['http://localhost:8080/', '„localhost:8080” to ten komputer'],
    ['http://127.0.0.1:41234/#answer=4', '„127.0.0.1:41234” to ten komputer'],
    ['http://[::1]:8080/', '„[::1]:8080” to ten komputer'],
    ['http://plotnik.localhost/', 'to ten komputer'],
  ];
  for (const [address, saying] of phones) {
    const warning = phoneCannotOpen(address);
    assert.equal(saying === '' ? warning : warning.includes(saying) && warning.startsWith('Telefon nie otworzy'),
      saying === '' ? '' : true, `${address}: ${warning}`);
  }
  const servers = [
    ['http://192.168.1.5:8080/', { server: 'klasa' }, 'ws://192.168.1.5:8080/klasa'],
    ['https://szkola.example/plotnik/index.html#answer=4', { server: 'klasa' }, 'wss://szkola.example/plotnik/klasa'],
    ['https://szkola.example/plotnik/', { server: '/klasa' }, 'wss://szkola.example/klasa'],
    ['https://szkola.example/plotnik/', { server: 'https://elsewhere.example/klasa' }, null],
    ['https://szkola.example/plotnik/', { server: '//elsewhere.example/klasa' }, null],
    ['https://szkola.example/plotnik/', { server: 7 }, null],
    ['https://szkola.example/plotnik/', null, null],
  ];
  for (const [page, file, address] of servers) {
    assert.equal(classServerAddress(page, file), address, `${page} ${JSON.stringify(file)}`);
  }
  const hashes = [['#nauczyciel=K7.abc', ''], ['#answer=4&nauczyciel=K7.abc', '#answer=4'],
    ['#nauczyciel=K7.abc&klasa=K7M3X', '#klasa=K7M3X'], ['#answer=4', '#answer=4'], ['', '']];
  assert.deepEqual(hashes.map(([hash]) => withoutTeacherKey(hash)), hashes.map(([, kept]) => kept));
});

test('only a whole, well-formed state, hello or answer of the class is read; the rest is null', () => {
  const bytes = (value) => new TextEncoder().encode(typeof value === 'string' ? value : JSON.stringify(value));
  const state = { v: 1, code: 'K7M3X', link: 'answer=7&mouse=640,360&ticks=2345', held: false, speed: 0.5,
    sent: 1733680000000, question: 2, ended: false };
  const { v, ...read } = state;
  assert.deepEqual(readState(bytes(state), 'K7M3X'), read);
  assert.deepEqual(readState(encode(read), 'K7M3X'), read, `encoded as version ${v}`);
  assert.equal(readState(bytes({ ...state, link: '' }), 'K7M3X')?.link, '', 'the teacher on the menu');
  const badStates = [
    { ...state, code: 'Q9ZZZ' }, { ...state, v: 2 }, { ...state, link: 'answer=7&ticks=1' },
    { ...state, link: 'answer=7&mouse=1,1&ticks=1<b>' }, { ...state, held: 'no' }, { ...state, speed: 0 },
    { ...state, speed: 17 }, { ...state, sent: 'now' }, { ...state, question: -1 }, { ...state, question: 1.5 },
    { ...state, ended: 1 }, [state], null, 'null', JSON.stringify(state).slice(0, 50),
  ];
  for (const bad of badStates) {
    assert.equal(readState(bytes(bad), 'K7M3X'), null, JSON.stringify(bad));
  }
  assert.equal(readState(new Uint8Array([0xff, 0xfe, 0x7b]), 'K7M3X'), null, 'not UTF-8');
  assert.equal(readState(bytes({ ...state, pad: 'x'.repeat(1024) }), 'K7M3X'), null, 'more than 1 KB');
  assert.equal(readState('text', 'K7M3X'), null, 'not bytes');

  assert.equal(readHello(encode({ pupil: 'Abc_12-xyz' })), 'Abc_12-xyz');
  for (const pupil of ['short', 'a'.repeat(33), '<img src=x>', 7]) {
    assert.equal(readHello(encode({ pupil })), null, String(pupil));
  }

  const answer = { code: 'K7M3X', pupil: 'Abc_12-xyz', name: ' Ala ', link: 'answer=4&mouse=720,240&ticks=0', question: 2 };
  assert.deepEqual(readAnswer(encode(answer), 'K7M3X'),
    { pupil: 'Abc_12-xyz', name: 'Ala', link: 'answer=4&mouse=720,240&ticks=0', question: 2 });
  const names = [['<b>Ala</b>', '<b>Ala</b>'], ['Zoë\u202e\u0007', 'Zoë'], ['ż'.repeat(24), 'ż'.repeat(24)],
    ['ż'.repeat(25), null], ['\u0000', null], ['   ', null], [7, null]];
  for (const [name, kept] of names) {
    assert.equal(readAnswer(encode({ ...answer, name }), 'K7M3X')?.name ?? null, kept, JSON.stringify(name));
  }
  for (const bad of [{ ...answer, code: 'K7M3Y' }, { ...answer, link: '' }, { ...answer, pupil: 'x' },
    { ...answer, question: '2' }]) {
    assert.equal(readAnswer(encode(bad), 'K7M3X'), null, JSON.stringify(bad));
  }
  assert.equal(cleanSignature('  Ola\u200f  '), 'Ola');
  assert.match(newPupilNumber(), /^[A-Za-z0-9_-]{12}$/);
  // A hello sent at 1000 and answered at 1040, the teacher writing at its 5020: 5000 ms ahead.
  assert.equal(clockOffset(1000, 5020, 1040), 4000);
  assert.equal(sinceSent(5020, 1100, 4000), 80);
});

test('a teacher\'s states go out at most once an interval and always the last; answers one a pupil', () => {
  let now = 0;
  const timers = [];
  const clock = { now: () => now, later: (fn, ms) => timers.push({ fn, at: now + ms }) && timers.length, cancel: () => {} };
  const sent = [];
  const throttle = makeThrottle(() => sent.push(now), 50, clock);
  const run = (until) => {
    for (timers.sort((a, b) => a.at - b.at); timers.length > 0 && timers[0].at <= until; timers.sort((a, b) => a.at - b.at)) {
      const { fn, at } = timers.shift();
      now = at;
      fn();
    }
    now = until;
  };
  for (let t = 0; t <= 200; t += 5) {  // a drag: a change every 5 ms for 200 ms
    run(t);
    throttle.request();
  }
  run(400);
  assert.deepEqual(sent, [0, 50, 100, 150, 200, 250], 'every 50 ms, the last change too');
  throttle.request();
  assert.deepEqual(sent.slice(-1), [400], 'after a pause, at once');

  const book = new AnswerBook(2);
  const answer = (pupil, link, name = 'Ala') => ({ pupil, name, link, question: 1 });
  assert.deepEqual([book.add(answer('p1', 'a')), book.add(answer('p1', 'a')), book.add(answer('p2', 'b')),
    book.add(answer('p1', 'c')), book.add(answer('p3', 'd'))], ['new', 'same', 'new', 'changed', 'refused']);
  assert.deepEqual(book.waiting, ['p1', 'p2'], 'each pupil once, in the order they came');
  const first = book.next();
  assert.equal(first.link, 'c', 'the latest answer');
  book.putBack(first);
  assert.deepEqual([book.next().pupil, book.next().pupil, book.next()], ['p1', 'p2', undefined]);
  assert.deepEqual([book.answers.size, book.joined.size], [2, 2]);
  book.clear();
  assert.deepEqual([book.answers.size, book.waiting.length, book.joined.size], [0, 0, 2], 'who joined stays');
});
