// Per-symbol time of ecc200 (the package) and bwip-js in one run, side by
// side: encode + SVG and encode + PNG for three messages, the two libraries
// taking turns in rounds so that both see the same machine. Prints each
// median and the ratio ecc200 / bwip-js; no time is asserted.
import { init, encode } from 'ecc200';
import bwipjs from 'bwip-js';

const ROUNDS = Number(process.env.ECC200_BENCH_ROUNDS || 15);
const PER_ROUND = Number(process.env.ECC200_BENCH_BATCH || 40);
const messages = {
  'GS1 element string': { text: '(01)09506000134352(17)261231(10)ABC123(21)40516', gs1: true },
  '40-character part number': { text: 'PN 4711-0815-BX/REV C; LOT 2026-12-07-A1', gs1: false },
  '300 characters': { text: 'ECC 200 Data Matrix, 300 characters of mixed text: 0123456789 abcdefghij ABCDEFGHIJ. '.repeat(4).slice(0, 300), gs1: false },
};

await init();
// bwip-js at its default of 2 pixels per module, ecc200 at the same.
const bwip = ({ text, gs1 }) => ({ bcid: gs1 ? 'gs1datamatrix' : 'datamatrix', text, scale: 2 });
const jobs = {
  'encode + SVG': {
    ecc200: ({ text, gs1 }) => encode(text, { gs1 }).svg({ modulePx: 2 }),
    'bwip-js': (message) => bwipjs.toSVG(bwip(message)),
  },
  'encode + PNG': {
    ecc200: ({ text, gs1 }) => encode(text, { gs1 }).png({ modulePx: 2 }),
    'bwip-js': (message) => bwipjs.toBuffer(bwip(message)),
  },
};

async function batch(fn, message) {
  const start = process.hrtime.bigint();
  for (let i = 0; i < PER_ROUND; i++) await fn(message);
  return Number(process.hrtime.bigint() - start) / 1e6 / PER_ROUND;
}
const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];

console.log(`| job | message | ecc200 ms | bwip-js ms | ratio |`);
console.log(`|---|---|--:|--:|--:|`);
for (const [job, peers] of Object.entries(jobs)) {
  for (const [label, message] of Object.entries(messages)) {
    const times = { ecc200: [], 'bwip-js': [] };
    for (const [name, fn] of Object.entries(peers)) await batch(fn, message); // warm up
    for (let round = 0; round < ROUNDS; round++) {
      for (const [name, fn] of Object.entries(peers)) times[name].push(await batch(fn, message));
    }
    const [ours, theirs] = [median(times.ecc200), median(times['bwip-js'])];
    console.log(`| ${job} | ${label} | ${ours.toFixed(3)} | ${theirs.toFixed(3)} | ${(ours / theirs).toFixed(3)} |`);
  }
}
