// The package's types under tsc --strict: an ES module client with the DOM's
// types and a CommonJS client with the ECMAScript library alone; a client
// that misuses an option is refused.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { writeFileSync } from 'node:fs';

const tsc = (lib, file) => spawnSync('node_modules/.bin/tsc', ['--strict', '--noEmit', '--module', 'node16',
  '--moduleResolution', 'node16', '--target', 'es2022', '--lib', lib, file], { encoding: 'utf8' });

test('typed clients compile under tsc --strict', () => {
  for (const [lib, file] of [['es2022,dom', 'esm_client.mts'], ['es2022', 'cjs_client.cts']]) {
    const result = tsc(lib, file);
    assert.equal(result.status, 0, `${file}:\n${result.stdout}${result.stderr}`);
  }
});

test('a wrong option does not compile', () => {
  writeFileSync('wrong_client.mts', "import { encode } from 'ecc200';\nencode('12', { shape: 'round' }).png({ border: 2 });\n");
  const result = tsc('es2022', 'wrong_client.mts');
  assert.notEqual(result.status, 0);
  assert.match(result.stdout, /'"round"' is not assignable/);
  assert.match(result.stdout, /'number' is not assignable/);
});
