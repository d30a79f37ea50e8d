// ecc200 for JavaScript: the library compiled to WebAssembly and called
// through its C interface (include/ecc200.h). This file is the package's
// body; scripts/build-js.sh puts it before lib/entry_esm.mjs (index.mjs) or
// lib/entry_cjs.cjs (index.cjs), which say where the .wasm file is and
// export the names.
//
// The option structs are filled by member name through the tables of
// bindings/js/wasm/js_tables.c, which the module exports: this file holds
// no struct offsets, format numbers or status numbers of its own.

const UTF8_ECI = 26; // ECI 000026: UTF-8 (AIM ECI assignments)
const INT32_MIN = -(2 ** 31);
const INT32_MAX = 2 ** 31 - 1;
const UINT32_MAX = 2 ** 32 - 1;
const JS_INT32 = 1;
const JS_UINT32 = 2;
const JS_DOUBLE = 3;
const JS_TEXT = 4;

class Ecc200Error extends Error {
  constructor(code, message, details) {
    super(message);
    this.name = 'Ecc200Error';
    this.code = code;
    if (details) Object.assign(this, details);
  }
}

function invalid(message) {
  return new Ecc200Error('INVALID_ARGUMENT', message);
}

// ---- The loaded module ----------------------------------------------------

let state = null; // the instance in use, see instantiate()
let loading = null; // init()'s promise while the module compiles

async function init(options) {
  if (state) return;
  if (!loading) {
    loading = compileModule(options && options.wasm !== undefined ? options.wasm : defaultWasm())
      .then((module) => {
        state = instantiate(module);
      })
      .finally(() => {
        loading = null;
      });
  }
  await loading;
}

async function compileModule(source) {
  if (typeof source === 'string') source = new URL(source, baseUrl());
  if (source instanceof URL) source = await fetchWasm(source);
  if (source && typeof source.arrayBuffer === 'function') { // a Response (or a Blob)
    if (source.ok === false) throw new Ecc200Error('FILE_ERROR', `ecc200.wasm: HTTP ${source.status} from ${source.url}`);
    // Compiled while it downloads where the server names the type.
    if (typeof WebAssembly.compileStreaming === 'function' && source.headers
        && /^application\/wasm\b/.test(source.headers.get('content-type') || '')) {
      return WebAssembly.compileStreaming(source);
    }
    source = await source.arrayBuffer();
  }
  if (source instanceof ArrayBuffer || ArrayBuffer.isView(source)) return WebAssembly.compile(source);
  throw invalid('init({ wasm }) takes a URL, a Response, an ArrayBuffer or a Uint8Array');
}

// Node's fetch does not read file: URLs, so Node reads them from disk.
async function fetchWasm(url) {
  if (url.protocol === 'file:') {
    const fs = await import(/* webpackIgnore: true */ /* @vite-ignore */ 'node:fs/promises');
    return fs.readFile(url);
  }
  return fetch(url);
}

function baseUrl() {
  return typeof location !== 'undefined' ? location.href : 'file:///';
}

// The module is built without JavaScript glue (STANDALONE_WASM): its few
// imports are WASI's environment calls, answered with an empty environment
// (the screen's resolution is then 96 dpi, as in the native library without
// ECC200_SCREEN_DPI), the memory growth notice, and the exit of an abort.
function instantiate(module) {
  let memory;
  const u32 = () => new Uint32Array(memory.buffer);
  const provided = {
    environ_sizes_get(countAddress, sizeAddress) {
      u32()[countAddress >>> 2] = 0;
      u32()[sizeAddress >>> 2] = 0;
      return 0;
    },
    environ_get() {
      return 0;
    },
    emscripten_notify_memory_growth() {},
    proc_exit(code) {
      throw new WebAssembly.RuntimeError(`ecc200.wasm stopped (exit ${code})`);
    },
  };
  const imports = {};
  for (const { module: space, name } of WebAssembly.Module.imports(module)) {
    imports[space] = imports[space] || {};
    imports[space][name] = provided[name] || (() => {
      throw new WebAssembly.RuntimeError(`ecc200.wasm called ${space}.${name}, which the package does not provide`);
    });
  }
  const instance = new WebAssembly.Instance(module, imports);
  const calls = instance.exports;
  memory = calls.memory;
  calls._initialize();
  const tables = readTables(calls, memory);
  const scratch = {
    out: calls.malloc(8), // a symbol or bytes pointer, then a size
    diagnostic: newStruct(calls, tables.structs.diagnostic),
    encodeOptions: newStruct(calls, tables.structs.encode_options),
    picture: newStruct(calls, tables.structs.picture),
  };
  addFormatMethods(tables.formats);
  return { module, calls, memory, tables, scratch };
}

function newStruct(calls, layout) {
  const address = calls.malloc(layout.size);
  if (!address) throw new Ecc200Error('OUT_OF_MEMORY', 'no memory for the option structs');
  return address;
}

function cString(memory, address) {
  const bytes = new Uint8Array(memory.buffer, address);
  return new TextDecoder().decode(bytes.subarray(0, bytes.indexOf(0)));
}

// The tables of js_tables.c: arrays of structs of 32-bit words, each ended
// by an entry whose first word (a name) is 0.
function readTables(calls, memory) {
  const rows = (address, words) => {
    const u32 = new Uint32Array(memory.buffer);
    const result = [];
    for (let at = address >>> 2; u32[at] !== 0; at += words) result.push(Array.from(u32.subarray(at, at + words)));
    return result;
  };
  const text = (address) => cString(memory, address);
  const structs = {};
  for (const [name, size, fields, count] of rows(calls.js_structs(), 4)) {
    const members = {};
    const u32 = new Uint32Array(memory.buffer, fields, count * 3);
    for (let i = 0; i < count; i++) members[text(u32[i * 3])] = { offset: u32[i * 3 + 1], type: u32[i * 3 + 2] };
    // The package's names of the members: quiet_zone is quietZone.
    const byOption = new Map(Object.keys(members).map((member) => [camelCase(member), member]));
    structs[text(name)] = { size, members, byOption, options: [...byOption.keys()] };
  }
  const choices = {};
  for (const [member, word, value] of rows(calls.js_choices(), 3)) {
    (choices[text(member)] = choices[text(member)] || new Map()).set(text(word), value | 0);
  }
  const statuses = new Map(rows(calls.js_statuses(), 2).map(([code, status]) => [status | 0, text(code)]));
  const formats = new Map(
    rows(calls.js_formats(), 4).map(([name, format, mediaType, isText]) => [
      text(name),
      { format: format | 0, mediaType: text(mediaType), text: isText !== 0 },
    ]),
  );
  return { structs, choices, statuses, formats };
}

function loaded() {
  if (!state) throw new Ecc200Error('NOT_INITIALIZED', 'ecc200: call `await init()` before encoding');
  return state;
}

// Runs fn(state); a trap in the module (an allocation that failed where the
// library cannot report it) leaves its memory in an unknown state, so the
// module is started afresh and the call fails as out of memory.
function call(fn) {
  const current = loaded();
  try {
    return fn(current);
  } catch (error) {
    if (!(error instanceof WebAssembly.RuntimeError)) throw error;
    state = null;
    try {
      state = instantiate(current.module);
    } catch {
      // state stays null: the next init() instantiates the kept module.
      loading = Promise.resolve(current.module).then((module) => {
        state = instantiate(module);
      });
    }
    throw new Ecc200Error('OUT_OF_MEMORY', `ecc200.wasm stopped: ${error.message}; it was started again`);
  }
}

// ---- Structs by member name -----------------------------------------------

function setMember(s, address, layout, member, value) {
  const { offset, type } = layout.members[member];
  const view = new DataView(s.memory.buffer);
  if (type === JS_DOUBLE) view.setFloat64(address + offset, value, true);
  else if (type === JS_UINT32) view.setUint32(address + offset, value, true);
  else view.setInt32(address + offset, value, true);
}

function getMember(s, address, layout, member) {
  const { offset, type } = layout.members[member];
  const view = new DataView(s.memory.buffer);
  if (type === JS_DOUBLE) return view.getFloat64(address + offset, true);
  if (type === JS_UINT32) return view.getUint32(address + offset, true);
  if (type === JS_TEXT) return cString(s.memory, address + offset);
  return view.getInt32(address + offset, true);
}

function integer(name, value, low = INT32_MIN, high = INT32_MAX) {
  if (!Number.isInteger(value) || value < low || value > high) {
    throw invalid(`${name} must be an integer from ${low} to ${high}, not ${describe(value)}`);
  }
  return value;
}

function flag(name, value) {
  if (typeof value !== 'boolean') throw invalid(`${name} must be true or false, not ${describe(value)}`);
  return value ? 1 : 0;
}

function choice(s, member, name, value) {
  const words = s.tables.choices[member];
  if (!words.has(value)) {
    throw invalid(`${name} must be one of ${[...words.keys()].map((w) => `'${w}'`).join(', ')}, not ${describe(value)}`);
  }
  return words.get(value);
}

// '#rrggbb' or a number 0xRRGGBB, as the C struct holds it.
function colour(name, value) {
  if (typeof value === 'string') {
    if (!/^#[0-9a-fA-F]{6}$/.test(value)) throw invalid(`${name} must be '#rrggbb' or a number, not ${describe(value)}`);
    return parseInt(value.slice(1), 16);
  }
  return integer(name, value, 0, UINT32_MAX);
}

function describe(value) {
  return typeof value === 'string' ? `'${value}'` : typeof value === 'object' ? JSON.stringify(value) : String(value);
}

function camelCase(member) {
  return member.replace(/_([a-z0-9])/g, (_, c) => c.toUpperCase());
}

function checkKeys(name, given, known) {
  if (given === undefined || given === null) return {};
  if (typeof given !== 'object') throw invalid(`${name} must be an object, not ${describe(given)}`);
  for (const key of Object.keys(given)) {
    if (!known.includes(key)) throw invalid(`unknown ${name} '${key}'; known: ${known.join(', ')}`);
  }
  return given;
}

// encode()'s options into ecc200_encode_options, from its defaults.
function fillEncodeOptions(s, options, eci) {
  const layout = s.tables.structs.encode_options;
  const address = s.scratch.encodeOptions;
  const known = ['encodation', 'shape', 'dmre', 'symbolSize', 'gs1', 'eci', 'readerInit', 'structuredAppend', 'iso144'];
  const given = checkKeys('encode option', options, known);
  new Uint8Array(s.memory.buffer, address, layout.size).fill(0);
  new DataView(s.memory.buffer).setUint32(address, layout.size, true); // struct_size
  s.calls.ecc200_encode_options_init(address);
  const set = (member, value) => setMember(s, address, layout, member, value);
  if (given.encodation !== undefined) set('encodation', choice(s, 'encodation', 'encodation', given.encodation));
  if (given.shape !== undefined) set('shape', choice(s, 'shape', 'shape', given.shape));
  if (given.dmre !== undefined) set('dmre', flag('dmre', given.dmre));
  if (given.gs1 !== undefined) set('gs1', flag('gs1', given.gs1));
  if (given.readerInit !== undefined) set('reader_init', flag('readerInit', given.readerInit));
  if (given.iso144 !== undefined) set('iso144', flag('iso144', given.iso144));
  if (eci !== undefined) set('eci', integer('eci', eci));
  if (given.symbolSize !== undefined) {
    const size = /^(\d{1,9})x(\d{1,9})$/.exec(given.symbolSize);
    if (typeof given.symbolSize !== 'string' || !size) {
      throw invalid(`symbolSize must be 'ROWSxCOLUMNS' such as '16x48', not ${describe(given.symbolSize)}`);
    }
    set('rows', Number(size[1]));
    set('columns', Number(size[2]));
  }
  if (given.structuredAppend !== undefined) {
    const append = checkKeys('structuredAppend member', given.structuredAppend, ['index', 'count', 'fileId']);
    set('append_index', integer('structuredAppend.index', append.index));
    set('append_count', integer('structuredAppend.count', append.count));
    set('file_id', integer('structuredAppend.fileId', append.fileId));
  }
  return address;
}

// A picture object into ecc200_picture: every member but struct_size under
// its camelCase name, from ecc200_picture_init's defaults. Integer members
// also take true and false, members with named values (border) their words,
// colours '#rrggbb'.
function fillPicture(s, picture) {
  const layout = s.tables.structs.picture;
  const address = s.scratch.picture;
  const byName = layout.byOption;
  const given = checkKeys('picture option', picture, layout.options);
  new Uint8Array(s.memory.buffer, address, layout.size).fill(0);
  new DataView(s.memory.buffer).setUint32(address, layout.size, true); // struct_size
  s.calls.ecc200_picture_init(address);
  for (const [name, value] of Object.entries(given)) {
    if (value === undefined) continue;
    const member = byName.get(name);
    const { type } = layout.members[member];
    let number;
    if (s.tables.choices[member]) number = choice(s, member, name, value);
    else if (type === JS_UINT32) number = colour(name, value);
    else if (type === JS_DOUBLE) {
      if (typeof value !== 'number' || !Number.isFinite(value)) throw invalid(`${name} must be a finite number, not ${describe(value)}`);
      number = value;
    } else number = typeof value === 'boolean' ? (value ? 1 : 0) : integer(name, value);
    setMember(s, address, layout, member, number);
  }
  return address;
}

function failure(s, status) {
  const layout = s.tables.structs.diagnostic;
  const address = s.scratch.diagnostic;
  const code = s.tables.statuses.get(status) || `STATUS_${status}`;
  const message = getMember(s, address, layout, 'message');
  // The numbers the diagnostic holds for this failure, by their package names.
  const details = {};
  const needed = getMember(s, address, layout, 'codewords_needed');
  if (needed > 0) Object.assign(details, { codewordsNeeded: needed, capacity: getMember(s, address, layout, 'capacity') });
  const width = getMember(s, address, layout, 'needed_width');
  if (width > 0) Object.assign(details, { neededWidth: width, neededHeight: getMember(s, address, layout, 'needed_height') });
  return new Ecc200Error(code, message, details);
}

function prepareDiagnostic(s) {
  const layout = s.tables.structs.diagnostic;
  new Uint8Array(s.memory.buffer, s.scratch.diagnostic, layout.size).fill(0);
  new DataView(s.memory.buffer).setUint32(s.scratch.diagnostic, layout.size, true);
  return s.scratch.diagnostic;
}

// ---- Messages ---------------------------------------------------------------

const LONE_SURROGATE = /[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(?<![\uD800-\uDBFF])[\uDC00-\uDFFF]/;

// A string of code points up to U+00FF is its ISO 8859-1 bytes, the symbol's
// default character set (ISO/IEC 16022 5.1); any other string is UTF-8
// under ECI 26, so that a reader gives the same text back.
function messageBytes(data, eci) {
  if (data instanceof Uint8Array) return { bytes: data, eci };
  if (typeof data !== 'string') throw invalid(`the message must be a string or a Uint8Array, not ${describe(data)}`);
  if (/^[\0-\xff]*$/.test(data)) {
    const bytes = new Uint8Array(data.length);
    for (let i = 0; i < data.length; i++) bytes[i] = data.charCodeAt(i);
    return { bytes, eci };
  }
  if (LONE_SURROGATE.test(data)) throw invalid('the message has a lone UTF-16 surrogate, which UTF-8 cannot hold');
  if (eci !== undefined && eci !== UTF8_ECI) {
    throw invalid(`the message has characters beyond U+00FF and ECI ${eci} was asked for; pass its bytes as a Uint8Array`);
  }
  return { bytes: new TextEncoder().encode(data), eci: UTF8_ECI };
}

// ---- Symbols ------------------------------------------------------------------

// A Symbol keeps its message and encode options, not the module's symbol:
// the module holds one symbol at a time, the last one encoded or drawn, and
// a Symbol drawn after another was encoded is encoded again (the same
// bytes, in a few microseconds). So nothing waits on the garbage collector
// to free the module's memory, and a Symbol outlives a restart.
let held = { owner: null, symbol: null, pointer: 0 };

function hold(s, symbol, pointer) {
  if (held.pointer && held.owner === s) s.calls.ecc200_symbol_free(held.pointer);
  held = { owner: s, symbol, pointer };
}

function encodeInto(s, bytes, options) {
  const diagnostic = prepareDiagnostic(s);
  const copy = s.calls.malloc(bytes.length || 1);
  if (!copy) throw new Ecc200Error('OUT_OF_MEMORY', 'no memory for the message');
  try {
    new Uint8Array(s.memory.buffer, copy, bytes.length).set(bytes);
    const status = s.calls.ecc200_encode(copy, bytes.length, options, s.scratch.out, diagnostic);
    if (status !== 0) throw failure(s, status);
  } finally {
    s.calls.free(copy);
  }
  return new Uint32Array(s.memory.buffer, s.scratch.out, 1)[0];
}

function encode(data, options) {
  return call((s) => {
    const message = messageBytes(data, options && options.eci !== undefined ? options.eci : undefined);
    const address = fillEncodeOptions(s, options, message.eci);
    const pointer = encodeInto(s, message.bytes, address);
    const encodeOptions = new Uint8Array(s.memory.buffer, address, s.tables.structs.encode_options.size).slice();
    const symbol = new DataMatrixSymbol(s, pointer, { bytes: message.bytes.slice(), encodeOptions });
    hold(s, symbol, pointer);
    return symbol;
  });
}

// The module's symbol of a Symbol: the one held, or encoded again.
function nativeSymbol(s, symbol) {
  if (held.owner === s && held.symbol === symbol) return held.pointer;
  const { bytes, encodeOptions } = symbol._source;
  new Uint8Array(s.memory.buffer, s.scratch.encodeOptions, encodeOptions.length).set(encodeOptions);
  const pointer = encodeInto(s, bytes, s.scratch.encodeOptions);
  hold(s, symbol, pointer);
  return pointer;
}

class DataMatrixSymbol {
  constructor(owner, pointer, source) {
    const { calls, memory } = owner;
    const bytes = (address, count) => new Uint8Array(memory.buffer, address, count).slice();
    const counted = (fn) => {
      const address = fn(pointer, owner.scratch.out);
      return bytes(address, new Uint32Array(memory.buffer, owner.scratch.out, 1)[0]);
    };
    this.rows = calls.ecc200_symbol_rows(pointer);
    this.columns = calls.ecc200_symbol_columns(pointer);
    this.modules = bytes(calls.ecc200_symbol_modules(pointer), this.rows * this.columns);
    this.codewords = counted(calls.ecc200_symbol_codewords);
    this.dataCodewords = counted(calls.ecc200_symbol_data_codewords);
    Object.defineProperty(this, '_source', { value: source });
  }

  get(row, column) {
    integer('row', row, 0, this.rows - 1);
    integer('column', column, 0, this.columns - 1);
    return this.modules[row * this.columns + column];
  }

  // The format's bytes, as the library renders them (ecc200_render_alloc).
  render(format, picture) {
    return call((s) => {
      const entry = s.tables.formats.get(format);
      if (!entry) throw invalid(`format must be one of ${[...s.tables.formats.keys()].join(', ')}, not ${describe(format)}`);
      const address = fillPicture(s, picture);
      const pointer = nativeSymbol(s, this);
      const diagnostic = prepareDiagnostic(s);
      const status = s.calls.ecc200_render_alloc(pointer, address, entry.format, s.scratch.out, s.scratch.out + 4, diagnostic);
      if (status !== 0) throw failure(s, status);
      const [bytes, size] = new Uint32Array(s.memory.buffer, s.scratch.out, 2);
      const result = new Uint8Array(s.memory.buffer, bytes, size).slice();
      s.calls.ecc200_free(bytes);
      return result;
    });
  }

  toDataURL(format = 'png', picture) {
    const mediaType = loaded().tables.formats.get(format)?.mediaType;
    const bytes = this.render(format, picture);
    let binary = '';
    for (let i = 0; i < bytes.length; i += 0x8000) binary += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return `data:${mediaType};base64,${btoa(binary)}`;
  }

  // The PNG's pixels onto a canvas (sized to the picture): the one-bit BMP
  // of the same picture drawn black on white, each pixel then painted in the
  // bar or background colour, as the PNG's palette does.
  drawTo(canvas, picture) {
    const colours = call((s) => {
      const layout = s.tables.structs.picture;
      const address = fillPicture(s, picture);
      return [getMember(s, address, layout, 'bar'), getMember(s, address, layout, 'background')];
    });
    const bmp = this.render('bmp', { ...picture, bar: 0x000000, background: 0xffffff });
    const view = new DataView(bmp.buffer);
    const pixels = view.getUint32(10, true); // BITMAPFILEHEADER bfOffBits
    const width = view.getInt32(18, true); // BITMAPINFOHEADER biWidth
    const height = view.getInt32(22, true); // biHeight, positive: bottom-up rows
    const stride = ((width + 31) >>> 5) << 2; // rows padded to 32 bits
    const darkIndex = view.getUint8(54) + view.getUint8(55) + view.getUint8(56) === 0 ? 0 : 1; // RGBQUAD 0
    canvas.width = width;
    canvas.height = height;
    const context = canvas.getContext('2d');
    const image = context.createImageData(width, height);
    // One RGBA word per pixel, in the byte order of the image data (R first).
    const word = (c) => (0xff000000 | (c & 0xff) << 16 | (c & 0xff00) | (c >>> 16 & 0xff)) >>> 0;
    const paint = darkIndex === 1 ? [word(colours[1]), word(colours[0])] : [word(colours[0]), word(colours[1])];
    const out = new Uint32Array(image.data.buffer, image.data.byteOffset, width * height);
    for (let y = 0; y < height; y++) {
      const row = pixels + (height - 1 - y) * stride;
      const start = y * width;
      for (let x = 0; x < width; x++) out[start + x] = paint[(bmp[row + (x >>> 3)] >>> (7 - (x & 7))) & 1];
    }
    context.putImageData(image, 0, 0);
  }
}

// One method per format of the module's table: symbol.png(picture) gives a
// Uint8Array, a text format (SVG) a string.
function formatMethod(name) {
  return function (picture) {
    const bytes = this.render(name, picture);
    return loaded().tables.formats.get(name).text ? new TextDecoder().decode(bytes) : bytes;
  };
}

function addFormatMethods(table) {
  for (const name of table.keys()) {
    if (!Object.prototype.hasOwnProperty.call(DataMatrixSymbol.prototype, name)) {
      Object.defineProperty(DataMatrixSymbol.prototype, name, { value: formatMethod(name), writable: true, configurable: true });
    }
  }
}

// The formats in the order of the module's table, with their media types.
function formats() {
  return [...loaded().tables.formats].map(([name, { mediaType }]) => ({ name, mediaType }));
}
