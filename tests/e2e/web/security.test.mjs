// The page under its Content Security Policy, from the server (as a header and in the page) and
// from its folder (in the page): its own use raises no violation, and a script slipped into it is
// refused and reported.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { browserAndSite, fileUrl, openTab, pointAt, site, waitForLink, waitForMenu } from './harness.mjs';

const session = browserAndSite();

// Every violation the page reports, kept from the moment each document starts.
async function watchViolations(tab) {
  await tab.evaluateOnNewDocument(() => {
    window.violations = [];
    document.addEventListener('securitypolicyviolation',
      (event) => window.violations.push(`${event.violatedDirective} ${event.blockedURI}`));
  });
}
const violations = (tab) => tab.evaluate(() => window.violations);

test('the menu, a picture and the licences page raise no violation, served and from the folder', async (t) => {
  for (const [where, address] of [['served', session.served.origin + '/'], ['folder', fileUrl()]]) {
    const tab = await openTab(session.browser, { origin: session.served.origin });
    await watchViolations(tab);
    await tab.goto(address);
    await waitForMenu(tab);
    assert.deepEqual(await violations(tab), [], `${where}: the menu`);
    await tab.click('a[href="#answer=4"]');
    await waitForLink(tab, (f) => f.answer === '4');
    await pointAt(tab, 100, 100);
    await waitForLink(tab, (f) => f.mouse.join() === '100,100', 'a click on the picture');
    await tab.evaluate(() => { location.hash = '#answer=7&ticks=2000'; });
    await tab.waitForSelector('#canvas[data-state="drawn"]');
    assert.deepEqual(await violations(tab), [], `${where}: pictures 4 and 7`);
    await tab.goto(address.replace(/index\.html$|\/$/, (end) => (end === '/' ? '/' : '')) + 'licencje.html');
    await tab.waitForSelector('h1');
    assert.deepEqual(await violations(tab), [], `${where}: the licences page`);
    assert.deepEqual(tab.problems, []);
    t.diagnostic(`${where}: no violations`);
    await tab.close();
  }
});

test('a script or a style slipped into the page is refused and reported, served and from the folder', async () => {
  for (const [where, address] of [['served', session.served.origin + '/'], ['folder', fileUrl()]]) {
    const tab = await openTab(session.browser, { origin: session.served.origin });
    await watchViolations(tab);
    await tab.goto(address);
    await waitForMenu(tab);
    await tab.evaluate(() => {
      const script = document.createElement('script');
      script.textContent = 'window.slipped = true;';
      document.body.appendChild(script);
      const style = document.createElement('style');
      style.textContent = 'body { background: red; }';
      document.head.appendChild(style);
    });
    await tab.waitForFunction(() => window.violations.length >= 2);
    assert.equal(await tab.evaluate(() => window.slipped), undefined, `${where}: the inline script ran`);
    assert.notEqual(await tab.evaluate(() => getComputedStyle(document.body).backgroundColor), 'rgb(255, 0, 0)', where);
    const reported = (await violations(tab)).join('; ');
    assert.match(reported, /script-src/, where);
    assert.match(reported, /style-src/, where);
    await tab.close();
  }
});

// The policy, directive by directive: the page's own files only (its script, the program it
// compiles, its style, its pictures and the PNG and GIF it makes, its worker and manifest), no
// plugin, no other base, no form. A class server is reached on the page's own origin, so nothing
// here names another host. A server adds that no other site may frame the page.
const kPolicy = {
  'default-src': ["'self'"],
  'script-src': ["'self'", "'wasm-unsafe-eval'"],
  'style-src': ["'self'"],
  'img-src': ["'self'", 'data:', 'blob:'],
  'connect-src': ["'self'"],
  'worker-src': ["'self'"],
  'manifest-src': ["'self'"],
  'object-src': ["'none'"],
  'base-uri': ["'none'"],
  'form-action': ["'none'"],
};
const kServerPolicy = { ...kPolicy, 'frame-ancestors': ["'self'"] };

const directives = (policy) => Object.fromEntries(policy.split(';').map((d) => d.trim()).filter(Boolean)
  .map((d) => d.split(/\s+/)).map(([name, ...sources]) => [name, sources]));

test("the page's policy, its licences page's and the administrators' server examples are exactly the intended ones", () => {
  const policyOf = (file) => readFileSync(join(site, file), 'utf8')
    .match(/<meta http-equiv="Content-Security-Policy" content="([^"]*)">/)?.[1] ?? '';
  const guide = readFileSync(new URL('../../../docs/administrators.md', import.meta.url), 'utf8');
  const examples = [...guide.matchAll(/Content-Security-Policy "([^"]*)"/g)].map((m) => m[1]);
  assert.equal(examples.length, 2, 'an nginx and an Apache example');
  const policies = [['index.html', policyOf('index.html'), kPolicy], ['licencje.html', policyOf('licencje.html'), kPolicy],
    ...examples.map((example, n) => [`server example ${n + 1}`, example, kServerPolicy])];
  for (const [where, policy, intended] of policies) {
    const found = directives(policy);
    for (const name of new Set([...Object.keys(found), ...Object.keys(intended)])) {
      assert.deepEqual(found[name]?.toSorted(), intended[name]?.toSorted(), `${where}: ${name}`);
    }
  }
});
