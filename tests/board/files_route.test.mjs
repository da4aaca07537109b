// The address of a dropped picture: from the file URL of a drag to the "/files/" route, and
// back through the real server to the same bytes.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { chmodSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { loadModel } from './load_model.mjs';

const B = loadModel();

// What the server does with the route's one segment, written the way it does it: decode the
// percent escapes, put the served folder "/" and a "/" before it, then replace "@@" by "/" from
// left to right. The file system reads the leading run of slashes as one.
function serverPath(route) {
  assert.ok(route.startsWith('/files/'));
  const segment = route.slice('/files/'.length);
  assert.ok(!segment.includes('/'), `one segment only: ${route}`);
  let text = '/' + '/' + decodeURIComponent(segment);
  for (let at = text.indexOf('@@'); at >= 0; at = text.indexOf('@@', at + 1)) {
    text = text.slice(0, at) + '/' + text.slice(at + 2);
  }
  return text.replace(/^\/+/, '/');
}

test('file URLs of a drag name local paths', () => {
  assert.equal(B.filePathFromUrl('file:///home/u/a%20b.png'), '/home/u/a b.png');
  assert.equal(B.filePathFromUrl('  file://localhost/tmp/x.png\r'), '/tmp/x.png');
  // A browser hands the space over unescaped too.
  assert.equal(B.filePathFromUrl('file:///home/u/a b.png'), '/home/u/a b.png');
  assert.equal(B.filePathFromUrl('file:///home/u/%C3%BCber%20%23%3F.jpg'), '/home/u/über #?.jpg');
  // Another host's file, other schemes, broken escapes and NUL cannot be served here.
  assert.equal(B.filePathFromUrl('file://server/share/a.png'), null);
  assert.equal(B.filePathFromUrl('http://localhost:9080/files/a.png'), null);
  assert.equal(B.filePathFromUrl('file:///tmp/%E0%A4%A.png'), null);
  assert.equal(B.filePathFromUrl('file:///tmp/a%00.png'), null);
  assert.equal(B.filePathFromUrl('not a url'), null);
});

test('routes decode on the server to the very path', () => {
  const paths = [
    '/home/u/a b.png',
    '/home/u/über #1 ?x=y & 100%+.jpeg',
    '/tmp/@start/mid@dle/x.png',
    "/tmp/quote's/\"double\"/tab\t.png",
    '/tmp/日本語/写真.webp',
  ];
  for (const path of paths) {
    const route = B.filesRoute(path);
    assert.ok(route, path);
    assert.equal(serverPath(route), path);
    assert.match(route.slice(7), /^(?:[A-Za-z0-9\-_.!~*'()@]|%[0-9A-F]{2})*$/, route);
  }
  assert.equal(B.filesRoute('/home/u/a b.png'), '/files/@@home@@u@@a%20b.png');
  // The server would read these back as other files, so they are refused.
  assert.equal(B.filesRoute('/tmp/a@/b.png'), null);
  assert.equal(B.filesRoute('/tmp/a@@b.png'), null);
  assert.equal(B.filesRoute('relative/a.png'), null);
});

test('a drop keeps the pictures of its uri-list', () => {
  const list = '# dragged from the library\r\nfile:///a/one.PNG\r\n\r\nfile:///a/two.pdf\nfile:///a/.hidden/x\n';
  const uris = B.parseUriList(list);
  assert.deepEqual(uris, ['file:///a/one.PNG', 'file:///a/two.pdf', 'file:///a/.hidden/x']);
  const pictures = uris.map(B.filePathFromUrl).filter(B.isPicturePath);
  assert.deepEqual(pictures, ['/a/one.PNG']);
  assert.equal(B.isPicturePath('/a.b/noextension'), false);
  assert.deepEqual(B.parseUriList(undefined), []);
});

test('the application tells its page the server and its key in the fragment', () => {
  const key = 'c0ffee'.repeat(6);
  const board = { protocol: 'file:', origin: 'null', hash: `#port=41234&key=${key}` };
  assert.deepEqual(B.serverAccess(board), { origin: 'http://localhost:41234', key });
  assert.equal(B.keyedAddress(B.serverAccess(board), '/files/@@a.png'),
    `http://localhost:41234/files/@@a.png?key=${key}`);
  // Served by the server itself, the page asks its own origin, whatever port it was told.
  const served = { protocol: 'http:', origin: 'http://127.0.0.1:5000', hash: `#port=1&key=${key}` };
  assert.equal(B.serverAccess(served).origin, 'http://127.0.0.1:5000');
  // No fragment, or a port that is none: the usual port and no key.
  for (const location of [{ protocol: 'file:', hash: '' }, { protocol: 'file:', hash: '#port=99999' },
    { protocol: 'file:', hash: '#port=1e3x' }, undefined]) {
    assert.deepEqual(B.serverAccess(location), { origin: 'http://localhost:9080', key: '' });
  }
  assert.equal(B.keyedAddress({ origin: 'http://localhost:9080', key: '' }, '/files/@@a.png'),
    'http://localhost:9080/files/@@a.png');
});

// The real server, when the build hands it over: the route must fetch the file's bytes.
const httpd = process.env.DRAVIN_HTTPD;
const key = 'a1b2c3d4e5f6a7b8'.repeat(3);
let server;
let origin;
let folder;
let keys;

before(async () => {
  if (!httpd) return;
  folder = mkdtempSync(join(tmpdir(), 'board route '));
  // Not in the lesson folder, whose files anyone may read.
  keys = mkdtempSync(join(tmpdir(), 'board keys '));
  writeFileSync(join(keys, 'key'), key + '\n', { mode: 0o600 });
  server = spawn(httpd, ['--port', '0', '--lessons', folder, '--listen', '127.0.0.1',
    '--key-file', join(keys, 'key')]);
  origin = await new Promise((resolve, reject) => {
    let text = '';
    server.stdout.on('data', (chunk) => {
      text += chunk;
      const match = /port = (\d+)/.exec(text);
      if (match) resolve(`http://127.0.0.1:${match[1]}`);
    });
    server.on('exit', (code) => reject(new Error(`server exited with ${code}: ${text}`)));
  });
});

after(() => {
  if (server) server.kill('SIGTERM');
  if (folder) rmSync(folder, { recursive: true, force: true });
  if (keys) rmSync(keys, { recursive: true, force: true });
});

test('the server hands out the dropped file through its route', { skip: !httpd && 'DRAVIN_HTTPD not set' }, async () => {
  const names = ['a b.png', 'über #1 ?.jpg', '100%+&.png', "it's.gif"];
  for (const [index, name] of names.entries()) {
    const path = join(folder, name);
    const bytes = Buffer.from(`picture ${index} ${name}`);
    writeFileSync(path, bytes);
    const uri = 'file://' + path.split('/').map(encodeURIComponent).join('/');
    const route = B.filesRoute(B.filePathFromUrl(uri));
    const response = await fetch(B.keyedAddress({ origin, key }, route));
    assert.equal(response.status, 200, `${name}: ${route}`);
    assert.deepEqual(Buffer.from(await response.arrayBuffer()), bytes);
    const refused = await fetch(origin + route);
    assert.equal(refused.status, 403, `without the key: ${route}`);
    await refused.arrayBuffer();
  }
  const missing = await fetch(B.keyedAddress({ origin, key },
    B.filesRoute(join(folder, 'nothing here.png'))));
  assert.equal(missing.status, 404);
  await missing.arrayBuffer();
});

test('the server takes its key only from a file of its owner', { skip: !httpd && 'DRAVIN_HTTPD not set' }, async () => {
  const shared = join(keys, 'shared key');
  writeFileSync(shared, key);
  chmodSync(shared, 0o644);
  const short = join(keys, 'short key');
  writeFileSync(short, 'abc123', { mode: 0o600 });
  const served = join(folder, 'served key');
  writeFileSync(served, key, { mode: 0o600 });
  for (const [file, complaint] of [[shared, /readable by its owner only/], [short, /at least 32/],
    [served, /inside the lesson folder/]]) {
    const refused = spawn(httpd, ['--port', '0', '--lessons', folder, '--key-file', file]);
    let text = '';
    refused.stderr.on('data', (chunk) => { text += chunk; });
    const code = await new Promise((resolve) => refused.on('exit', resolve));
    assert.equal(code, 2, text);
    assert.match(text, complaint);
    assert.ok(!text.includes(key), 'the key is never printed');
  }
});
