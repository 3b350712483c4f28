// "Odpowiedzi": one small picture per pupil's latest answer, drawn by the page's program from the
// answer's link (the exact frame, reduced), with the pupil's signature (shown as text, or hidden
// with "Ukryj podpisy") and the values its picture shows; a click on one shows that frame to the
// class. However fast answers come, one is kept per pupil and at most one is drawn every
// kDrawEveryMs, each in a task of its own, so the teacher's picture keeps its pace. On a mouse
// picture a layer over the canvas marks where each pupil's answer on that picture put the pointer;
// the canvas's own pixels are never touched.
const kDrawEveryMs = 250;
const kRetryMs = 1000;  // no picture open to draw in (the menu): the answers wait
const kMarkRadius = 9;

export class AnswerPanel {
  constructor(page, state, api, book, showToClass) {
    this.page = page;
    this.state = state;
    this.ui = api.ui;
    this.book = book;
    this.showToClass = showToClass;
    this.items = new Map();  // pupil -> its list item
    this.timer = null;
    this.lastDraw = -Infinity;
    this.draws = 0;
    const { answer } = JSON.parse(state.program.ccall('plotnik_class_constants', 'string', [], []));
    this.size = answer;
    this.resize = new ResizeObserver(() => this.showPointers());
    this.resize.observe(page.canvas);
    this.ui.answerList.replaceChildren();
    this.counts();
  }

  joined(pupil) {
    this.book.join(pupil);
    this.counts();
  }

  add(answer) {
    const added = this.book.add(answer);
    if (added === 'new' || added === 'changed') {
      this.item(answer.pupil);
      this.schedule();
    }
    this.counts();
  }

  counts() {
    this.ui.counts.textContent = `Dołączyło: ${this.book.joined.size}, odpowiedzi: ${this.book.answers.size}`;
  }

  toggle(open = this.ui.answers.hidden) {
    this.ui.answers.hidden = !open;
    this.ui.answersToggle.setAttribute('aria-expanded', String(open));
  }

  hideNames(hidden) {
    this.ui.answerList.classList.toggle('names-hidden', hidden);
    for (const [pupil, item] of this.items) {
      this.describe(item, this.book.answers.get(pupil));
    }
  }

  // The list item of a pupil's answer, made the first time.
  item(pupil) {
    let item = this.items.get(pupil);
    if (item === undefined) {
      item = document.createElement('li');
      item.className = 'class-answer';
      const button = document.createElement('button');
      button.type = 'button';
      const picture = document.createElement('canvas');
      picture.width = this.size.width;
      picture.height = this.size.height;
      const what = document.createElement('span');
      what.className = 'visually-hidden';
      what.textContent = 'Pokaż klasie: ';
      const name = document.createElement('span');
      name.className = 'class-answer-name';
      const values = document.createElement('span');
      values.className = 'class-answer-values';
      button.append(what, picture, name, values);
      button.addEventListener('click', () => this.showToClass(button.dataset.link));
      item.appendChild(button);
      this.ui.answerList.appendChild(item);
      this.items.set(pupil, item);
    }
    return item;
  }

  // The item's texts for its answer; its link only once its picture is drawn.
  describe(item, answer) {
    const button = item.firstChild;
    const hidden = this.ui.answerList.classList.contains('names-hidden');
    const [, , name, values] = button.children;
    name.textContent = answer.name;
    name.hidden = hidden;
    const program = this.state.program;
    const shown = program.ccall('plotnik_frame_values', 'string', ['string'], [answer.link]);
    const picture = program.ccall('plotnik_frame_answer', 'string', ['string'], [answer.link]);
    values.textContent = `Obraz ${picture}${shown === '' ? '' : ': ' + shown}`;
  }

  schedule() {
    if (this.timer === null && this.book.waiting.length > 0) {
      const wait = Math.max(0, this.lastDraw + kDrawEveryMs - performance.now());
      this.timer = setTimeout(() => this.drawNext(), wait);
    }
  }

  drawNext() {
    this.timer = null;
    const answer = this.book.next();
    if (answer === undefined) {
      return;
    }
    const { program } = this.state;
    const at = program.ccall('plotnik_draw_answer', 'number', ['string'], [answer.link]);
    if (at === 0) {
      this.book.putBack(answer);
      this.lastDraw = performance.now() + kRetryMs - kDrawEveryMs;
      this.schedule();
      return;
    }
    this.lastDraw = performance.now();
    const { width, height } = this.size;
    const pixels = new ImageData(new Uint8ClampedArray(program.HEAPU8.buffer, at, width * height * 4).slice(), width, height);
    const item = this.items.get(answer.pupil);
    const button = item.firstChild;
    button.querySelector('canvas').getContext('2d').putImageData(pixels, 0, 0);
    button.dataset.link = answer.link;
    this.describe(item, answer);
    answer.drawn = true;
    this.draws += 1;
    this.ui.answerList.dataset.draws = String(this.draws);
    this.showPointers();
    this.schedule();
  }

  // The layer over the canvas: a numbered ring where each answer on the live mouse picture put its
  // pointer, numbered as the answers are listed.
  showPointers() {
    const layer = this.ui.pointers;
    const { program, constants } = this.state;
    const live = program.ccall('plotnik_live_answer', 'string', [], []);
    const marks = [];
    if (live !== '' && this.state.steering === constants.steering.mouse) {
      [...this.book.answers.values()].forEach((answer, index) => {
        const mouse = /&mouse=(-?\d+),(-?\d+)&/.exec(answer.link);
        if (answer.drawn && answer.link.startsWith(`answer=${live}&`) && mouse) {
          marks.push({ x: Number(mouse[1]), y: Number(mouse[2]), n: index + 1 });
        }
      });
    }
    layer.hidden = marks.length === 0;
    layer.dataset.marks = String(marks.length);
    if (layer.hidden) {
      return;
    }
    const box = this.page.canvas.getBoundingClientRect();
    const stage = this.page.stage.getBoundingClientRect();
    const ratio = window.devicePixelRatio || 1;
    layer.style.left = `${box.left - stage.left}px`;
    layer.style.top = `${box.top - stage.top}px`;
    layer.style.width = `${box.width}px`;
    layer.style.height = `${box.height}px`;
    layer.width = Math.round(box.width * ratio);
    layer.height = Math.round(box.height * ratio);
    const scale = (box.width / constants.frame.width) * ratio;
    const context = layer.getContext('2d');
    context.font = `${Math.round(12 * ratio)}px system-ui, sans-serif`;
    context.textAlign = 'center';
    context.textBaseline = 'middle';
    for (const { x, y, n } of marks) {
      const cx = (x + 0.5) * scale;
      const cy = (y + 0.5) * scale;
      context.lineWidth = 4 * ratio;
      context.strokeStyle = '#101418';
      context.beginPath();
      context.arc(cx, cy, kMarkRadius * ratio, 0, 2 * Math.PI);
      context.stroke();
      context.lineWidth = 2 * ratio;
      context.strokeStyle = '#ffb15a';
      context.stroke();
      context.fillStyle = '#ffb15a';
      context.fillText(String(n), cx, cy - (kMarkRadius + 9) * ratio);
    }
  }

  clear() {
    this.book.clear();
    this.items.clear();
    this.ui.answerList.replaceChildren();
    this.counts();
    this.showPointers();
  }

  close() {
    clearTimeout(this.timer);
    this.timer = null;
    this.resize.disconnect();
    this.ui.answerList.replaceChildren();
    this.ui.pointers.hidden = true;
    this.toggle(false);
  }
}
