
// ---- index.cjs: Node's require --------------------------------------------

function defaultWasm() {
  return require('node:fs').readFileSync(require('node:path').join(__dirname, 'ecc200.wasm'));
}

const version = '@ECC200_VERSION@';

module.exports = { init, encode, formats, version, Ecc200Error, Symbol: DataMatrixSymbol };
