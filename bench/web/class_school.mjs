// A whole school at once on loopback, through plotnik-klasa --nodes 3 (three clustered nats-server
// nodes behind nginx, which spreads the connections over them): 30 classes of 30. Class 1 has the
// teacher's page (headless Chromium), three pupils' pages (Chromium, Chromium, Firefox ESR, each
// its own browser) and 27 pupils in node; each of the other 29 has a teacher in node (the page's
// NATS client with the school's teacher key and a lesson of its own, answering each hello with its
// state) and 30 pupils in node, each connecting as the page does. While every teacher changes its
// state 20 times a second and every pupil answers every 2 to 4 s, it measures
//   - that no pupil hears another class's state and no teacher another class's pupil, and that
//     every teacher has the answers of all its pupils (a run that finds otherwise fails);
//   - a teacher's state reaching its pupils: in node, the arrival less the state's `sent` (which
//     holds this script's own delay in handling an event, measured beside it); on the pupils'
//     pages, the change drawn, as class.mjs measures it; median and 99th percentile;
//   - each node's connections, memory, CPU and messages a second; the CPU of each part of the run;
//     the changes each teacher sent a second (fewer than 20 when the machine is too busy) and the
//     teacher page's frames;
// then a node with pupils on it (not the teacher page's) killed while plotnik-klasa is held, so
// that it stays down: how long until every client that was on it is back with a fresh state of
// its class, and each pupil's page that was on it draws its teacher's present frame again; and,
// on a server of one node, the memory of an idle pupil's connection and the CPU time of a message
// delivered. All clients, pages and servers share this machine and its clock.
//   node --experimental-websocket bench/web/class_school.mjs [SECONDS] [short]
// "short": 3 classes of 10, one pupil's page, a smaller one-node phase (check.sh's quick run).
import { execFileSync } from 'node:child_process';
import { monitorEventLoopDelay } from 'node:perf_hooks';
import { readFileSync, readdirSync } from 'node:fs';
import { cpus } from 'node:os';
import { join } from 'node:path';
import { launchBrowser } from '../../tests/e2e/web/harness.mjs';
import { classSubject, eventually, joinAsPupil, kPupilHost, nodeSays, noteDrawnFrames, pageLikeClient, recordClassStatus,
  startClass, startTeaching, teacherCredentials } from '../../tests/e2e/web/class_helpers.mjs';

const seconds = Number(process.argv[2] ?? 30);
const short = process.argv[3] === 'short';
const kClasses = short ? 3 : 30;
const kClassSize = short ? 10 : 30;
const kPupilBrowsers = short ? ['chromium'] : ['chromium', 'chromium', 'firefox'];
const kIdlePupils = short ? 150 : 450;      // the one-node phase, under its 500 connections
const kCostRounds = short ? 40 : 200;       // states each of its teachers sends, 20 a second
const kStateEveryMs = 50;
const kBatch = 20;                          // connections opened at once
const kLessonChars = '23456789ABCDEFGHJKMNPQRSTUVWXYZ';
const kTicks = Number(execFileSync('getconf', ['CLK_TCK'], { encoding: 'utf8' }));

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));
const percentile = (values, p) => {
  const sorted = Float64Array.from(values).sort();
  return sorted[Math.min(sorted.length - 1, Math.floor((p / 100) * sorted.length))];
};
const spread = (values) => `median ${percentile(values, 50)} ms, 99th percentile ${percentile(values, 99)} ms`;
const mb = (bytes) => (bytes / 1e6).toFixed(1);
const inBatches = async (items, make) => {
  const made = [];
  for (let i = 0; i < items.length; i += kBatch) {
    made.push(...await Promise.all(items.slice(i, i + kBatch).map(make)));
  }
  return made;
};
const range = (n) => [...Array(n).keys()];
// A process's CPU time (user and system) in seconds, its children's processes, its resident memory.
const cpuOf = (pid) => {
  const fields = readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ')[1].split(' ');
  return (Number(fields[11]) + Number(fields[12])) / kTicks;
};
const childrenOf = (pid) => readFileSync(`/proc/${pid}/task/${pid}/children`, 'utf8').trim().split(/\s+/).filter(Boolean);
const rssOf = (pid) => 1024 * Number(/VmRSS:\s+(\d+)/.exec(readFileSync(`/proc/${pid}/status`, 'utf8'))[1]);
// nginx's processes (its master and workers) summed by fn: their memory, their CPU time.
const nginxSum = (server, fn) => {
  const master = server.processes().nginx[0];
  return [master, ...childrenOf(master)].reduce((sum, pid) => sum + fn(pid), 0);
};
// CPU seconds so far of the processes under this script, by part (each of plotnik-klasa's servers
// by program, a browser with all its processes, the script itself), and of the machine: busy in
// all, and idle.
function cpuByPart(browsers) {
  const all = new Map();
  for (const pid of readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    try {
      const text = readFileSync(`/proc/${pid}/stat`, 'utf8');
      const fields = text.slice(text.lastIndexOf(')') + 2).split(' ');
      all.set(Number(pid), { comm: text.slice(text.indexOf('(') + 1, text.lastIndexOf(')')), parent: Number(fields[1]),
        cpu: (Number(fields[11]) + Number(fields[12])) / kTicks });
    } catch {
      // ended meanwhile
    }
  }
  const named = new Map([[process.pid, 'this script'],
    ...browsers.map((b, i) => [b.process().pid, i === 0 ? 'the teacher\'s browser' : 'the pupils\' browsers'])]);
  const parts = {};
  for (const [pid, { cpu }] of all) {
    let part;
    for (let at = pid, below = 0; part === undefined && all.has(at); below = at, at = all.get(at).parent) {
      part = all.get(at).comm === 'plotnik-klasa' ? all.get(below)?.comm ?? 'plotnik-klasa' : named.get(at);
    }
    if (part !== undefined) {
      parts[part] = (parts[part] ?? 0) + cpu;
    }
  }
  const ticks = readFileSync('/proc/stat', 'utf8').split('\n')[0].trim().split(/\s+/).slice(1).map(Number);
  const idle = (ticks[3] + ticks[4]) / kTicks;
  return { parts, idle, busy: ticks.reduce((a, b) => a + b, 0) / kTicks - idle };
}

const pointer = (i) => `${100 + (i % 1000)},${200 + (Math.floor(i / 1000) % 400)}`;
const stateOf = (code, change) => JSON.stringify({ v: 1, code, link: `answer=4&mouse=${pointer(change)}&ticks=0`,
  held: false, speed: 1, sent: Date.now(), question: 1, ended: false });
const send = (client, subject, data) => {
  if (!client.isClosed()) {
    client.publish(subject, data);
  }
};
const read = (message) => {
  try {
    return JSON.parse(message.string());
  } catch {
    return null;
  }
};

const strays = { states: 0, answers: 0, hellos: 0 };
const measured = { on: false, delays: [] };
let killedAt = Infinity;

// A class's teacher in node: answers each hello with its state, keeps who answered, and sends its
// state again at once after a reconnection, as the page does.
async function nodeTeacher(server, lesson) {
  const teacher = { ...lesson, name: `szkola-nauczyciel-${lesson.tag}`, changes: 0, answered: new Set(), lost: null, back: null };
  teacher.state = () => stateOf(teacher.code, teacher.changes);
  teacher.client = await pageLikeClient(server, { name: teacher.name, credentials: teacherCredentials(server),
    onStatus: (news) => {
      teacher[news] = Date.now();
      if (news === 'back') {
        send(teacher.client, classSubject(teacher.code, 'state'), teacher.state());
      }
    } });
  teacher.client.subscribe(classSubject(teacher.code, 'hello'), { callback: (error, message) => {
    strays.hellos += teacher.ids.has(read(message)?.pupil) ? 0 : 1;
    message.respond(teacher.state());
  } });
  teacher.client.subscribe(classSubject(teacher.code, 'answer'), { callback: (error, message) => {
    const answer = read(message);
    if (answer?.code === teacher.code && teacher.ids.has(answer.pupil)) {
      teacher.answered.add(answer.pupil);
    } else {
      strays.answers += 1;
    }
  } });
  return teacher;
}

// A pupil in node: follows its class's state, says hello on joining and after a reconnection, and
// answers (answer()) as the page does: the answer is kept until the server has it, and sent again
// after a reconnection.
async function nodePupil(server, lesson, id, name) {
  const pupil = { code: lesson.code, name: id, lost: null, back: null, fresh: null,
    next: Infinity, unsent: null };
  const deliver = () => {
    const answer = pupil.unsent;
    send(pupil.client, classSubject(pupil.code, 'answer'), answer);
    pupil.client.flush().then(() => {
      if (pupil.unsent === answer) {
        pupil.unsent = null;
      }
    }, () => {});
  };
  pupil.answer = (link) => {
    pupil.unsent = JSON.stringify({ v: 1, code: pupil.code, pupil: id, name, link, question: 1 });
    deliver();
  };
  const heard = (message) => {
    const state = read(message);
    if (state?.code !== pupil.code) {
      strays.states += 1;
      return;
    }
    if (measured.on) {
      measured.delays.push(Date.now() - state.sent);
    }
    if (pupil.back !== null && state.sent >= killedAt) {
      pupil.fresh ??= Date.now();
    }
  };
  const hello = async () => {
    try {
      heard(await pupil.client.request(classSubject(pupil.code, 'hello'), JSON.stringify({ v: 1, pupil: id }), { timeout: 3000 }));
      return true;
    } catch {
      return false;
    }
  };
  pupil.client = await pageLikeClient(server, { name: id, onStatus: (news) => {
    pupil[news] = Date.now();
    if (news === 'back') {
      hello();
      if (pupil.unsent !== null) {
        deliver();
      }
    }
  } });
  pupil.client.subscribe(classSubject(pupil.code, 'state'), { callback: (error, message) => heard(message) });
  await eventually(`pupil ${id}'s hello answered by its teacher`, hello);
  return pupil;
}

// Each node's figures now, and the processes around them.
const snapshot = async (server, browsers) => ({
  at: performance.now(), cpu: cpuByPart(browsers),
  nodes: await Promise.all(server.monitors.map(async (monitor, i) => ({ varz: await nodeSays(monitor), cpu: cpuOf(server.node(i)) }))),
});

// The servers' logs: where each ends now, and the warnings and errors written after that, each
// kind once with its count (numbers as #).
const logEnds = (server) => Object.fromEntries(readdirSync(server.logs).filter((f) => f.endsWith('.log'))
  .map((f) => [f, readFileSync(join(server.logs, f)).length]));
function logTrouble(server, from) {
  const kinds = new Map();
  for (const [file, end] of Object.entries(logEnds(server))) {
    const text = readFileSync(join(server.logs, file)).subarray(from[file] ?? 0, end).toString();
    for (const line of text.split('\n').filter((l) => /\[(ERR|WRN|FTL)\]|\[(error|warn|crit|alert|emerg)\]/.test(l))) {
      const kind = `${file}: ${line.replace(/^.*?\[(ERR|WRN|FTL|error|warn|crit|alert|emerg)\]/, '[$1]').replace(/\d+/g, '#').slice(0, 110)}`;
      kinds.set(kind, (kinds.get(kind) ?? 0) + 1);
    }
  }
  return [...kinds].map(([kind, n]) => `${n} x ${kind}`);
}

async function school() {
  const server = await startClass(['--nodes', '3']);
  const browsers = [];
  const clients = [];
  const timers = [];
  try {
    await eventually('three nodes, each with routes to the other two', async () =>
      (await Promise.all(server.monitors.map((m) => nodeSays(m)))).every((v) => v?.routes === 2));
    for (const name of ['chromium', ...kPupilBrowsers]) {
      browsers.push(await launchBrowser(name, { hostAlias: kPupilHost }));
    }
    const { tab: teacherTab, code, join: joinAddress } = await startTeaching(browsers[0], server, '#answer=4');
    await teacherTab.keyboard.press('Escape');
    await teacherTab.click('#class-answers-toggle');
    const pages = [];
    for (const browser of browsers.slice(1)) {
      pages.push(await joinAsPupil(browser, server, joinAddress));
      await pages.at(-1).evaluate((signature) => { document.getElementById('class-signature').value = signature; },
        `Klasa 1, strona ${pages.length}`);
    }
    const pageNames = pages.map((tab, j) => `Klasa 1, strona ${j + 1}`);

    // The lessons: class 1 the page's, the others each with a code of its own under the same key.
    const teacherCode = server.key.slice(0, 2);
    const tails = kLessonChars.split('').flatMap((a) => kLessonChars.split('').map((b) => `S${a}${b}`));
    const lessons = range(kClasses).map((k) => {
      const tag = `k${String(k + 1).padStart(2, '0')}`;
      const first = k === 0 ? pages.length : 0;
      const names = range(kClassSize - first).map((n) => [`szkola-${tag}-u${String(first + n + 1).padStart(2, '0')}`,
        `Klasa ${k + 1}, uczeń ${first + n + 1}`]);
      return { tag, code: k === 0 ? code : teacherCode + tails.filter((t) => teacherCode + t !== code)[k], names,
        ids: new Set(names.map(([id]) => id)) };
    });
    const teachers = await inBatches(lessons.slice(1), (lesson) => nodeTeacher(server, lesson));
    clients.push(...teachers.map((t) => t.client));
    const pupils = await inBatches(lessons.flatMap((lesson) => lesson.names.map(([id, name]) => [lesson, id, name])),
      async ([lesson, id, name]) => {
        const pupil = await nodePupil(server, lesson, id, name);
        clients.push(pupil.client);
        return pupil;
      });
    const logsFrom = logEnds(server);
    const spreadNow = (await Promise.all(server.monitors.map((m) => nodeSays(m)))).map((v) => v.connections);
    console.log(`${kClasses} classes of ${kClassSize}: ${await browsers[0].version()} teacher's page, ` +
      `${kPupilBrowsers.join(', ')} pupils' pages, ${teachers.length} teachers and ${pupils.length} pupils in node; ` +
      `connections on the nodes ${spreadNow.join(', ')}`);

    // The load: every teacher's state 20 times a second, every pupil's answer every 2 to 4 s; the
    // teacher's page moves its pointer and its pupils' pages answer every 3 s. A teacher's timer
    // that comes late sends at once and keeps to its times after; one more than a second late
    // starts again from now (a machine too busy for 20 a second sends fewer).
    const loadStart = Date.now();
    teachers.forEach((teacher, i) => {
      let due = loadStart + (i * kStateEveryMs) / teachers.length;
      const tick = () => {
        teacher.changes += 1;
        send(teacher.client, classSubject(teacher.code, 'state'), teacher.state());
        due += kStateEveryMs;
        if (due < Date.now() - 1000) {
          due = Date.now();
        }
        timers[i] = setTimeout(tick, due - Date.now());
      };
      timers[i] = setTimeout(tick, due - Date.now());
    });
    pupils.forEach((pupil) => { pupil.next = Date.now() + 2000 * Math.random(); });
    timers.push(setInterval(() => {
      const now = Date.now();
      for (const pupil of pupils.filter((p) => now >= p.next)) {
        pupil.next = now + 2000 + 2000 * Math.random();
        pupil.answer(`answer=4&mouse=${pointer(Math.floor(now / 100))}&ticks=0`);
      }
    }, 100));
    await Promise.all(pages.map(noteDrawnFrames));
    await Promise.all(pages.map((tab) => tab.evaluate(() => {
      window.answering = setInterval(() => document.getElementById('send-answer').click(), 3000);
    })));
    const framesNow = () => teacherTab.evaluate(() => ({ at: performance.now(), frames: Module._plotnik_test_frames_drawn() }));
    await teacherTab.evaluate((every) => {
      window.changedAt = [];
      window.pacing = setInterval(() => {
        const i = window.changedAt.length;
        const [x, y] = [100 + (i % 1000), 200 + (Math.floor(i / 1000) % 400)];
        window.changedAt.push([`${x},${y}`, Date.now()]);
        Module._plotnik_point_at(x, y);
      }, every);
    }, kStateEveryMs);

    // The measured window.
    const changesOfTeachers = () => teachers.reduce((sum, t) => sum + t.changes, 0);
    const [before, framesBefore, teachersBefore] = [await snapshot(server, browsers), await framesNow(), changesOfTeachers()];
    const windowStart = Date.now();
    const lag = monitorEventLoopDelay({ resolution: 10 });  // each reading the 10 ms and the delay beyond
    lag.enable();
    measured.on = true;
    await sleep(seconds * 1000);
    measured.on = false;
    lag.disable();
    const windowEnd = Date.now();
    const [after, framesAfter, teachersAfter] = [await snapshot(server, browsers), await framesNow(), changesOfTeachers()];
    const span = (after.at - before.at) / 1000;

    // On the pupils' pages: each change of the window drawn, or passed by a later one drawn first.
    // (As text: a browser hands a large object over its protocol slowly, Firefox's very slowly.)
    const changes = async () => JSON.parse(await teacherTab.evaluate(() => JSON.stringify(window.changedAt)));
    const drawn = async (tab) => JSON.parse(await tab.evaluate(() => JSON.stringify(window.drawnAt)));
    const pageDelays = [];
    for (const [j, tab] of pages.entries()) {
      await eventually(`pupil's page ${j + 1} to draw a change made after the window`, async () => {
        const [made, shown] = [await changes(), await drawn(tab)];
        return made.some(([mouse, at]) => at > windowEnd && shown[mouse] !== undefined);
      });
      const [made, shown] = [await changes(), await drawn(tab)];
      let first = Infinity;
      for (const [mouse, at] of made.reverse()) {
        first = Math.min(first, shown[mouse] ?? Infinity);
        if (at >= windowStart && at <= windowEnd) {
          pageDelays.push(first - at);
        }
      }
    }
    console.log(`window of ${span.toFixed(1)} s: a teacher's state reaching a pupil in node ${spread(measured.delays)} ` +
      `(${measured.delays.length} states, ${(measured.delays.length / span).toFixed(0)} a second); ` +
      `drawn on the pupils' pages ${spread(pageDelays)} (${pageDelays.length} changes); this script's own delay in ` +
      `handling an event median ${(lag.percentile(50) / 1e6 - 10).toFixed(0)} ms, 99th percentile ${(lag.percentile(99) / 1e6 - 10).toFixed(0)} ms`);
    for (const [i, node] of after.nodes.entries()) {
      const was = before.nodes[i];
      console.log(`node ${i + 1}: ${node.varz.connections} connections, memory ${mb(node.varz.mem)} MB, ` +
        `CPU ${((100 * (node.cpu - was.cpu)) / span).toFixed(0)}% of a core, messages in ` +
        `${((node.varz.in_msgs - was.varz.in_msgs) / span).toFixed(0)} and out ${((node.varz.out_msgs - was.varz.out_msgs) / span).toFixed(0)} a second`);
    }
    const { cpu: was } = before;
    const { cpu: now } = after;
    const share = (seconds) => `${((100 * seconds) / span).toFixed(0)}%`;
    const ours = Object.entries(now.parts).map(([part, cpu]) => [part, cpu - (was.parts[part] ?? 0)]).sort((a, b) => b[1] - a[1]);
    console.log(`CPU over the window, in % of one core (${cpus().length * 100}% in all): ${ours.map(([part, cpu]) => `${part} ${share(cpu)}`).join(', ')}, ` +
      `the rest of the machine ${share(Math.max(0, now.busy - was.busy - ours.reduce((sum, [, cpu]) => sum + cpu, 0)))}, ` +
      `idle ${share(now.idle - was.idle)}`);
    const pageChanges = (await changes()).filter(([, at]) => at >= windowStart && at <= windowEnd).length;
    console.log(`changes a second (20 asked): ${((teachersAfter - teachersBefore) / span / teachers.length).toFixed(1)} by each ` +
      `teacher in node, ${(pageChanges / span).toFixed(1)} on the teacher's page, which drew ` +
      `${((1000 * (framesAfter.frames - framesBefore.frames)) / (framesAfter.at - framesBefore.at)).toFixed(1)} frames a second`);

    // A node with pupils on it, not the teacher page's, killed; the others take its clients.
    const connz = await Promise.all(server.monitors.map((m) => nodeSays(m, 'connz?auth=1&limit=1024')));
    const on = connz.map((c) => c.connections.map((c) => ({ name: c.name, user: c.authorized_user })));
    const teacherNode = on.findIndex((list) => list.some((c) => c.name === 'plotnik' && c.user === teacherCode));
    const pagesOn = (i) => on[i].filter((c) => c.name === 'plotnik' && c.user === 'pupil').length;
    const victim = range(3).filter((i) => i !== teacherNode)
      .sort((a, b) => pagesOn(b) - pagesOn(a) || on[b].length - on[a].length)[0];
    const names = new Set(on[victim].map((c) => c.name));
    const movers = [...teachers, ...pupils].filter((c) => names.has(c.name));
    const isTeacher = new Set(teachers);
    const readyAt = (c) => (isTeacher.has(c) ? c.back : c.fresh);
    for (const c of [...teachers, ...pupils]) {
      Object.assign(c, { lost: null, back: null, fresh: null });
    }
    await Promise.all(pages.map(recordClassStatus));
    server.hold();
    const pid = server.node(victim);
    killedAt = Date.now();
    process.kill(pid, 'SIGKILL');
    await eventually(`every client of node ${victim + 1} back with a fresh state`, () =>
      movers.every((c) => readyAt(c) !== null));
    const pageBack = await eventually(`the ${pagesOn(victim)} pupils' pages on node ${victim + 1} back at their teacher's frame`, async () => {
      const made = (await changes()).filter(([, at]) => at >= killedAt);
      const back = [];
      for (const tab of pages) {
        const [said, shown] = JSON.parse(await tab.evaluate(() => JSON.stringify([window.classSaid, window.drawnAt])));
        if (said.some((s) => s.startsWith('Łączenie'))) {
          const first = Math.min(...made.map(([mouse]) => shown[mouse] ?? Infinity));
          back.push(said.some((s) => s.startsWith('Znów połączono')) && first - killedAt);
        }
      }
      return back.length === pagesOn(victim) && back.every((t) => t > 0 && t < Infinity) && back;
    });
    const times = movers.map((c) => readyAt(c) - killedAt);
    const others = [...teachers, ...pupils].filter((c) => c.lost !== null && !names.has(c.name)).length;
    console.log(`failover: node ${victim + 1} killed with ${on[victim].length} clients (${movers.filter((c) => isTeacher.has(c)).length} ` +
      `teachers and ${movers.filter((c) => !isTeacher.has(c)).length} pupils in node, and pupils' pages ${pagesOn(victim)}): ` +
      `each back with a fresh state of its class after median ${percentile(times, 50)} ms, at most ${Math.max(...times)} ms` +
      `${pageBack.length ? `; pupils' pages at their teacher's frame again after ${pageBack.join(', ')} ms` : ''}` +
      `; clients on the other nodes that lost their connection: ${others}`);
    server.release();
    await eventually(`node ${victim + 1} started again`, () => new RegExp(`Uwaga: serwer wiadomości ${victim + 1} `).test(server.output));
    await eventually(`node ${victim + 1} back in the cluster`, async () => (await nodeSays(server.monitors[victim]))?.routes === 2);

    // The load stopped; every teacher has every one of its pupils' answers and no other.
    timers.forEach(clearTimeout);
    await teacherTab.evaluate(() => clearInterval(window.pacing));
    await Promise.all(pages.map((tab) => tab.evaluate(() => clearInterval(window.answering))));
    await eventually('every teacher in node to have the answers of all its pupils', () =>
      teachers.every((t) => t.answered.size === t.ids.size));
    const wanted = [...lessons[0].names.map(([, name]) => name), ...pageNames];
    const shownNames = await eventually('the teacher\'s page to show the answers of all its pupils', async () => {
      const listed = await teacherTab.$$eval('#class-answer-list .class-answer-name', (list) => list.map((n) => n.textContent));
      return wanted.every((name) => listed.includes(name)) && listed;
    });
    strays.answers += shownNames.filter((name) => !wanted.includes(name)).length;
    const joined = Number(/Dołączyło: (\d+)/.exec(await teacherTab.$eval('#class-counts', (c) => c.textContent))[1]);
    strays.hellos += Math.max(0, joined - kClassSize);
    console.log(`isolation: states of another class heard by pupils ${strays.states}, answers from another ` +
      `class's pupils ${strays.answers}, hellos ${strays.hellos}; every one of the ${kClasses} teachers has the ` +
      `answers of all its ${kClassSize} pupils`);
    for (const tab of [teacherTab, ...pages]) {
      if (tab.problems.length > 0) {
        console.log(`problems: ${tab.problems.join('; ')}`);
      }
    }
    console.log(`the servers' warnings and errors since the classes joined: ${logTrouble(server, logsFrom).join('; ') || 'none'}`);
    if (strays.states + strays.answers + strays.hellos > 0) {
      throw new Error('a class heard another class\'s messages');
    }
  } finally {
    timers.forEach(clearTimeout);
    await Promise.all(clients.map((c) => c.close().catch(() => {})));
    await Promise.all(browsers.map((b) => b.close()));
    await server.stop();
  }
}

// One server alone: the memory of idle pupils' connections, and the CPU time of a state delivered
// to a class of 30 (each of its teachers sending kCostRounds states, 20 a second).
async function oneServer() {
  const server = await startClass();
  const clients = [];
  try {
    const monitor = server.monitors[0];
    const pid = server.processes()['nats-server'][0];
    const rest = await eventually('the node\'s monitoring page', () => nodeSays(monitor));
    const nginxRest = nginxSum(server, rssOf);
    const codes = range(kIdlePupils / 30).map((k) => `${server.key.slice(0, 2)}T${kLessonChars[k]}${kLessonChars[k]}`);
    let received = 0;
    clients.push(...await inBatches(range(kIdlePupils), async (i) => {
      const client = await pageLikeClient(server, { name: `szkola-spokojny-${i}` });
      client.subscribe(classSubject(codes[i % codes.length], 'state'), { callback: () => { received += 1; } });
      await client.flush();
      return client;
    }));
    const idle = await eventually(`the node to count ${kIdlePupils} connections`, async () => {
      const varz = await nodeSays(monitor);
      return varz?.connections === kIdlePupils && varz;
    });
    const nginxIdle = nginxSum(server, rssOf);
    const teachers = await inBatches(codes, (c) => pageLikeClient(server, { name: `szkola-nauczyciel-${c}`, credentials: teacherCredentials(server) }));
    clients.push(...teachers);
    const [v0, cpu0, nginx0] = [await nodeSays(monitor), cpuOf(pid), nginxSum(server, cpuOf)];
    for (let round = 0; round < kCostRounds; ++round) {
      teachers.forEach((t, k) => send(t, classSubject(codes[k], 'state'), stateOf(codes[k], round)));
      await sleep(kStateEveryMs);
    }
    await eventually(`${kCostRounds * kIdlePupils} states delivered`, () => received === kCostRounds * kIdlePupils);
    const [v1, cpu1, nginx1] = [await nodeSays(monitor), cpuOf(pid), nginxSum(server, cpuOf)];
    const delivered = v1.out_msgs - v0.out_msgs;
    console.log(`one node: memory ${mb(rest.mem)} MB at rest, ${mb(idle.mem)} MB with ${kIdlePupils} idle pupils: ` +
      `${((idle.mem - rest.mem) / kIdlePupils / 1024).toFixed(1)} KiB a connection (nginx ` +
      `${((nginxIdle - nginxRest) / kIdlePupils / 1024).toFixed(1)} KiB); ${delivered} states delivered to ${kIdlePupils} ` +
      `pupils in ${codes.length} classes: ${((1e6 * (cpu1 - cpu0)) / delivered).toFixed(1)} µs of nats-server's CPU ` +
      `a message (nginx ${((1e6 * (nginx1 - nginx0)) / delivered).toFixed(1)} µs)`);
  } finally {
    await Promise.all(clients.map((c) => c.close().catch(() => {})));
    await server.stop();
  }
}

const started = performance.now();
await school();
await oneServer();
console.log(`the whole run took ${((performance.now() - started) / 1000).toFixed(0)} s`);
