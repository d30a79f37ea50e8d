// An ES module program as tsc --strict checks it against the package's
// types, with the DOM's types (drawTo onto a canvas).
import { init, encode, formats, version, Ecc200Error, type Picture, type EncodeOptions } from 'ecc200';

await init({ wasm: new URL('./node_modules/ecc200/ecc200.wasm', import.meta.url) });
const options: EncodeOptions = { gs1: true, shape: 'any', structuredAppend: { index: 1, count: 2, fileId: 7 } };
const picture: Picture = { modulePx: 4, border: 'dashed', bar: '#000080', background: 0xffffe0, allowCrop: false };
const symbol = encode('(01)09506000134352', options);
const png: Uint8Array = symbol.png(picture);
const svg: string = symbol.svg();
const dark: 0 | 1 = symbol.get(0, 0);
symbol.drawTo(document.createElement('canvas'), picture);
symbol.drawTo(new OffscreenCanvas(1, 1));
const names: string[] = formats().map((format) => format.name);
try {
  encode('x'.repeat(4000));
} catch (error) {
  if (error instanceof Ecc200Error && error.code === 'MESSAGE_TOO_LONG') console.log(error.codewordsNeeded, error.capacity);
}
console.log(version, png.length, svg.length, dark, names, symbol.toDataURL('svg'), symbol.modules.length);
