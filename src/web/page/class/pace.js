// The pace of a lesson's traffic, plain logic with its clock given: a teacher's state goes out at
// most once every interval however often the picture changes (a drag), and always the last one;
// the answers panel keeps one latest answer per pupil and draws at most one each interval.

// Calls send at most once every intervalMs: a request within the interval is sent when it ends,
// so the last state always goes. timers: { now, later, cancel } (performance.now, setTimeout,
// clearTimeout by default).
export function makeThrottle(send, intervalMs, timers = {}) {
  const now = timers.now ?? (() => performance.now());
  const later = timers.later ?? setTimeout;
  const cancel = timers.cancel ?? clearTimeout;
  let last = -Infinity;
  let timer = null;
  let waiting = false;
  const fire = () => {
    timer = null;
    if (waiting) {
      waiting = false;
      last = now();
      send();
      timer = later(fire, intervalMs);
    }
  };
  return {
    request() {
      waiting = true;
      if (timer === null) {
        const wait = last + intervalMs - now();
        if (wait <= 0) {
          fire();
        } else {
          timer = later(fire, wait);
        }
      }
    },
    stop() {
      waiting = false;
      if (timer !== null) {
        cancel(timer);
        timer = null;
      }
    },
  };
}

// The class's answers: one, the latest, per pupil, in the order pupils first answered; those not
// yet drawn wait in arrival order, each once however often its pupil sends. At most maxPupils are
// kept: a pupil beyond them is refused (a flood under ever new names fills nothing).
export class AnswerBook {
  constructor(maxPupils = 100) {
    this.maxPupils = maxPupils;
    this.answers = new Map();  // pupil -> { pupil, name, link, question, drawn }
    this.waiting = [];         // pupils whose latest answer is not drawn yet
    this.joined = new Set();   // pupils that said hello or answered
  }

  // 'new', 'changed', 'same' (nothing to draw again) or 'refused'.
  add(answer) {
    const known = this.answers.get(answer.pupil);
    if (known === undefined && this.answers.size >= this.maxPupils) {
      return 'refused';
    }
    this.join(answer.pupil);
    if (known !== undefined && known.link === answer.link && known.name === answer.name) {
      return 'same';
    }
    const entry = { ...answer, drawn: false };
    this.answers.set(answer.pupil, entry);
    if (!this.waiting.includes(answer.pupil)) {
      this.waiting.push(answer.pupil);
    }
    return known === undefined ? 'new' : 'changed';
  }

  join(pupil) {
    if (this.joined.size < this.maxPupils * 2) {
      this.joined.add(pupil);
    }
  }

  // The next answer to draw, taken off the waiting list; undefined when none waits.
  next() {
    const pupil = this.waiting.shift();
    return pupil === undefined ? undefined : this.answers.get(pupil);
  }

  // An answer that could not be drawn now goes back to the front.
  putBack(answer) {
    if (this.answers.get(answer.pupil) === answer && !this.waiting.includes(answer.pupil)) {
      this.waiting.unshift(answer.pupil);
    }
  }

  clear() {
    this.answers.clear();
    this.waiting = [];
  }
}
