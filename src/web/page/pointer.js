// A mouse picture follows a pointer pressed on it: a click puts its pointer there, a drag (or a
// finger) moves it. A pointer that only passes over the picture, or leaves it during a drag, on its
// way to a control, changes nothing.

// The frame pixel under the page point (x, y), mapped back from the box the canvas is drawn in,
// wherever and however large; null outside it.
export function framePixelAt(box, x, y, frame) {
  const across = x - box.left;
  const down = y - box.top;
  if (box.width === 0 || across < 0 || down < 0 || across >= box.width || down >= box.height) {
    return null;
  }
  return { x: Math.floor((across * frame.width) / box.width), y: Math.floor((down * frame.height) / box.height) };
}

function steerFrom(page, state, event) {
  const pixel = framePixelAt(page.canvas.getBoundingClientRect(), event.clientX, event.clientY,
    state.constants.frame);
  if (pixel !== null) {
    state.program._plotnik_point_at(pixel.x, pixel.y);
  }
}

export function pressOnPicture(page, state, event) {
  // The program's mouse handling keeps a click from focusing the canvas; the page does it.
  page.canvas.focus({ preventScroll: true });
  if (event.button !== 0 || page.picture.hidden) {
    return;
  }
  state.dragging = event.pointerId;
  page.canvas.setPointerCapture?.(event.pointerId);
  steerFrom(page, state, event);
}

export function dragOnPicture(page, state, event) {
  if (event.pointerId === state.dragging) {
    steerFrom(page, state, event);
  }
}

export function releasePicture(state, event) {
  if (event.pointerId === state.dragging) {
    state.dragging = null;
  }
}
