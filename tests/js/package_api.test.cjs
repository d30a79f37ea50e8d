// The package through require(): loading, the message rules, the Symbol's
// values and the errors, checked against the native tool (ECC200_TOOL)
// where it has an answer.
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const { readFileSync } = require('node:fs');
const { pathToFileURL } = require('node:url');
const ecc200 = require('ecc200');

const tool = process.env.ECC200_TOOL;
const wasmPath = require.resolve('ecc200/ecc200.wasm');
const native = (...args) => execFileSync(tool, args).toString().trimEnd();
const nativeFailure = (...args) => {
  try {
    execFileSync(tool, args, { stdio: ['ignore', 'pipe', 'pipe'] });
  } catch (error) {
    return error.stderr.toString().replace(/^ecc200: /, '').trimEnd();
  }
  assert.fail(`the tool accepted ${args.join(' ')}`);
};

test('encode before init() is refused; init() loads once from any source', async () => {
  assert.throws(() => ecc200.encode('12'), { name: 'Ecc200Error', code: 'NOT_INITIALIZED' });
  const bytes = readFileSync(wasmPath);
  await Promise.all([ecc200.init(), ecc200.init()]);
  await ecc200.init({ wasm: new Uint8Array(1) }); // already loaded: the source is not read again
  assert.equal(ecc200.version, native('--version').split(' ').pop());
  // A second copy of the package (a fresh module registry) from each kind of source.
  for (const wasm of [bytes, bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.length),
    pathToFileURL(wasmPath), pathToFileURL(wasmPath).href, new Response(bytes)]) {
    delete require.cache[require.resolve('ecc200')];
    const fresh = require('ecc200');
    await fresh.init({ wasm });
    assert.deepEqual(fresh.encode('12').codewords, ecc200.encode('12').codewords);
  }
  delete require.cache[require.resolve('ecc200')];
  await assert.rejects(require('ecc200').init({ wasm: 42 }), { code: 'INVALID_ARGUMENT' });
});

test('a Symbol gives the modules, codewords and data codewords the tool prints', async () => {
  await ecc200.init();
  for (const [message, options, flags] of [
    ['Hello, world', {}, []],
    ['16x48 rectangle', { symbolSize: '16x48' }, ['--symbol-size', '16x48']],
    ['(01)09506000134352(10)ABC123', { gs1: true, shape: 'rectangle', dmre: true }, ['--gs1', '--shape', 'rectangle', '--dmre']],
  ]) {
    const symbol = ecc200.encode(message, options);
    const rows = native(...flags, '--print', 'matrix', message).split('\n');
    assert.equal(symbol.rows, rows.length);
    assert.equal(symbol.columns, rows[0].length);
    rows.forEach((row, r) => [...row].forEach((module, c) => assert.equal(symbol.get(r, c), Number(module))));
    assert.equal(Array.from(symbol.codewords).join(' '), native(...flags, '--print', 'codewords', message));
    assert.equal(Array.from(symbol.dataCodewords).join(' '), native(...flags, '--print', 'data', message));
    assert.throws(() => symbol.get(symbol.rows, 0), { code: 'INVALID_ARGUMENT' });
  }
});

test('strings: ISO 8859-1 up to U+00FF, else UTF-8 under ECI 26; bytes as they are', async () => {
  await ecc200.init();
  const data = (...args) => native('--print', 'data', ...args);
  const codes = (symbol) => Array.from(symbol.dataCodewords).join(' ');
  assert.equal(codes(ecc200.encode('Grüße')), data('--hex', Buffer.from('Grüße', 'latin1').toString('hex')));
  assert.equal(codes(ecc200.encode('Grüße €')), data('--eci', '26', '--hex', Buffer.from('Grüße €').toString('hex')));
  assert.equal(codes(ecc200.encode('😀', { eci: 26 })), data('--eci', '26', '--hex', Buffer.from('😀').toString('hex')));
  assert.equal(codes(ecc200.encode(Uint8Array.of(0, 200, 7), { eci: 899 })), data('--eci', '899', '--hex', '00c807'));
  assert.throws(() => ecc200.encode('€', { eci: 3 }), { code: 'INVALID_ARGUMENT' });
  assert.throws(() => ecc200.encode('\ud800x'), { code: 'INVALID_ARGUMENT' });
  assert.throws(() => ecc200.encode(12), { code: 'INVALID_ARGUMENT' });
});

test('failures carry the library\'s code, message and numbers', async () => {
  await ecc200.init();
  const tooLong = 'x'.repeat(3200);
  assert.throws(() => ecc200.encode(tooLong), (error) => {
    assert.ok(error instanceof ecc200.Ecc200Error && error instanceof Error);
    assert.equal(error.code, 'MESSAGE_TOO_LONG');
    assert.equal(error.message, nativeFailure('-o', '/dev/null', '-f', 'png', tooLong));
    assert.deepEqual([error.codewordsNeeded, error.capacity], [2136, 1558]); // 3200 x: README's example
    return true;
  });
  assert.throws(() => ecc200.encode('(01)09506000134353', { gs1: true }),
    { code: 'INVALID_DATA', message: nativeFailure('--gs1', '-o', '/dev/null', '-f', 'png', '(01)09506000134353') });
  assert.throws(() => ecc200.encode('abc', { encodation: 'x12' }), { code: 'INVALID_DATA' });
  assert.throws(() => ecc200.encode('abc', { readerInit: true, gs1: true }), { name: 'Ecc200Error' });
  const symbol = ecc200.encode('12');
  // A cut symbol names the picture that holds it with its quiet zone: the fitted picture's size.
  let needed;
  assert.throws(() => symbol.png({ width: 10, height: 10 }), (error) => (needed = error).code === 'SYMBOL_CROPPED');
  const fitted = Buffer.from(symbol.png());
  assert.deepEqual([needed.neededWidth, needed.neededHeight], [fitted.readUInt32BE(16), fitted.readUInt32BE(20)]);
  assert.throws(() => symbol.wmf({ modulePx: 4000 }), { code: 'PICTURE_TOO_LARGE' });
  assert.throws(() => symbol.png({ quarterTurns: 4 }), { code: 'INVALID_ARGUMENT' });
  for (const [options, picture] of [
    [{ encodation: 'c41' }, {}], [{ shape: 'round' }, {}], [{ dmre: 1 }, {}], [{ symbolSize: '16 by 48' }, {}],
    [{ colour: 'red' }, {}], [{ structuredAppend: { index: 1, count: 2 } }, {}],
    [{}, { modulePx: 1.5 }], [{}, { bar: 'black' }], [{}, { border: 'thick' }], [{}, { moduleCm: NaN }], [{}, { size: 3 }],
  ]) {
    assert.throws(() => ecc200.encode('12', options).png(picture), { code: 'INVALID_ARGUMENT' }, JSON.stringify([options, picture]));
  }
});

test('every format and picture member of include/ecc200.h is the package\'s; toDataURL holds the bytes', async () => {
  await ecc200.init();
  const header = readFileSync(process.env.ECC200_HEADER, 'utf8');
  const declared = [...header.matchAll(/^#define ECC200_FORMAT_(\w+) /gm)].map(([, name]) => name.toLowerCase());
  assert.deepEqual(ecc200.formats().map((format) => format.name).sort(), declared.sort());
  const struct = /typedef struct ecc200_picture \{([^}]*)\}/.exec(header)[1];
  const members = [...struct.matchAll(/^\s+\w+ (\w+);/gm)].map(([, name]) => name).filter((name) => name !== 'struct_size');
  const camel = members.map((name) => name.replace(/_([a-z0-9])/g, (_, c) => c.toUpperCase()));
  const symbol = ecc200.encode('data URL');
  assert.throws(() => symbol.png({ unknown: 1 }), (error) => {
    assert.deepEqual(error.message.split('known: ')[1].split(', ').sort(), camel.sort());
    return true;
  });
  for (const { name, mediaType } of ecc200.formats()) {
    let expected;
    try {
      expected = symbol[name]({ modulePx: 3 });
    } catch (error) { // a format declared before the library draws it
      assert.throws(() => symbol.toDataURL(name, { modulePx: 3 }), { code: error.code, message: error.message });
      continue;
    }
    const [head, body] = symbol.toDataURL(name, { modulePx: 3 }).split(',');
    assert.equal(head, `data:${mediaType};base64`);
    assert.deepEqual(Buffer.from(body, 'base64'), Buffer.from(typeof expected === 'string' ? Buffer.from(expected) : expected));
  }
  assert.ok(symbol.toDataURL().startsWith('data:image/png;base64,'));
});

test('a Symbol drawn after others were encoded still draws itself', async () => {
  await ecc200.init();
  const first = ecc200.encode('first of two', { shape: 'rectangle' });
  const second = ecc200.encode(Uint8Array.of(1, 2, 3), { encodation: 'base256' });
  const png = (...args) => execFileSync(tool, [...args, '-f', 'png', '-o', '-']);
  assert.ok(Buffer.from(first.png()).equals(png('--shape', 'rectangle', 'first of two')));
  assert.ok(Buffer.from(second.png()).equals(png('--encodation', 'base256', '--hex', '010203')));
  assert.ok(Buffer.from(first.png()).equals(png('--shape', 'rectangle', 'first of two')));
});
