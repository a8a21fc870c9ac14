// Serves the built site as a static web host would: compressed, with ETags
// that let a browser keep what has not changed. For a player trying the game
// (tools/web.sh serve) and for the browser tests.
//
//   node tools/serve.mjs <site folder> [port]
//
// The port is the argument, else MORVIK_PORT, else 8080. It listens on this
// machine only, unless MORVIK_HOST says where (0.0.0.0: every network, so that
// a phone on the same network can open the game at the address printed).
import { createHash } from 'node:crypto';
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { networkInterfaces } from 'node:os';
import { extname, join, normalize } from 'node:path';
import { pathToFileURL } from 'node:url';
import { brotliCompressSync, gzipSync } from 'node:zlib';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript',
  '.wasm': 'application/wasm',
  '.woff2': 'font/woff2',
  '.webmanifest': 'application/manifest+json',
  '.png': 'image/png',
  '.webp': 'image/webp',
  '.txt': 'text/plain; charset=utf-8',
};
const encoders = { br: brotliCompressSync, gzip: gzipSync };
// Compressed bodies by ETag and encoding, each made once.
const packed = new Map();

async function answer(site, request, response) {
  let file;
  try {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://host').pathname));
    file = join(site, path, path.endsWith('/') ? 'index.html' : '');
  } catch {
    return response.writeHead(400).end();
  }
  let body;
  try {
    body = await readFile(file);
  } catch {
    return response.writeHead(404).end();
  }
  const etag = `"${createHash('sha1').update(body).digest('base64url')}"`;
  // The names carry no version: a browser asks again each time, and an
  // unchanged file costs a 304 without a body.
  const headers = { ETag: etag, 'Cache-Control': 'no-cache', Vary: 'Accept-Encoding' };
  if (request.headers['if-none-match'] === etag) return response.writeHead(304, headers).end();
  headers['Content-Type'] = types[extname(file)] ?? 'application/octet-stream';
  // Fonts and pictures are compressed already.
  const encoding = !/^(font|image)\//.test(headers['Content-Type'])
    && ['br', 'gzip'].find((e) => request.headers['accept-encoding']?.includes(e));
  if (encoding) {
    if (!packed.has(etag + encoding)) packed.set(etag + encoding, encoders[encoding](body));
    body = packed.get(etag + encoding);
    headers['Content-Encoding'] = encoding;
  }
  response.writeHead(200, headers).end(body);
}

// Resolves to the address it serves at (port 0 takes any free port); rejects
// when it cannot listen there.
export function serve(site, port = 0, host = '127.0.0.1') {
  const server = createServer((request, response) => answer(site, request, response));
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, host, () => resolve({ url: `http://127.0.0.1:${server.address().port}/`, server }));
  });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const port = Number(process.argv[3] ?? process.env.MORVIK_PORT ?? 8080);
  const host = process.env.MORVIK_HOST ?? '127.0.0.1';
  const { url } = await serve(process.argv[2] ?? '.', port, host).catch((e) => {
    if (e.code !== 'EADDRINUSE') throw e;
    console.error(`Port ${port} is taken. Choose another: MORVIK_PORT=${port + 1} tools/web.sh serve`);
    process.exit(1);
  });
  console.log(`Morvik Roulette is served at ${url} (Ctrl+C stops it)`);
  if (host !== '127.0.0.1') {
    const lan = Object.values(networkInterfaces()).flat().filter((a) => a.family === 'IPv4' && !a.internal);
    for (const { address } of lan) console.log(`From a phone on the same network: http://${address}:${new URL(url).port}/`);
  }
}
