// A real WebSocket client for the server tests: node ws_client.mjs URL SCENARIO
// Prints one line per event the test checks, then exits 0; exits 1 on an error or after 10 s.
import WebSocket from 'ws';

const [url, scenario] = process.argv.slice(2);
const socket = new WebSocket(url);
const replies = [];
let waiting;
const next = () => new Promise((resolve) => {
  if (replies.length) resolve(replies.shift());
  else waiting = resolve;
});
socket.on('message', (data, isBinary) => {
  const reply = { data, isBinary };
  if (waiting) { const w = waiting; waiting = undefined; w(reply); } else replies.push(reply);
});
socket.on('error', (error) => { console.log(`error:${error.message}`); process.exit(1); });
setTimeout(() => { console.log('timeout'); process.exit(1); }, 10000).unref();

const scenarios = {
  async fragments() {
    socket.send('Hel', { fin: false });
    socket.send('lo', { fin: true });
    const reply = await next();
    console.log(`echo:${reply.data.toString()}`);
  },
  async binary() {
    socket.send(Buffer.from([0, 1, 2, 255]));
    const bytes = await next();
    console.log(`echo-bytes:${[...bytes.data].join(',')}`);
    const pong = new Promise((resolve) => socket.once('pong', resolve));
    socket.ping('abc');
    console.log(`pong:${(await pong).toString()}`);
    socket.send(Buffer.alloc(100000, 9));
    const large = await next();
    console.log(`echo-length:${large.data.length}`);
  },
};

socket.on('open', async () => {
  await scenarios[scenario]();
  socket.on('close', (code) => { console.log(`closed:${code}`); process.exit(0); });
  socket.close(1000);
});
