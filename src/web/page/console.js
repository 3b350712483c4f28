// The program's console lines under the picture: only the last few are kept, and they are shown
// at most once per painted frame however many come.
const kConsoleLines = 8;

export function addConsoleLine(page, state, line) {
  const lines = state.consoleLines;
  lines.push(line);
  if (lines.length > kConsoleLines) {
    lines.splice(0, lines.length - kConsoleLines);
  }
  if (state.consoleRedraw === 0) {
    state.consoleRedraw = requestAnimationFrame(() => {
      state.consoleRedraw = 0;
      page.console.textContent = lines.join('\n');
      page.console.scrollTop = page.console.scrollHeight;  // a short console shows the newest
    });
  }
}
