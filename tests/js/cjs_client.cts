// A CommonJS program as tsc --strict checks it against the package's types
// with the ECMAScript library alone: the types need neither the DOM's nor
// Node's.
import ecc200 = require('ecc200');

async function label(serial: string): Promise<Uint8Array> {
  await ecc200.init();
  const symbol: ecc200.Symbol = ecc200.encode(serial, { encodation: 'c40', symbolSize: '16x48' });
  return symbol.bmp({ quarterTurns: 1, moduleCm: 0.05, dpi: 300, seamless: true });
}

export = label;
