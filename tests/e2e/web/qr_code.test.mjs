// "Kod QR": the frame's link as a QR code that decodes (zbarimg) to exactly that link, a third of
// the screen high at least, the link under it; a link no phone can open (the page from its folder,
// or from this computer's own address) warned of; Escape and a click close it and leave the
// picture. Without a class server there is no class bar. No server of the class is needed.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { browserName, fileUrl, launchBrowser, notInWebKit, openTab, pointAt, serveSite, waitForLink, waitForMenu } from './harness.mjs';
import { decodeQr, kPupilHost } from './class_helpers.mjs';

const session = {};
before(async () => {
  session.browser = await launchBrowser(browserName, { hostAlias: kPupilHost });
  session.served = await serveSite();
});
after(async () => {
  await session.browser?.close();
  await session.served?.stop();
});

const shownQr = (tab) => tab.evaluate(() => {
  const qr = document.getElementById('qr').getBoundingClientRect();
  const warning = document.getElementById('qr-warning');
  return { height: qr.height / innerHeight, link: document.getElementById('qr-link').textContent,
    warning: warning.hidden ? '' : warning.textContent };
});

test('the QR code of a frame is its link, large, warned of where a phone cannot open it', async () => {
  const served = session.served.origin;
  const cases = [
    // where the page is, what the warning says
    ['the folder', fileUrl(), /z\u00a0pliku/],
    ['this computer', `${served}/`, /ten komputer/],
  ];
  if (browserName !== 'webkit') {
    cases.push(['the school\'s server', `${served.replace('127.0.0.1', kPupilHost)}/`, /^$/]);
  }
  for (const [where, address, warning] of cases) {
    const tab = await openTab(session.browser, { width: 1920, height: 1080, origin: new URL(address).origin });
    await tab.goto(address + '#answer=4');
    await waitForMenu(tab);
    await pointAt(tab, 720, 240);
    const frame = await waitForLink(tab, (f) => f.mouse.join() === '720,240');
    await tab.click('#show-qr');
    await tab.waitForSelector('#qr-dialog[open]');
    const link = (await tab.evaluate(() => location.href.split('#')[0])) + '#' + frame.link;
    assert.equal(await decodeQr(tab), link, `${where}: the QR code`);
    const shown = await shownQr(tab);
    assert.ok(shown.height >= 1 / 3, `${where}: the QR code is ${shown.height} of the screen's height`);
    assert.equal(shown.link, link, `${where}: the link under it`);
    assert.match(shown.warning, warning, where);
    assert.equal(await tab.$eval('#class', (c) => c.hidden), true, `${where}: no class server, no class`);
    await tab.keyboard.press('Escape');
    await tab.waitForSelector('#qr-dialog:not([open])');
    assert.equal(await tab.$eval('#picture', (p) => p.hidden), false, `${where}: Escape closed the code only`);
    assert.deepEqual(tab.problems, [], where);
    await tab.close();
  }
});

test('a click closes the QR code; a frozen frame has one too', notInWebKit('the same script as in the others'), async () => {
  const tab = await openTab(session.browser, { origin: session.served.origin });
  await tab.goto(`${session.served.origin}/#answer=7&mouse=0,0&ticks=2000`);
  await tab.waitForSelector('#canvas[data-state="drawn"]');
  await tab.click('#show-qr');
  await tab.waitForSelector('#qr-dialog[open]');
  assert.equal(await decodeQr(tab), `${session.served.origin}/#answer=7&mouse=0,0&ticks=2000`);
  await tab.click('#qr');
  await tab.waitForSelector('#qr-dialog:not([open])');
  assert.deepEqual(tab.problems, []);
});
