// Reads the board page of a running application through the web engine's remote debugging
// (the application started with QTWEBENGINE_REMOTE_DEBUGGING=127.0.0.1:PORT): evaluates an
// expression in the board's page and prints its value as JSON.
//   usage: node board_probe.mjs PORT EXPRESSION
import WebSocket from 'ws';

const [port, expression] = process.argv.slice(2);
if (!port || !expression) {
  console.error('usage: node board_probe.mjs PORT EXPRESSION');
  process.exit(2);
}

const targets = await (await fetch(`http://127.0.0.1:${port}/json/list`)).json();
const board = targets.find((t) => t.type === 'page' && t.url.includes('/dravinboard/index.html'));
if (!board) {
  console.error('no board page among: ' + targets.map((t) => t.url).join(', '));
  process.exit(1);
}

const socket = new WebSocket(board.webSocketDebuggerUrl);
const reply = await new Promise((resolve, reject) => {
  socket.on('error', reject);
  socket.on('open', () =>
    socket.send(JSON.stringify({
      id: 1,
      method: 'Runtime.evaluate',
      params: { expression, returnByValue: true, awaitPromise: true },
    })));
  socket.on('message', (data) => {
    const message = JSON.parse(data);
    if (message.id === 1) resolve(message);
  });
});
socket.close();
const { result, exceptionDetails } = reply.result ?? {};
if (exceptionDetails) {
  console.error(exceptionDetails.exception?.description ?? exceptionDetails.text);
  process.exit(1);
}
console.log(JSON.stringify(result?.value ?? null));
