// Shared by the tests and the benchmark of a lesson with a class: plotnik-klasa started on
// 127.0.0.1 (its nats-server and nginx on loopback ports) and stopped, pupils' pages opened under
// a host name the browser maps to 127.0.0.1 (as a phone on the classroom's network opens the
// school's server: no secure context), the message server's client in node, and a QR code read
// back with zbarimg.
import { execFileSync, spawn } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { wsconnect } from '@nats-io/nats-core';
import { browserName, kDeadlineMs, openTab, site, waitForMenu, waitUntil } from './harness.mjs';

export const classCommand = process.env.PLOTNIK_CLASS_SERVER ?? 'build/plotnik-klasa';
export const kPupilHost = 'klasa.test';
// The browser of the second pupil: the other of the two the class runs in.
export const otherBrowser = browserName === 'firefox' ? 'chromium' : 'firefox';

const pause = (ms) => new Promise((done) => setTimeout(done, ms));

// Waits until fn() answers something true (fn may be async); that answer. Fails after kDeadlineMs,
// saying what it waited for.
export async function eventually(what, fn) {
  const end = Date.now() + kDeadlineMs;
  for (;;) {
    const value = await fn();
    if (value) {
      return value;
    }
    if (Date.now() > end) {
      throw new Error(`waited ${kDeadlineMs} ms for ${what}`);
    }
    await pause(20);
  }
}

// A file of a process's /proc entry; '' when the process is gone, even while it is read.
const procFile = (pid, file) => {
  try {
    return readFileSync(`/proc/${pid}/${file}`, 'utf8');
  } catch {
    return '';
  }
};

const alive = (pid) => !['', 'Z'].includes(procFile(pid, 'stat').split(') ')[1]?.[0] ?? '');

// plotnik-klasa --host 127.0.0.1 with the built page: its printed addresses, its servers and a way
// to stop it as Ctrl+C does. The servers' processes (nats-server, nginx) are its children.
export async function startClass(extra = []) {
  const child = spawn(resolve(classCommand), ['--host', '127.0.0.1', '--site', site, ...extra],
    { stdio: ['ignore', 'pipe', 'pipe'] });
  const server = { child, output: '', exited: new Promise((done) => child.once('exit', (code) => done(code))) };
  child.stdout.setEncoding('utf8');
  child.stderr.setEncoding('utf8');
  child.stdout.on('data', (text) => { server.output += text; });
  child.stderr.on('data', (text) => { server.output += text; });
  await eventually('plotnik-klasa to print the teacher\'s address', () => {
    if (child.exitCode !== null) {
      throw new Error(`plotnik-klasa ended (${child.exitCode}): ${server.output}`);
    }
    return /^Nauczyciel: \S+$/m.test(server.output);
  });
  const line = (start) => server.output.match(new RegExp(`^${start}: (\\S+)$`, 'm'))[1];
  server.pupils = line('Uczniowie');
  server.teacher = line('Nauczyciel');
  server.origin = new URL(server.pupils).origin;
  server.pupilOrigin = server.origin.replace('127.0.0.1', kPupilHost);
  server.key = new URL(server.teacher).hash.replace('#nauczyciel=', '');
  server.logs = server.output.match(/Dzienniki serwerów: (\S+)/)[1];
  server.websocket = server.origin.replace('http:', 'ws:') + '/klasa';
  // Each message server node's monitoring pages (…/varz, …/connz), in the order of its number.
  server.monitors = server.output.match(/^Stan [^:]+: (.+)$/m)[1].split(' ').map((url) => url.replace(/varz$/, ''));
  // Its servers now: their process ids by the command they run. A server that ends while it is
  // read (its /proc entry gone as it is reaped) is left out.
  server.processes = () => {
    const found = {};
    for (const pid of procFile(child.pid, `task/${child.pid}/children`).trim().split(/\s+/).filter(Boolean)) {
      const comm = procFile(pid, 'comm').trim();
      if (comm !== '') {
        (found[comm] ??= []).push(Number(pid));
      }
    }
    return found;
  };
  // The process of message server node i (from 0), by the configuration it runs.
  server.node = (i) => (server.processes()['nats-server'] ?? []).find((pid) =>
    procFile(pid, 'cmdline').includes(`/nats-${i + 1}.conf`));
  // plotnik-klasa itself held (a supervisor too busy to start a node again) and let go.
  server.hold = () => child.kill('SIGSTOP');
  server.release = () => child.kill('SIGCONT');
  // Ctrl+C: every server stops and nothing is left; the status and what it printed.
  server.stop = async () => {
    const running = child.exitCode === null ? Object.values(server.processes()).flat() : [];
    server.release();
    child.kill('SIGINT');
    let timer;
    const code = await Promise.race([server.exited,
      new Promise((done) => { timer = setTimeout(done, kDeadlineMs, 'still running'); })]);
    clearTimeout(timer);
    const left = running.filter(alive);
    return { code, left, folderLeft: existsSync(server.logs), output: server.output };
  };
  return server;
}

// What a node's monitoring page says now (varz: its name, connections, memory, routes; connz?auth=1:
// each client's user), or null when the node is gone.
export async function nodeSays(monitor, page = 'varz') {
  try {
    return await (await fetch(monitor + page)).json();
  } catch {
    return null;
  }
}

// The users connected to each node now (from its connz), null for a node that is gone.
export const usersOnNodes = (server) => Promise.all(server.monitors.map(async (monitor) => {
  const connz = await nodeSays(monitor, 'connz?auth=1&limit=1024');
  return connz === null ? null : connz.connections.map((c) => c.authorized_user);
}));

// A client of the class server in node, as a page connects (through the web server's /klasa):
// credentials for a teacher, none for a pupil. Its problems (permission refusals) are kept.
export async function classClient(server, credentials = {}) {
  const client = await wsconnect({ servers: server.websocket, reconnect: false, ...credentials });
  client.refusals = [];
  (async () => {
    for await (const status of client.status()) {
      if (status.type === 'error') {
        client.refusals.push(status.error?.message ?? String(status.error));
      }
    }
  })().catch(() => {});
  return client;
}

// The subject of a lesson's states, hellos or answers: its code's teacher and lesson parts.
export const classSubject = (code, what) => `plotnik.${code.slice(0, 2)}.${code.slice(2)}.${what}`;

export const teacherCredentials = (server) => ({ user: server.key.slice(0, 2), pass: server.key.slice(3) });

// A teacher's tab: the teacher's address opened, the class started, the join address read back
// from the QR code it shows; the tab, the code and that address.
export async function startTeaching(browser, server, picture = '#answer=4') {
  const tab = await openTab(browser, { origin: server.origin });
  await tab.goto(server.teacher);
  await waitForMenu(tab);
  await tab.waitForSelector('#class-start:not([hidden])');
  await tab.evaluate((hash) => { location.hash = hash; }, picture);
  await tab.click('#class-start');
  await tab.waitForSelector('#qr-dialog[open]');
  const join = await decodeQr(tab);
  const code = await tab.$eval('#qr-code', (p) => p.textContent.replace('Kod lekcji: ', ''));
  return { tab, code, join };
}

// A pupil's tab at the join address, under the pupils' host name; waits until it follows.
export async function joinAsPupil(browser, server, join) {
  const tab = await openTab(browser, { origin: server.pupilOrigin });
  await tab.goto(join.replace(server.origin, server.pupilOrigin));
  await waitUntil(tab, 'the pupil following the teacher',
    () => document.getElementById('follow-teacher')?.getAttribute('aria-pressed') === 'true' &&
      !document.getElementById('class-pupil').hidden);
  return tab;
}

// The text of the QR code the page shows (#qr), read by zbarimg from what the page draws: a
// screenshot of it where the browser takes one, else the canvas itself scaled up.
export async function decodeQr(tab) {
  const dir = mkdtempSync(join(tmpdir(), 'plotnik-qr-'));
  const file = join(dir, 'qr.png');
  try {
    if (browserName === 'webkit') {
      const url = await tab.$eval('#qr', (canvas) => canvas.toDataURL('image/png'));
      writeFileSync(join(dir, 'small.png'), Buffer.from(url.split(',')[1], 'base64'));
      execFileSync('/usr/bin/convert', [join(dir, 'small.png'), '-scale', '800%', file]);
    } else {
      await (await tab.$('#qr')).screenshot({ path: file });
    }
    return execFileSync('zbarimg', ['--quiet', '--raw', '-Sdisable', '-Sqrcode.enable', file], { encoding: 'utf8' }).trim();
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
}

// What the class bar says now.
export const classStatus = (tab) => tab.$eval('#class-status', (s) => s.textContent);

// A frame's RGB bytes as the teacher's panel shows an answer: reduced 4 times each way, each small
// pixel the rounded mean of its 4 x 4 square, RGBA.
export function reducedFrame(rgb, width = 1280, height = 720, scale = 4) {
  const w = width / scale;
  const h = height / scale;
  const out = new Uint8Array(w * h * 4);
  for (let y = 0; y < h; ++y) {
    for (let x = 0; x < w; ++x) {
      const sum = [0, 0, 0];
      for (let dy = 0; dy < scale; ++dy) {
        for (let dx = 0; dx < scale; ++dx) {
          const at = ((y * scale + dy) * width + x * scale + dx) * 3;
          sum[0] += rgb[at];
          sum[1] += rgb[at + 1];
          sum[2] += rgb[at + 2];
        }
      }
      const to = (y * w + x) * 4;
      sum.forEach((s, c) => { out[to + c] = Math.floor((s + (scale * scale) / 2) / (scale * scale)); });
      out[to + 3] = 255;
    }
  }
  return out;
}

// The small picture of the answer with this link in the teacher's panel, RGBA; null before it is
// drawn.
export async function answerPicture(tab, link) {
  const bytes = await tab.evaluate((wanted) => {
    const button = [...document.querySelectorAll('#class-answers [data-link]')].find((b) => b.dataset.link === wanted);
    const canvas = button?.querySelector('canvas');
    return canvas ? [...canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data] : null;
  }, link);
  return bytes === null ? null : Uint8Array.from(bytes);
}

// Every text the class bar showed from now on, kept in the page (window.classSaid).
export const recordClassStatus = (tab) => tab.evaluate(() => {
  const status = document.getElementById('class-status');
  window.classSaid = [status.textContent];
  new MutationObserver(() => window.classSaid.push(status.textContent))
    .observe(status, { childList: true, characterData: true, subtree: true });
});

// A client of the class server in node that connects as a page does (connection.js: through the
// web server's /klasa, reconnecting for ever, the cluster's news ignored), under a name the nodes'
// connz shows; onStatus hears 'lost' and 'back' as the page's does. credentials: a teacher's, or
// none for a pupil.
export async function pageLikeClient(server, { name, credentials = {}, onStatus = () => {} }) {
  const client = await wsconnect({ servers: server.websocket, name, reconnect: true, maxReconnectAttempts: -1,
    reconnectTimeWait: 500, reconnectJitter: 250, ignoreClusterUpdates: true, pingInterval: 10000, maxPingOut: 2,
    timeout: 10000, ...credentials });
  (async () => {
    for await (const status of client.status()) {
      if (status.type === 'disconnect') {
        onStatus('lost');
      } else if (status.type === 'reconnect') {
        onStatus('back');
      }
    }
  })().catch(() => {});
  return client;
}

// The time the page first drew each pointer from now on, kept in the page (window.drawnAt, by the
// link's "x,y").
export const noteDrawnFrames = (tab) => tab.evaluate(() => {
  window.drawnAt = {};
  const drawn = Module.frameDrawn;
  Module.frameDrawn = (link) => {
    window.drawnAt[/mouse=(-?\d+,-?\d+)/.exec(link)?.[1]] ??= Date.now();
    drawn(link);
  };
});
