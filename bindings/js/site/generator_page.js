// The generator page: every change of a control encodes the message again,
// paints the preview and makes the download links. The links' files are the
// library's bytes (ecc200/index.mjs, the package's own module).
import { init, encode, formats, version } from './ecc200/index.mjs';

const $ = (id) => document.getElementById(id);
const controls = ['message', 'gs1', 'encodation', 'shape', 'dmre', 'module-px', 'quiet-zone', 'border',
  'quarter-turns', 'bar', 'background'];
const PREVIEW_PIXELS = 256; // the preview is scaled up by whole pixels to about this width
let links = new Map();

function options() {
  return {
    gs1: $('gs1').checked,
    encodation: $('encodation').value,
    shape: $('shape').value,
    dmre: $('dmre').checked,
  };
}

function wholeNumber(id, fallback) {
  const value = Number($(id).value);
  return Number.isInteger(value) && value >= 0 ? value : fallback;
}

function picture() {
  return {
    modulePx: Math.max(1, wholeNumber('module-px', 8)),
    quietZone: wholeNumber('quiet-zone', 2),
    border: $('border').value,
    quarterTurns: Number($('quarter-turns').value),
    bar: $('bar').value,
    background: $('background').value,
  };
}

// A link for each format the library draws (one it declares but does not
// draw yet refuses even the default picture of "12").
function makeLinks() {
  const nav = $('downloads');
  const probe = encode('12');
  for (const { name } of formats()) {
    try {
      probe.render(name);
    } catch {
      continue;
    }
    const link = document.createElement('a');
    link.dataset.format = name;
    link.download = `datamatrix.${name}`;
    link.textContent = name;
    nav.append(link);
    links.set(name, link);
  }
}

// Each link holds its file; a format the library refuses for this picture
// is shown disabled, with the library's reason as its title.
function setLinks(symbol, look) {
  for (const [name, link] of links) {
    if (link.href.startsWith('blob:')) URL.revokeObjectURL(link.href);
    link.removeAttribute('href');
    link.setAttribute('aria-disabled', 'true');
    link.title = '';
    if (!symbol) continue;
    try {
      const { mediaType } = formats().find((format) => format.name === name);
      link.href = URL.createObjectURL(new Blob([symbol.render(name, look)], { type: mediaType }));
      link.removeAttribute('aria-disabled');
    } catch (error) {
      link.title = error.message;
    }
  }
}

function update() {
  const canvas = $('preview');
  const look = picture();
  let symbol = null;
  try {
    symbol = encode($('message').value, options());
    symbol.drawTo(canvas, look);
    $('error').textContent = '';
    const scale = Math.max(1, Math.floor(PREVIEW_PIXELS / Math.max(canvas.width, canvas.height)));
    canvas.style.width = `${canvas.width * scale}px`;
    canvas.setAttribute('aria-label', `Data Matrix symbol of ${symbol.rows} x ${symbol.columns} modules`);
    $('details').textContent = `${symbol.rows} × ${symbol.columns} modules, ${symbol.dataCodewords.length} data codewords;`
      + ` ${canvas.width} × ${canvas.height} pixels`;
  } catch (error) {
    symbol = null;
    $('error').textContent = error.message;
    $('details').textContent = '';
  }
  $('result').classList.toggle('failed', !symbol);
  setLinks(symbol, look);
}

await init();
$('version').textContent = version;
makeLinks();
for (const id of controls) $(id).addEventListener('input', update);
update();
document.body.dataset.ready = String(performance.now());
