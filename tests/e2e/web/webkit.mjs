// WebKit for the browser tests: Debian's WebKitGTK (its MiniBrowser, on an Xvfb of its own) driven
// over W3C WebDriver by WebKitWebDriver, and given to the tests as the part of puppeteer's Browser
// and Page they use, so that the same test files run here as in Chromium and Firefox.
//
// The protocol is spoken directly: every command is one HTTP request with a JSON body, and the
// tests need about fifteen of them. A client library would put a second API between the tests'
// puppeteer calls and those requests, and would not spare this file its work: starting the X
// server and the driver, sizing the window to a viewport, and keys and pointer moves as puppeteer
// gives them.
import { spawn } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const kDriver = process.env.PLOTNIK_WEBKIT_DRIVER ?? '/usr/bin/WebKitWebDriver';
// The browser comes with the library, in its architecture's folder.
const kMiniBrowser = process.env.PLOTNIK_WEBKIT ?? readdirSync('/usr/lib')
  .map((folder) => join('/usr/lib', folder, 'webkit2gtk-4.1', 'MiniBrowser')).find(existsSync);
// Larger than the largest window the tests ask for, 1920 x 1080 and the browser's toolbar.
const kScreen = '2560x1600x24';
// MiniBrowser's toolbar would keep its window at least 447 px wide; a style of the profile's own
// lets the toolbar's widgets shrink, so that the page can be as narrow as a phone.
const kNarrowToolbar = '* { min-width: 0; min-height: 0; padding: 0; margin: 0; font-size: 1px; }\n';

// WebDriver's codes for the keys the tests press by name; any other key is its own character.
const kKeys = {
  Enter: '\uE007', Tab: '\uE004', Escape: '\uE00C', Backspace: '\uE003', Shift: '\uE008', Control: '\uE009',
  Alt: '\uE00A', ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014', ArrowDown: '\uE015',
};

const pause = (ms) => new Promise((done) => setTimeout(done, ms));
// How long a new window may take to reach the size asked for, and how long a size asked for may
// wait before it is asked again.
const kSizeDeadlineMs = 30000;
const kResizeAgainMs = 2000;

// A child process whose last lines of output are kept, to tell why it failed.
function start(command, args, env, extraPipes = 0) {
  const child = spawn(command, args, { env, stdio: ['ignore', 'pipe', 'pipe', ...Array(extraPipes).fill('pipe')] });
  child.output = [];
  for (const stream of [child.stdout, child.stderr]) {
    stream.setEncoding('utf8');
    stream.on('data', (text) => {
      child.output.push(...text.split('\n'));
      child.output.splice(0, child.output.length - 40);
    });
  }
  child.exited = new Promise((done) => child.once('exit', done));
  return child;
}

const running = (child) => child.exitCode === null && child.signalCode === null;

async function stop(child) {
  if (running(child)) {
    child.kill('SIGTERM');
    await Promise.race([child.exited, pause(5000)]);
    if (running(child)) {
      child.kill('SIGKILL');
      await child.exited;
    }
  }
}

// An X server of its own, on the first free display, as the desktop tests start theirs.
async function startXvfb(env) {
  const xvfb = start('Xvfb', ['-displayfd', '3', '-screen', '0', kScreen, '-nolisten', 'tcp', '-noreset'], env, 1);
  const display = await new Promise((found, failed) => {
    let text = '';
    xvfb.stdio[3].setEncoding('utf8');
    xvfb.stdio[3].on('data', (chunk) => {
      text += chunk;
      if (text.includes('\n')) {
        found(':' + text.trim());
      }
    });
    xvfb.exited.then(() => failed(new Error(`Xvfb ended: ${xvfb.output.join('\n')}`)));
  });
  return { xvfb, display };
}

const freePort = () => new Promise((found) => {
  const server = createServer();
  server.listen(0, '127.0.0.1', () => {
    const { port } = server.address();
    server.close(() => found(port));
  });
});

// The driver on a loopback port found free. Another program may take the port first: the driver
// then ends at once, and is started again on another.
async function startDriver(env, children) {
  for (let attempt = 1; ; ++attempt) {
    const port = await freePort();
    const driver = start(kDriver, [`--port=${port}`, '--host=127.0.0.1'], env);
    children.push(driver);
    const base = `http://127.0.0.1:${port}`;
    const end = Date.now() + 20000;
    while (running(driver) && Date.now() < end) {
      if (await command(base, 'GET', '/status').then((status) => status.ready, () => false)) {
        return base;
      }
      await pause(50);
    }
    if (running(driver) || attempt === 3) {
      throw new Error(`WebKitWebDriver did not start: ${driver.output.join('\n')}`);
    }
  }
}

// One WebDriver command; its value, or an error that says which command failed and why.
async function command(base, method, path, body) {
  const response = await fetch(base + path, {
    method,
    headers: body === undefined ? {} : { 'Content-Type': 'application/json' },
    body: body === undefined ? undefined : JSON.stringify(body),
  });
  const answer = await response.json();
  if (!response.ok) {
    throw new Error(`WebDriver ${method} ${path}: ${answer.value?.error}: ${answer.value?.message}`);
  }
  return answer.value;
}

// WebKit as a puppeteer Browser: an Xvfb, the driver on a free loopback port and one session with
// MiniBrowser; close() ends them all, and they are ended too if the tests' process exits first.
export async function launchWebKit() {
  const profile = mkdtempSync(join(tmpdir(), 'plotnik-webkit-'));
  mkdirSync(join(profile, 'config', 'gtk-3.0'), { recursive: true });
  writeFileSync(join(profile, 'config', 'gtk-3.0', 'gtk.css'), kNarrowToolbar);
  const env = {
    ...process.env, XDG_CONFIG_HOME: join(profile, 'config'), XDG_DATA_HOME: join(profile, 'data'),
    XDG_CACHE_HOME: join(profile, 'cache'), GDK_SCALE: '1',
    // No accessibility bus to look for: the machine has no desktop session.
    NO_AT_BRIDGE: '1',
    // Xvfb has no GPU: composited through Mesa's software GL, a frame took several times as long,
    // and a new window's first frames came seconds apart.
    WEBKIT_DISABLE_COMPOSITING_MODE: '1',
  };
  const children = [];
  const killAll = () => children.forEach((child) => child.kill('SIGKILL'));
  process.once('exit', killAll);
  const browser = {};
  browser.close = async () => {
    if (browser.session) {
      await command(browser.base, 'DELETE', browser.session).catch(() => {});
    }
    for (const child of [...children].reverse()) {
      await stop(child);
    }
    process.removeListener('exit', killAll);
    rmSync(profile, { recursive: true, force: true });
  };
  try {
    const { xvfb, display } = await startXvfb(env);
    children.push(xvfb);
    env.DISPLAY = display;
    browser.base = await startDriver(env, children);
    const created = await command(browser.base, 'POST', '/session', {
      capabilities: { alwaysMatch: { 'webkitgtk:browserOptions': { binary: kMiniBrowser, args: ['--automation'] } } },
    });
    browser.session = `/session/${created.sessionId}`;
    browser.send = (method, path, body) => command(browser.base, method, browser.session + path, body);
    await browser.send('POST', '/timeouts', { script: 60000 });
    // The first window stays open and empty, the session's own: it lasts as long as a window does,
    // and new windows are opened from one.
    browser.home = await browser.send('GET', '/window');
    browser.current = browser.home;
    return browser;
  } catch (failure) {
    await browser.close();
    throw failure;
  }
}

// What a page did that a test fails on, kept inside it from the first command after it loaded:
// its uncaught errors, and the addresses it asked for: those it loaded (the browser's resource
// timing) and those of its elements that failed to load (which the timing leaves out).
const kWatch = `
  if (!window.plotnikWatch) {
    window.plotnikWatch = { errors: [], failed: [], resources: 0 };
    addEventListener('error', (e) => e.target === window ? plotnikWatch.errors.push('page error: ' + e.message)
      : plotnikWatch.failed.push(e.target.currentSrc || e.target.src || e.target.href), true);
    addEventListener('unhandledrejection', (e) => plotnikWatch.errors.push('page error: ' + (e.reason?.message ?? e.reason)));
  }
  const loaded = performance.getEntriesByType('resource').slice(plotnikWatch.resources).map((e) => e.name);
  plotnikWatch.resources += loaded.length;
  const seen = { errors: plotnikWatch.errors.splice(0), asked: [...loaded, ...plotnikWatch.failed.splice(0)] };`;

// A window of its own whose page is `width` x `height` CSS pixels at device scale factor 1, as a
// puppeteer Page: the tests' problems (see kWatch) gather in tab.problems, `own` telling the
// page's addresses from the rest; a wait with no timeout of its own gives up after `deadline` ms.
export async function openWebKitTab(browser, { width, height, touch, own, deadline }) {
  if (touch) {
    throw new Error('WebKitGTK on a desktop has no touch screen');
  }
  const { handle } = await browser.send('POST', '/window/new', { type: 'window' });
  const tab = { problems: [], at: { x: 0, y: 0 } };

  const send = async (method, path, body) => {
    if (browser.current !== handle) {
      await browser.send('POST', '/window', { handle });
      browser.current = handle;
    }
    return browser.send(method, path, body);
  };
  // Runs a function in the page with the arguments (values that JSON carries), awaiting what it
  // answers; the page's problems come back with every answer.
  const run = async (source, args) => {
    const answer = await send('POST', '/execute/async', {
      script: `const done = arguments[arguments.length - 1];
        ${kWatch}
        Promise.resolve().then(() => (${source})(...[...arguments].slice(0, -1))).then(
          (value) => done({ value, seen }), (error) => done({ error: String(error?.stack ?? error), seen }));`,
      args,
    });
    tab.problems.push(...answer.seen.errors, ...answer.seen.asked.filter((url) => !own(url))
      .map((url) => `request outside the page: ${url}`));
    if (answer.error !== undefined) {
      throw new Error(`in the page: ${answer.error}`);
    }
    return answer.value;
  };
  const waitFor = async (source, args, { timeout = deadline, polling = 50 } = {}, what = source) => {
    const end = Date.now() + timeout;
    for (;;) {
      const value = await run(source, args);
      if (value) {
        return value;
      }
      if (Date.now() > end) {
        throw new Error(`waited ${timeout} ms for ${what}`);
      }
      await pause(typeof polling === 'number' ? polling : 50);
    }
  };
  const actions = (type, id, steps, parameters) =>
    send('POST', '/actions', { actions: [{ type, id, ...(parameters && { parameters }), actions: steps }] });
  const keys = (steps) => actions('key', 'keyboard', steps);
  const pointer = (steps) => actions('pointer', 'mouse', steps, { pointerType: 'mouse' });
  const keyOf = (name) => kKeys[name] ?? name;

  Object.assign(tab, {
    async goto(url) {
      await run('() => {}', []);  // what the page that is left did
      await send('POST', '/url', { url });
      await run('() => {}', []);
    },
    // A function only: the page's policy refuses eval, so a script given as text cannot run.
    evaluate: (fn, ...args) => run(String(fn), args),
    $eval: (selector, fn, ...args) => run(`(selector, ...args) => {
      const element = document.querySelector(selector);
      if (!element) throw new Error('no element ' + selector);
      return (${fn})(element, ...args);
    }`, [selector, ...args]),
    $$eval: (selector, fn, ...args) =>
      run(`(selector, ...args) => (${fn})([...document.querySelectorAll(selector)], ...args)`, [selector, ...args]),
    waitForFunction: (fn, options, ...args) => waitFor(String(fn), args, options),
    waitForSelector: (selector, { hidden = false, ...options } = {}) => waitFor(`(selector, hidden) => {
      const element = document.querySelector(selector);
      const shown = element !== null && element.getClientRects().length > 0 && getComputedStyle(element).visibility !== 'hidden';
      return hidden ? !shown : element !== null;
    }`, [selector, hidden], options, selector),
    focus: (selector) => tab.$eval(selector, (e) => e.focus()),
    select: (selector, value) => tab.$eval(selector, (e, v) => {
      e.value = v;
      e.dispatchEvent(new Event('input', { bubbles: true }));
      e.dispatchEvent(new Event('change', { bubbles: true }));
    }, value),
    async click(selector) {
      const middle = await tab.$eval(selector, (e) => {
        e.scrollIntoView({ block: 'nearest', inline: 'nearest' });
        const r = e.getBoundingClientRect();
        return { x: r.left + r.width / 2, y: r.top + r.height / 2 };
      });
      await tab.mouse.move(middle.x, middle.y);
      await tab.mouse.down();
      await tab.mouse.up();
    },
    keyboard: {
      down: (key) => keys([{ type: 'keyDown', value: keyOf(key) }]),
      up: (key) => keys([{ type: 'keyUp', value: keyOf(key) }]),
      press: (key) => keys([{ type: 'keyDown', value: keyOf(key) }, { type: 'keyUp', value: keyOf(key) }]),
      type: (text) => keys([...text].flatMap((c) => [{ type: 'keyDown', value: c }, { type: 'keyUp', value: c }])),
    },
    // From where the mouse is, in `steps` even moves, to whole page pixels.
    mouse: {
      async move(x, y, { steps = 1 } = {}) {
        const from = tab.at;
        const moves = [];
        for (let i = 1; i <= steps; ++i) {
          moves.push({ type: 'pointerMove', origin: 'viewport', duration: 0,
            x: Math.round(from.x + ((x - from.x) * i) / steps), y: Math.round(from.y + ((y - from.y) * i) / steps) });
        }
        await pointer(moves);
        tab.at = { x, y };
      },
      down: () => pointer([{ type: 'pointerDown', button: 0 }]),
      up: () => pointer([{ type: 'pointerUp', button: 0 }]),
    },
    async close() {
      await send('DELETE', '/window');
      await browser.send('POST', '/window', { handle: browser.home });
      browser.current = browser.home;
    },
  });

  // The window's size is the page's plus the browser's toolbar, which the page measures in one
  // reading (outer less inner). The window manager carries a size out in its own time: the page
  // is asked until it is the size wanted, and the window set again when it has taken the size
  // asked for and the page is not yet right, or when that size never came.
  const measure = () => run('() => [innerWidth, innerHeight, outerWidth, outerHeight, devicePixelRatio]', []);
  let asked = { width, height };
  let askedAt = Date.now();
  await send('POST', '/window/rect', { x: 0, y: 0, ...asked });
  for (const end = Date.now() + kSizeDeadlineMs; ;) {
    const [innerWidth, innerHeight, outerWidth, outerHeight, scale] = await measure();
    if (innerWidth === width && innerHeight === height && scale === 1) {
      break;
    }
    if (Date.now() > end) {
      throw new Error(`WebKit's page is ${innerWidth} x ${innerHeight} at scale ${scale}, not ${width} x ${height} ` +
        `at 1, ${kSizeDeadlineMs} ms after the window was sized`);
    }
    const fits = { width: width + outerWidth - innerWidth, height: height + outerHeight - innerHeight };
    const taken = outerWidth === asked.width && outerHeight === asked.height;
    if ((taken && (fits.width !== asked.width || fits.height !== asked.height)) || Date.now() - askedAt > kResizeAgainMs) {
      asked = fits;
      askedAt = Date.now();
      await send('POST', '/window/rect', { x: 0, y: 0, ...asked });
    }
    await pause(50);
  }
  return tab;
}
