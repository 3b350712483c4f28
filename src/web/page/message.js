// The line above the menu or the picture: what went wrong, or the link of a frame; hidden when
// there is nothing to say.
export function showMessage(page, text) {
  page.message.textContent = text;
  page.message.hidden = text === '';
}
