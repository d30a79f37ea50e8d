// How long the generator page (ECC200_SITE) takes, in Debian's chromium
// served from 127.0.0.1, from navigation to its first symbol drawn and its
// controls live (the page's data-ready mark), over a few fresh loads; and
// how long one update takes as the user types.
import { createServer } from 'node:http';
import { readFileSync } from 'node:fs';
import { extname, join } from 'node:path';
import { chromium } from 'playwright-core';

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.mjs': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };
const site = process.env.ECC200_SITE;
const server = createServer((request, response) => {
  const path = new URL(request.url, 'http://x').pathname;
  try {
    const body = readFileSync(join(site, path.endsWith('/') ? `${path}index.html` : path.replace(/\.\./g, '')));
    response.writeHead(200, { 'content-type': TYPES[extname(path) || '.html'] }).end(body);
  } catch {
    response.writeHead(404).end();
  }
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
const ready = [];
let update;
for (let i = 0; i < 5; i++) {
  const context = await browser.newContext(); // a fresh cache each time
  const page = await context.newPage();
  await page.goto(`http://127.0.0.1:${server.address().port}/`);
  await page.waitForSelector('body[data-ready]');
  ready.push(Number(await page.getAttribute('body', 'data-ready')));
  update = await page.evaluate(() => {
    const message = document.getElementById('message');
    const start = performance.now();
    for (let k = 0; k < 50; k++) {
      message.value = `part ${k} of the bench`;
      message.dispatchEvent(new Event('input'));
    }
    return (performance.now() - start) / 50;
  });
  await context.close();
}
await browser.close();
server.close();
console.log(`interactive after ${ready.map((ms) => ms.toFixed(0)).join(', ')} ms (median ${[...ready].sort((a, b) => a - b)[2].toFixed(0)}); one update (preview and five downloads) ${update.toFixed(2)} ms`);
