
// ---- index.mjs: browsers, workers, Deno and Node's import -----------------

// Beside this file; bundlers see the URL and ship the file with the bundle.
function defaultWasm() {
  return new URL('./ecc200.wasm', import.meta.url);
}

const version = '@ECC200_VERSION@';

export { init, encode, formats, version, Ecc200Error, DataMatrixSymbol as Symbol };
