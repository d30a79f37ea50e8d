// Prints ZPL labels on a stand-in printer: zpl-renderer-js, a WebAssembly
// build of a ZPL renderer, draws each label to a PNG of its own dots.
//
//   node render_zpl.cjs PREFIX DOTS_PER_MM LABELS.zpl PNG_STEM [LABELS.zpl PNG_STEM ...]
//
// PREFIX is the folder npm installed zpl-renderer-js into. Each file holds
// labels one a line, sent to the renderer as one job; its n-th label (from
// 0) becomes PNG_STEM-n.png, drawn on a label of the widest ^PW and the
// longest ^LL of the file, at DOTS_PER_MM.
"use strict";
const fs = require("node:fs");
const path = require("node:path");

async function main(argv) {
  const [prefix, dotsPerMm, ...pairs] = argv;
  if (!prefix || !(Number(dotsPerMm) > 0) || pairs.length === 0 || pairs.length % 2 !== 0) {
    throw new Error("usage: render_zpl.cjs PREFIX DOTS_PER_MM LABELS.zpl PNG_STEM [...]");
  }
  const dpmm = Number(dotsPerMm);
  const { ready } = require(path.join(prefix, "node_modules", "zpl-renderer-js"));
  const { api } = await ready;
  for (let i = 0; i < pairs.length; i += 2) {
    const zpl = fs.readFileSync(pairs[i], "latin1");
    const sizes = [...zpl.matchAll(/\^PW(\d+)\^LL(\d+)/g)];
    if (sizes.length === 0) throw new Error(`${pairs[i]}: no ^PW and ^LL`);
    const width = Math.max(...sizes.map((size) => Number(size[1])));
    const length = Math.max(...sizes.map((size) => Number(size[2])));
    const pngs = await api.zplToBase64MultipleAsync(zpl, width / dpmm, length / dpmm, dpmm);
    pngs.forEach((png, n) => fs.writeFileSync(`${pairs[i + 1]}-${n}.png`, Buffer.from(png, "base64")));
  }
}

// The renderer's errors can quote a whole label: the first line is enough.
main(process.argv.slice(2)).then(
  () => process.exit(0),
  (error) => {
    console.error(`render_zpl: ${String(error).split("\n")[0].slice(0, 300)}`);
    process.exit(1);
  });
