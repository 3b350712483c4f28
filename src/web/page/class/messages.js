// The messages of a lesson with a class, as JSON in UTF-8, each well under the server's 1 KB:
//   state  (teacher → class, and the teacher's reply to a hello):
//          {"v":1,"code":"K7M3X","link":"answer=7&mouse=640,360&ticks=2345","held":false,"speed":1,
//           "sent":<the teacher's Date.now()>,"question":1,"ended":false}
//   hello  (a pupil joining, a request the teacher's page answers with the state): {"v":1,"pupil":"…"}
//   answer (pupil → teacher): {"v":1,"code":"K7M3X","pupil":"…","name":"Ala","link":"answer=4&…",
//          "question":1}
// Whatever arrives is read here and only here: anything that is not exactly such a message (cut,
// forged, oversized, binary, another class's) is null, and nothing throws. A signature is kept as
// text and only ever shown as text.
const kVersion = 1;
export const kMaxMessageBytes = 1024;
export const kMaxSignature = 24;  // characters
const kLink = /^answer=[A-Za-z0-9%._~-]{1,24}&mouse=-?\d{1,6},-?\d{1,6}&ticks=\d{1,10}$/;
const kPupil = /^[A-Za-z0-9_-]{8,32}$/;
// Controls, and the marks that change the direction of text, are no part of a signature.
const kUnprintable = /[\u0000-\u001f\u007f-\u009f\u200e\u200f\u202a-\u202e\u2066-\u2069]/gu;

const encoder = new TextEncoder();
const decoder = new TextDecoder('utf-8', { fatal: true });

export const encode = (message) => encoder.encode(JSON.stringify({ v: kVersion, ...message }));

// The object a message's bytes hold, or null.
function objectIn(bytes) {
  if (!(bytes instanceof Uint8Array) || bytes.length > kMaxMessageBytes) {
    return null;
  }
  try {
    const value = JSON.parse(decoder.decode(bytes));
    return value !== null && typeof value === 'object' && !Array.isArray(value) && value.v === kVersion ? value : null;
  } catch {
    return null;
  }
}

const isQuestion = (n) => Number.isInteger(n) && n >= 0 && n < 1e9;

// A signature as the page keeps it: without controls or direction marks, blanks trimmed, at most
// kMaxSignature characters.
export function cleanSignature(text) {
  return [...String(text).replace(kUnprintable, '').trim()].slice(0, kMaxSignature).join('');
}

// A class state for this class's code, or null.
export function readState(bytes, code) {
  const m = objectIn(bytes);
  if (m === null || m.code !== code || typeof m.link !== 'string' || (m.link !== '' && !kLink.test(m.link)) ||
      typeof m.held !== 'boolean' || typeof m.speed !== 'number' || !(m.speed > 0 && m.speed <= 16) ||
      !Number.isFinite(m.sent) || !isQuestion(m.question) || typeof m.ended !== 'boolean') {
    return null;
  }
  return { code, link: m.link, held: m.held, speed: m.speed, sent: m.sent, question: m.question, ended: m.ended };
}

// A pupil's hello: the pupil's number, or null.
export function readHello(bytes) {
  const m = objectIn(bytes);
  return m !== null && typeof m.pupil === 'string' && kPupil.test(m.pupil) ? m.pupil : null;
}

// A pupil's answer to this class, or null; its signature cleaned, and one that is empty or too
// long after that refused.
export function readAnswer(bytes, code) {
  const m = objectIn(bytes);
  if (m === null || m.code !== code || typeof m.pupil !== 'string' || !kPupil.test(m.pupil) ||
      typeof m.name !== 'string' || typeof m.link !== 'string' || !kLink.test(m.link) || !isQuestion(m.question)) {
    return null;
  }
  const name = cleanSignature(m.name);
  if (name === '' || [...m.name.trim()].length > kMaxSignature) {
    return null;
  }
  return { pupil: m.pupil, name, link: m.link, question: m.question };
}

// A pupil's number for this tab: 12 characters drawn by the browser.
export function newPupilNumber(random = (bytes) => crypto.getRandomValues(bytes)) {
  const alphabet = 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-';
  return Array.from(random(new Uint8Array(12)), (b) => alphabet[b % 64]).join('');
}

// How far the teacher's clock (Date.now() there) is ahead of this page's, from a hello sent at
// this page's t0 and answered by the state sent at the teacher's `sent`, back here at t1: the
// answer is taken to have been written halfway.
export const clockOffset = (t0, sent, t1) => sent - (t0 + t1) / 2;

// How long ago, in ms, the teacher's page was at a state it sent at its time `sent`.
export const sinceSent = (sent, now, offset) => now + offset - sent;
