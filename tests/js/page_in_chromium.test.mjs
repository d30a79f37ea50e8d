// The generator page (ECC200_SITE) in Debian's chromium, served from
// 127.0.0.1: typing a message, the preview read back by ZXingReader, each
// download against the native tool's (ECC200_TOOL) bytes, the preview's
// pixels against the PNG's, the GS1 error line, and no request outside the
// page's origin or against its content security policy.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { createServer } from 'node:http';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { extname, join, normalize } from 'node:path';
import { chromium } from 'playwright-core';

const site = process.env.ECC200_SITE;
const tool = process.env.ECC200_TOOL;
const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.mjs': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };
const folder = mkdtempSync(join(tmpdir(), 'ecc200-page-'));
let server, origin, browser, page;
const requests = [];

before(async () => {
  server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname)).replace(/^(\.\.[/\\])+/, '');
    try {
      const body = readFileSync(join(site, path.endsWith('/') ? `${path}index.html` : path));
      response.writeHead(200, { 'content-type': TYPES[extname(path) || '.html'] || 'application/octet-stream' }).end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  origin = `http://127.0.0.1:${server.address().port}`;
  browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
  page = await (await browser.newContext({ acceptDownloads: true })).newPage();
  page.on('request', (request) => requests.push(request.url()));
  await page.addInitScript(() => {
    window.violations = [];
    document.addEventListener('securitypolicyviolation', (event) => window.violations.push(event.violatedDirective));
  });
  await page.goto(`${origin}/`);
  await page.waitForSelector('body[data-ready]');
});

after(async () => {
  await browser?.close();
  server?.close();
});

const toolBytes = (args, format) => execFileSync(tool, [...args, '-f', format, '-o', '-'], { stdio: 'pipe' });

test('the preview of a typed message reads back as the message', async () => {
  const message = 'ECC 200 in the browser: part 4711/B';
  await page.fill('#message', '');
  await page.locator('#message').pressSequentially(message);
  const shot = join(folder, 'preview.png');
  writeFileSync(shot, await page.locator('#preview').screenshot());
  assert.match(execFileSync('ZXingReader', [shot]).toString(), new RegExp(`^Text: +"${message.replace(/[/.]/g, '\\$&')}"$`, 'm'));
});

test('each download is the native tool\'s file; the preview has the PNG\'s pixels', async () => {
  const message = 'Downloads 2026';
  await page.fill('#message', message);
  await page.fill('#module-px', '5');
  await page.fill('#quiet-zone', '3');
  await page.selectOption('#border', 'dashed');
  await page.selectOption('#quarter-turns', '1');
  await page.fill('#bar', '#000080');
  const args = ['--module-px', '5', '--quiet-zone', '3', '--border', 'dashed', '--orientation', '1', '--bar', '000080', message];
  const links = page.locator('#downloads a[download][data-format]');
  const names = await links.evaluateAll((all) => all.map((link) => link.dataset.format));
  // Every format the tool writes is there, and is compared.
  const toolFormats = /Format of every -o: ([^\n]*)/.exec(execFileSync(tool, ['--help']).toString())[1].split(/, | or /);
  assert.deepEqual(toolFormats.filter((name) => !names.includes(name)), []);
  for (const name of toolFormats) {
    const [download] = await Promise.all([page.waitForEvent('download'), page.click(`#downloads a[data-format=${name}]`)]);
    assert.equal(download.suggestedFilename(), `datamatrix.${name}`);
    assert.ok(readFileSync(await download.path()).equals(toolBytes(args, name)), `${name} differs from the tool's`);
  }
  const samePixels = await page.evaluate(async () => {
    const preview = document.getElementById('preview');
    const png = new Image(); // the page's policy lets images, not fetch, read blob: URLs
    png.src = document.querySelector('a[data-format=png]').href;
    await png.decode();
    const canvas = new OffscreenCanvas(png.width, png.height);
    canvas.getContext('2d').drawImage(png, 0, 0);
    const expected = canvas.getContext('2d').getImageData(0, 0, png.width, png.height).data;
    const drawn = preview.getContext('2d').getImageData(0, 0, preview.width, preview.height).data;
    return preview.width === png.width && preview.height === png.height && drawn.every((value, i) => value === expected[i]);
  });
  assert.ok(samePixels, 'the preview differs from the PNG');
});

test('a wrong GS1 check digit shows the library\'s error line and disables the downloads', async () => {
  await page.check('#gs1');
  await page.fill('#message', '(01)09506000134353');
  let expected = '';
  try {
    toolBytes(['--gs1', '(01)09506000134353'], 'png');
  } catch (error) {
    expected = error.stderr.toString().replace(/^ecc200: /, '').trim();
  }
  assert.equal(await page.textContent('[role=alert]#error'), expected);
  const disabled = await page.locator('#downloads a').evaluateAll((all) => all.map((a) => !a.href && a.getAttribute('aria-disabled')));
  assert.ok(disabled.length > 0 && disabled.every((value) => value === 'true'), String(disabled));
  await page.fill('#message', '(01)09506000134352');
  assert.equal(await page.textContent('#error'), '');
});

test('no request left the page\'s origin and none broke its content security policy', async () => {
  assert.ok(requests.length >= 4, requests.join('\n')); // the page, its style, its script, the package and the wasm
  assert.deepEqual(requests.filter((url) => !url.startsWith(`${origin}/`) && !url.startsWith('blob:')), []);
  assert.deepEqual(await page.evaluate(() => window.violations), []);
});
