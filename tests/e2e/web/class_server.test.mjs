// plotnik-klasa on 127.0.0.1, without a browser: it prints the pupils' and the teacher's
// addresses, serves the page with the class file and passes /klasa to the message server, whose
// permissions are the configuration's (a pupil reads states and sends answers; the teacher its own
// class's only), takes small messages only and logs none of them; Ctrl+C stops both servers and
// leaves nothing.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readdirSync, readFileSync } from 'node:fs';
import { createServer } from 'node:net';
import { join } from 'node:path';
import { test } from 'node:test';
import {
  classClient, classCommand, eventually, nodeSays, startClass, teacherCredentials, usersOnNodes,
} from './class_helpers.mjs';

// A loopback port nobody listens on now, as the system gives one.
const freePort = () => new Promise((done, failed) => {
  const probe = createServer();
  probe.once('error', failed);
  probe.listen(0, '127.0.0.1', () => {
    const { port } = probe.address();
    probe.close(() => done(port));
  });
});

test('a lesson from the laptop: addresses, page, permissions, small messages, no contents logged, and Ctrl+C', async () => {
  const port = await freePort();
  const server = await startClass(['--port', String(port)]);
  try {
    assert.match(server.output, new RegExp(`^Uczniowie: http://127\\.0\\.0\\.1:${port}/$`, 'm'), 'the port asked for');
    assert.match(server.output, new RegExp(`^Nauczyciel: http://127\\.0\\.0\\.1:${port}/#nauczyciel=[2-9A-HJKMNP-Z]{2}\\.[\\w-]{32}$`, 'm'));
    assert.deepEqual(Object.keys(server.processes()).sort(), ['nats-server', 'nginx']);
    const page = await fetch(server.pupils);
    assert.equal(page.status, 200);
    assert.match(await page.text(), /<title>Plotnik<\/title>/);
    assert.deepEqual(await (await fetch(server.origin + '/class-server.json')).json(), { server: 'klasa' });
    // The program as the browser compiles it while it streams: its own type, compressed.
    const program = await fetch(server.origin + '/plotnik.wasm', { headers: { 'Accept-Encoding': 'gzip' } });
    assert.deepEqual([program.status, program.headers.get('content-type'), program.headers.get('content-encoding')],
      [200, 'application/wasm', 'gzip']);

    const teacher = await classClient(server, teacherCredentials(server));
    const pupil = await classClient(server);
    const watcher = await classClient(server);
    assert.equal(pupil.info.max_payload, 1024, 'small messages only');
    const own = `plotnik.${server.key.slice(0, 2)}.ABC`;
    const another = `plotnik.${server.key.startsWith('ZZ') ? 'YY' : 'ZZ'}.ABC`;
    const secret = 'a-content-no-log-may-hold-7311';
    const states = [];
    watcher.subscribe(`${own}.state`, { callback: (error, message) => states.push(message.string()) });
    const answers = [];
    teacher.subscribe(`${own}.answer`, { callback: (error, message) => answers.push(message.string()) });
    await Promise.all([teacher.flush(), watcher.flush()]);

    // Each may do only what its account allows: the refusals come back to the client.
    pupil.publish(`${own}.state`, `forged ${secret}`);
    teacher.publish(`${another}.state`, 'another teacher\'s class');
    pupil.subscribe(`${own}.answer`);
    pupil.publish(`${own}.answer`, `answer ${secret}`);
    teacher.publish(`${own}.state`, `state ${secret}`);
    await Promise.all([pupil.flush(), teacher.flush()]);
    await eventually('the state and the answer delivered', () => states.length === 1 && answers.length === 1);
    assert.deepEqual([states, answers], [[`state ${secret}`], [`answer ${secret}`]]);
    const refused = (client, what) => eventually(what, () => client.refusals.some((r) => r.includes(what)));
    await refused(pupil, `Permissions Violation for Publish to "${own}.state"`);
    await refused(pupil, `Permissions Violation for Subscription to "${own}.answer"`);
    await refused(teacher, `Permissions Violation for Publish to "${another}.state"`);
    assert.throws(() => pupil.publish(`${own}.answer`, 'x'.repeat(1025)), /payload|exceeded/i);
    await assert.rejects(classClient(server, { user: server.key.slice(0, 2), pass: 'x'.repeat(32) }), /Authorization/);
    await Promise.all([teacher.close(), pupil.close(), watcher.close()]);

    for (const file of readdirSync(server.logs).filter((name) => name.endsWith('.log'))) {
      assert.equal(readFileSync(join(server.logs, file), 'utf8').includes(secret), false, `${file} holds a message`);
    }
    assert.equal(readFileSync(join(server.logs, 'nats-1.conf'), 'utf8').includes(server.key.slice(3)), false,
      'the configuration keeps the token\'s hash only');
  } finally {
    await stopAll(server, 'oba serwery');
  }
});

// Every server stopped by Ctrl+C, nothing left.
async function stopAll(server, servers) {
  const stopped = await server.stop();
  assert.deepEqual({ code: stopped.code, left: stopped.left, folderLeft: stopped.folderLeft },
    { code: 0, left: [], folderLeft: false }, stopped.output);
  assert.match(stopped.output, new RegExp(`Lekcja zakończona: ${servers} zatrzymane\\.\n$`));
}

test('a cluster of three: permissions on every node, states and answers across, connections spread, a lost node left out and started again', async () => {
  const server = await startClass(['--nodes', '3']);
  const clients = [];
  const client = async (address, credentials) => {
    clients.push(await classClient({ websocket: address }, credentials));
    return clients.at(-1);
  };
  try {
    assert.equal(server.monitors.length, 3);
    const nodes = await eventually('three nodes, each with routes to the other two', async () => {
      const all = await Promise.all(server.monitors.map((m) => nodeSays(m)));
      return all.every((v) => v?.routes === 2) && all;
    });
    assert.deepEqual(nodes.map((v) => v.server_name), ['plotnik-1', 'plotnik-2', 'plotnik-3']);

    // A teacher and a pupil on each node, straight to its WebSocket listener: teacher i's lesson
    // reaches the pupils on every node, and each pupil's answer to it reaches teacher i.
    const teacher = server.key.slice(0, 2);
    const lessonOf = (i) => `plotnik.${teacher}.L${i}A`;
    const teachers = [];
    const pupils = [];
    for (const v of nodes) {
      const address = `ws://127.0.0.1:${v.websocket.port}`;
      teachers.push(await client(address, teacherCredentials(server)));
      pupils.push(await client(address));
    }
    const got = { states: pupils.map(() => []), answers: teachers.map(() => []) };
    pupils.forEach((p, j) => p.subscribe(`plotnik.${teacher}.*.state`, { callback: (e, m) => got.states[j].push(m.string()) }));
    teachers.forEach((t, i) => t.subscribe(`${lessonOf(i)}.answer`, { callback: (e, m) => got.answers[i].push(m.string()) }));
    await Promise.all(clients.map((c) => c.flush()));
    await eventually('every node to know every subscription', async () =>
      (await Promise.all(server.monitors.map((m) => nodeSays(m, 'subsz')))).every((s) => s?.num_subscriptions >= 6));
    teachers.forEach((t, i) => t.publish(`${lessonOf(i)}.state`, `state ${i}`));
    pupils.forEach((p, j) => teachers.forEach((t, i) => p.publish(`${lessonOf(i)}.answer`, `answer ${j} to ${i}`)));
    // Each node refuses what its accounts may not do, as a server alone does.
    pupils.forEach((p) => p.publish(`${lessonOf(0)}.state`, 'forged'));
    teachers.forEach((t) => t.publish(`plotnik.${teacher === 'ZZ' ? 'YY' : 'ZZ'}.ABC.state`, 'another teacher\'s'));
    await Promise.all(clients.map((c) => c.flush()));
    await eventually('3 states at each pupil and 3 answers at each teacher', () =>
      [...got.states, ...got.answers].every((list) => list.length >= 3));
    const everyNode = ['0', '1', '2'];
    got.states.forEach((list) => assert.deepEqual(list.map((m) => m.at(-1)).sort(), everyNode, 'states from every node'));
    got.answers.forEach((list, i) => assert.deepEqual(list.sort(), everyNode.map((j) => `answer ${j} to ${i}`)));
    for (const c of clients) {
      await eventually('the node to refuse what the account may not do', () => c.refusals.some((r) => /Permissions Violation for Publish/.test(r)));
    }

    // The web server in front takes turns among the nodes.
    const counted = async () => (await usersOnNodes(server)).map((users) => users?.length ?? null);
    const through = async (n) => {
      const before = await counted();
      for (let i = 0; i < n; ++i) {
        await client(server.websocket);
      }
      const after = await counted();
      return after.map((count, i) => (count === null ? null : count - before[i]));
    };
    assert.deepEqual(await through(6), [2, 2, 2], 'six pages\' connections spread over three nodes');

    // A node gone (and its supervisor held, so that it stays gone): every connection goes to the
    // other two, none fails.
    server.hold();
    const lost = server.node(2);
    process.kill(lost, 'SIGKILL');
    await eventually('node 3 gone', async () => (await nodeSays(server.monitors[2])) === null);
    const spread = await through(6);
    assert.deepEqual([spread[2], spread[0] + spread[1]], [null, 6], 'all six on the nodes still there');
    server.release();
    await eventually('node 3 started again', () => /Uwaga: serwer wiadomości 3 \(nats-server\) zakończył działanie; uruchamiam go ponownie\./.test(server.output));
    await eventually('node 3 back in the cluster', async () => (await nodeSays(server.monitors[2]))?.routes === 2);
    assert.notEqual(server.node(2), lost);
    // Once its pause is over, the web server sends connections to it again.
    await eventually('a connection through the web server on node 3 again', async () => {
      const probe = await classClient(server);
      const node = probe.info?.server_name;
      await probe.close();
      return node === 'plotnik-3';
    });
    // The nodes took each other in at once, the restarted one too: no route was refused on the way.
    for (const log of readdirSync(server.logs).filter((name) => /^nats-\d\.log$/.test(name))) {
      assert.doesNotMatch(readFileSync(join(server.logs, log), 'utf8'), /Authorization Violation|authentication error/, log);
    }
  } finally {
    await Promise.all(clients.map((c) => c.close()));
    await stopAll(server, 'wszystkie serwery');
  }
});

test('plotnik-klasa says what is wrong with its command line, and makes a school\'s teacher account', () => {
  const run = (...args) => {
    try {
      return { status: 0, said: execFileSync(classCommand, args, { encoding: 'utf8', stdio: 'pipe' }) };
    } catch (failure) {
      return { status: failure.status, said: failure.stderr };
    }
  };
  const cases = [
    [['--port', '0'], 2, /port to liczba od 1 do 65535, a nie „0”/],
    [['--zoom'], 2, /nieznana opcja „--zoom”/],
    [['--nodes', '6'], 2, /liczba węzłów to liczba od 1 do 5, a nie „6”/],
    [['--host', '127.0.0.1', '--site', '/nonexistent'], 1, /nie ma strony Plotnika w \/nonexistent/],
    [['--account', 'K1'], 2, /kod nauczyciela to 2 znaki/],
    [['--version'], 0, /^plotnik-klasa \d+\.\d+\.\d+\n$/],
  ];
  for (const [args, status, saying] of cases) {
    const { status: got, said } = run(...args);
    assert.equal(got, status, args.join(' '));
    assert.match(said, saying, args.join(' '));
  }
  const account = run('--account', 'K7').said;
  assert.match(account, /^Klucz nauczyciela \(tylko dla niego\): K7\.[\w-]{32}$/m);
  assert.match(account, /\{ user: "K7", password: "\$2b\$10\$/);
});
