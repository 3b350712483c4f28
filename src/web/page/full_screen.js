// The picture full screen, on the browser's own terms: a browser that cannot show an element full
// screen (an iPhone's) offers no such button, and Escape leaves it.
export function offerFullScreen(page) {
  page.fullscreen.hidden = !document.fullscreenEnabled || typeof page.stage.requestFullscreen !== 'function';
}

export function enterFullScreen(page) {
  page.stage.requestFullscreen?.().catch(() => {});
}

export function leaveFullScreen() {
  if (document.fullscreenElement) {
    document.exitFullscreen().catch(() => {});
  }
}
