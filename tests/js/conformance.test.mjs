// The package, imported as ESM from its installed tarball, against the
// native tool (ECC200_TOOL) over random messages, options and pictures:
// every format byte for byte, the modules and codewords, and the same
// failures with the same messages. ECC200_JS_SEED repeats a run.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { init, encode, formats } from 'ecc200';

const CASES = 300;
const seed = Number(process.env.ECC200_JS_SEED || Date.now() % 1e9);
const tool = process.env.ECC200_TOOL;

function random(state) { // mulberry32
  return () => {
    state = (state + 0x6d2b79f5) | 0;
    let t = Math.imul(state ^ (state >>> 15), 1 | state);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}
const next = random(seed);
const below = (n) => Math.floor(next() * n);
const pick = (list) => list[below(list.length)];
const chance = (p) => next() < p;
const text = (alphabet, length) => Array.from({ length }, () => pick(alphabet)).join('');

// A GTIN-14 with its GS1 mod-10 check digit: weights 3 and 1 alternating from the first digit.
function gtin() {
  const digits = Array.from({ length: 13 }, () => below(10));
  const sum = digits.reduce((total, d, i) => total + d * (i % 2 === 0 ? 3 : 1), 0);
  return digits.join('') + ((10 - (sum % 10)) % 10);
}

const messages = [
  () => text('0123456789', 1 + below(120)),
  () => text('ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ', 1 + below(80)),
  () => text('abcdefghijklmnopqrstuvwxyz0123456789 ', 1 + below(80)),
  () => text('ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789*> \r', 1 + below(60)),
  () => text([...Array(63)].map((_, i) => String.fromCharCode(32 + i)), 1 + below(60)),
  () => Uint8Array.from({ length: 1 + below(200) }, () => 1 + below(255)),
  () => text('Grüße aus Köln, ça coûte 5 € — ÆØÅ ñ ß'.replace(/[€—]/g, ''), 1 + below(40)),
  () => text(['Grüße', ' ', '€', '漢字', '😀', 'ok'], 1 + below(12)),
  () => `(01)${gtin()}` + (chance(0.5) ? `(17)2${below(10)}${pick(['01', '06', '12'])}${pick(['01', '15', '28'])}` : '')
    + `(10)${text('ABC123-', 1 + below(15))}`,
  () => text('0123456789ABCDEFabcdef', 300 + below(1300)),
];

function encodeOptions(message) {
  const options = {};
  if (chance(0.2)) options.encodation = pick(['ascii', 'c40', 'text', 'x12', 'edifact', 'base256']);
  if (chance(0.2)) options.shape = pick(['square', 'rectangle', 'any']);
  if (chance(0.15)) options.dmre = true;
  if (chance(0.08)) options.symbolSize = pick(['16x48', '20x20', '8x32', '26x40', '144x144']);
  if (typeof message === 'string' && message.startsWith('(01)')) options.gs1 = true;
  else if (chance(0.05)) options.readerInit = true;
  if (message instanceof Uint8Array && chance(0.3)) options.eci = 3 + below(900);
  if (!options.gs1 && !options.readerInit && chance(0.06)) {
    const count = 2 + below(15);
    options.structuredAppend = { index: 1 + below(count), count, fileId: 1 + below(64516) };
  }
  if (chance(0.1)) options.iso144 = true;
  return options;
}

function picture() {
  const look = {};
  if (chance(0.5)) look.modulePx = 1 + below(6);
  // At least one pixel at 72 dpi: below it the tool refuses even a picture of a given size, which the library draws.
  else if (chance(0.5)) look.moduleCm = 0.04 + next() * 0.2;
  if (chance(0.3)) look.dpi = pick([72, 96, 150, 203, 300]);
  if (chance(0.3)) look.quietZone = below(5);
  if (chance(0.15)) {
    look.width = 20 + below(200);
    look.height = 20 + below(200);
    if (chance(0.5)) look.allowCrop = true;
  }
  if (chance(0.3)) look.quarterTurns = below(4);
  if (chance(0.3)) look.border = pick(['none', 'dashed', 'solid']);
  if (chance(0.3)) look.bar = `#${below(0x1000000).toString(16).padStart(6, '0')}`;
  if (chance(0.3)) look.background = below(0x1000000);
  if (chance(0.2)) look.seamless = true;
  return look;
}

const hex = (bytes) => Buffer.from(bytes).toString('hex');
const rgb = (colour) => (typeof colour === 'string' ? colour.slice(1) : colour.toString(16).padStart(6, '0'));

// The tool's arguments for the same message, options and picture.
function toolArguments(message, options, look) {
  const bytes = typeof message === 'string'
    ? (/^[\0-\xff]*$/.test(message) ? Buffer.from(message, 'latin1') : Buffer.from(message, 'utf8'))
    : message;
  const args = ['--hex', hex(bytes)];
  const eci = typeof message === 'string' && !/^[\0-\xff]*$/.test(message) ? 26 : options.eci;
  if (eci !== undefined) args.push('--eci', String(eci));
  if (options.encodation) args.push('--encodation', options.encodation);
  if (options.shape) args.push('--shape', options.shape);
  if (options.dmre) args.push('--dmre');
  if (options.symbolSize) args.push('--symbol-size', options.symbolSize);
  if (options.gs1) args.push('--gs1');
  if (options.readerInit) args.push('--reader-init');
  if (options.structuredAppend) {
    const { index, count, fileId } = options.structuredAppend;
    args.push('--structured-append', `${index}/${count}`, '--file-id', String(fileId));
  }
  if (options.iso144) args.push('--iso144');
  if (look.modulePx !== undefined) args.push('--module-px', String(look.modulePx));
  if (look.moduleCm !== undefined) args.push('--module', String(look.moduleCm));
  if (look.dpi !== undefined) args.push('--dpi', String(look.dpi));
  if (look.quietZone !== undefined) args.push('--quiet-zone', String(look.quietZone));
  if (look.width !== undefined) args.push('--size', `${look.width}x${look.height}`);
  if (look.allowCrop) args.push('--allow-crop');
  if (look.quarterTurns !== undefined) args.push('--orientation', String(look.quarterTurns));
  if (look.border) args.push('--border', look.border);
  if (look.bar !== undefined) args.push('--bar', rgb(look.bar));
  if (look.background !== undefined) args.push('--background', rgb(look.background));
  if (look.seamless) args.push('--seamless');
  return args;
}

function runTool(args) {
  const env = { ...process.env };
  delete env.ECC200_SCREEN_DPI; // the module's screen is 96 dpi, as the tool's without it
  try {
    return { stdout: execFileSync(tool, args, { env, stdio: ['ignore', 'pipe', 'pipe'] }).toString(), status: 0 };
  } catch (error) {
    return { status: error.status, stderr: error.stderr.toString() };
  }
}

// The formats the tool writes, from its help ("Format of every -o: bmp, wmf, ... or svg").
function toolFormats() {
  const help = execFileSync(tool, ['--help']).toString();
  return /Format of every -o: ([^\n]*)/.exec(help)[1].split(/, | or /).map((name) => name.trim());
}

const PRINTS = {
  matrix: (symbol) => Array.from({ length: symbol.rows }, (_, r) =>
    Array.from(symbol.modules.subarray(r * symbol.columns, (r + 1) * symbol.columns)).join('')).join('\n'),
  codewords: (symbol) => Array.from(symbol.codewords).join(' '),
  data: (symbol) => Array.from(symbol.dataCodewords).join(' '),
};

test(`${CASES} random symbols equal the native tool's (seed ${seed})`, async () => {
  assert.ok(tool, 'ECC200_TOOL names the native tool');
  await init();
  const names = formats().map((format) => format.name).filter((name) => toolFormats().includes(name));
  const folder = mkdtempSync(join(tmpdir(), 'ecc200-js-'));
  const tally = { pictures: 0, encodeFailures: 0, renderFailures: 0 };
  try {
    for (let i = 0; i < CASES; i++) {
      const message = pick(messages)();
      const options = encodeOptions(message);
      const look = picture();
      const print = pick(Object.keys(PRINTS));
      const outputs = names.flatMap((name) => ['-o', join(folder, `${i}.${name}`)]);
      const native = runTool([...toolArguments(message, options, look), '--print', print, ...outputs]);
      const label = `case ${i}: ${JSON.stringify({ message: typeof message === 'string' ? message : hex(message), options, look })}`;
      let symbol;
      try {
        symbol = encode(message, options);
      } catch (error) {
        assert.equal(error.name, 'Ecc200Error', label);
        assert.notEqual(native.status, 0, `${label}: the tool encoded it`);
        assert.equal(`ecc200: ${error.message}\n`, native.stderr, label);
        tally.encodeFailures++;
        continue;
      }
      let rendered;
      try {
        rendered = names.map((name) => symbol[name](look));
      } catch (error) {
        assert.ok(['SYMBOL_CROPPED', 'PICTURE_TOO_LARGE', 'INVALID_ARGUMENT'].includes(error.code), `${label}: ${error.code} ${error.message}`);
        assert.equal(native.status, 1, `${label}: the tool drew it`);
        // The tool words a cropped picture in its own options (--size, --allow-crop).
        if (error.code !== 'SYMBOL_CROPPED') assert.ok(native.stderr.includes(`ecc200: ${error.message}\n`), `${label}: ${native.stderr}`);
        tally.renderFailures++;
        continue;
      }
      assert.equal(native.status, 0, `${label}: ${native.stderr}`);
      assert.equal(PRINTS[print](symbol), native.stdout.trimEnd(), `${label}: --print ${print}`);
      names.forEach((name, k) => {
        const file = readFileSync(join(folder, `${i}.${name}`));
        const bytes = typeof rendered[k] === 'string' ? Buffer.from(rendered[k], 'utf8') : rendered[k];
        assert.ok(file.equals(bytes), `${label}: ${name} differs`);
        tally.pictures++;
      });
    }
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
  console.log(`seed ${seed}: ${tally.pictures} pictures equal, ${tally.encodeFailures} encode and ${tally.renderFailures} render failures alike`);
  assert.ok(tally.pictures > CASES, 'most cases drew pictures');
});
