// The connection to the class server: the maintained NATS client (@nats-io/nats-core) over a
// WebSocket to the page's own origin (…/klasa, which the web server in front passes to
// nats-server), so the page's policy keeps connect-src 'self'. The client reconnects by itself,
// for ever, and resubscribes; the server's news of other servers in a cluster is ignored, as the
// page reaches only its own origin, whichever server behind it answers.
import { AuthorizationError, NoRespondersError, wsconnect } from '@nats-io/nats-core';

export { NoRespondersError };

const kOptions = {
  name: 'plotnik',
  reconnect: true,
  maxReconnectAttempts: -1,
  reconnectTimeWait: 500,
  reconnectJitter: 250,
  ignoreClusterUpdates: true,
  pingInterval: 10000,
  maxPingOut: 2,
  timeout: 10000,
};

// Connects (with a teacher's user and token, or as a pupil with none) and reports the connection's
// news to onStatus: 'lost', 'back', or 'closed'. Throws a Polish sentence when the first
// connection fails.
export async function connect(address, credentials, onStatus) {
  let connection;
  try {
    connection = await wsconnect({ servers: address, ...kOptions, ...credentials });
  } catch (failure) {
    if (failure instanceof AuthorizationError || /authori[sz]ation/i.test(String(failure?.message))) {
      throw new Error('Serwer lekcji nie przyjął klucza nauczyciela.');
    }
    throw new Error('Nie udało się połączyć z\u00a0serwerem lekcji.');
  }
  (async () => {
    for await (const status of connection.status()) {
      if (status.type === 'disconnect') {
        onStatus('lost');
      } else if (status.type === 'reconnect') {
        onStatus('back');
      }
    }
  })().catch(() => {});
  connection.closed().then(() => onStatus('closed'), () => onStatus('closed'));
  return connection;
}

// Closes the connection once what was published has reached the server; never throws.
export async function disconnect(connection) {
  try {
    await connection.drain();
  } catch {
    await connection.close().catch(() => {});
  }
}
