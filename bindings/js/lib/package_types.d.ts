// Types of the ecc200 package (index.d.mts for import, index.d.cts for
// require). They name no type beyond the ECMAScript library's, so that a
// program compiles without the DOM's or Node's types.

/** What init() loads: a URL (or its text, relative to the page), a fetch
 * Response, or the bytes of ecc200.wasm; by default the file beside the module. */
export type WasmSource = string | { readonly href: string } | { arrayBuffer(): Promise<ArrayBuffer> } | ArrayBuffer | ArrayBufferView;

/** Loads the module once; later calls return at once. */
export function init(options?: { wasm?: WasmSource }): Promise<void>;

/** The library's version, "1.0.0". */
export const version: string;

export type Encodation = 'auto' | 'ascii' | 'c40' | 'text' | 'x12' | 'edifact' | 'base256';

export interface EncodeOptions {
  /** One encodation for the whole message; 'auto' (default) the fewest codewords. */
  encodation?: Encodation;
  /** The sizes to choose from; default 'square'. */
  shape?: 'square' | 'rectangle' | 'any';
  /** Also the rectangles of ISO/IEC 21471. */
  dmre?: boolean;
  /** Exactly this size, 'ROWSxCOLUMNS' such as '16x48'. */
  symbolSize?: string;
  /** The message is a GS1 element string in bracket form, (01)... or [01]... */
  gs1?: boolean;
  /** The message's Extended Channel Interpretation, 1 to 999999. */
  eci?: number;
  /** A reader programming symbol. */
  readerInit?: boolean;
  /** Symbol `index` (1 to `count`) of `count` (2 to 16) of file `fileId` (1 to 64516). */
  structuredAppend?: { index: number; count: number; fileId: number };
  /** 144 x 144 in the interleaving order of ISO/IEC 16022. */
  iso144?: boolean;
}

/** A colour: '#rrggbb' or a number 0xRRGGBB. */
export type Colour = string | number;

/** How a symbol is drawn; every field as in the C struct ecc200_picture, with its defaults. */
export interface Picture {
  /** Pixels; with height 0 (default): the symbol plus the quiet zone. */
  width?: number;
  height?: number;
  /** Modules of light margin when fitting; default 2. */
  quietZone?: number;
  /** Module edge in centimetres; default 0.2. */
  moduleCm?: number;
  /** Module edge in whole pixels; 0 (default): from moduleCm. */
  modulePx?: number;
  /** 0 (default): the screen's resolution, 96 dpi. */
  dpi?: number;
  /** Counter-clockwise, 0 to 3. */
  quarterTurns?: number;
  border?: 'none' | 'dashed' | 'solid';
  /** The dark modules; default '#000000'. */
  bar?: Colour;
  /** Default '#ffffff'. */
  background?: Colour;
  /** Draw the symbol cut by a size too small instead of failing. */
  allowCrop?: boolean;
  /** WMF and EMF: the dark modules as one filled shape. */
  seamless?: boolean;
  /** ZPL: the graphic field compressed (Z64) rather than ASCII hex. */
  zplZ64?: boolean;
  /** ZPL: the graphic field alone (^FO..^GFA..^FS), no ^XA/^XZ label. */
  zplFieldOnly?: boolean;
  /** SVG, PDF, EPS: the human-readable text under the symbol. */
  hri?: boolean;
}

/** A canvas drawTo() paints: an HTMLCanvasElement or an OffscreenCanvas. */
export interface Canvas {
  width: number;
  height: number;
  getContext(kind: '2d'): {
    createImageData(width: number, height: number): { data: Uint8ClampedArray };
    putImageData(image: never, x: number, y: number): void;
  } | null;
}

/** An encoded symbol; its pictures are the native library's bytes. */
export declare class Symbol {
  private constructor();
  readonly rows: number;
  readonly columns: number;
  /** rows x columns, 1 dark, 0 light, row 0 at the top. */
  readonly modules: Uint8Array;
  /** The final codeword stream (data, padding, error correction). */
  readonly codewords: Uint8Array;
  /** The data codewords before padding. */
  readonly dataCodewords: Uint8Array;
  /** 1 dark, 0 light. */
  get(row: number, column: number): 0 | 1;
  png(picture?: Picture): Uint8Array;
  svg(picture?: Picture): string;
  bmp(picture?: Picture): Uint8Array;
  wmf(picture?: Picture): Uint8Array;
  emf(picture?: Picture): Uint8Array;
  zpl(picture?: Picture): Uint8Array;
  pdf(picture?: Picture): Uint8Array;
  eps(picture?: Picture): Uint8Array;
  /** Any format of formats() by name. */
  render(format: string, picture?: Picture): Uint8Array;
  toDataURL(format?: string, picture?: Picture): string;
  /** Sizes the canvas to the picture and paints the PNG's pixels. */
  drawTo(canvas: Canvas, picture?: Picture): void;
}

/** Encodes a string (ISO 8859-1 when every code point is up to U+00FF, else UTF-8 under ECI 26) or bytes. */
export function encode(data: string | Uint8Array, options?: EncodeOptions): Symbol;

/** The formats the module draws, in the order of its table. */
export function formats(): Array<{ name: string; mediaType: string }>;

export type ErrorCode =
  | 'INVALID_ARGUMENT'
  | 'MESSAGE_TOO_LONG'
  | 'PICTURE_TOO_LARGE'
  | 'OUT_OF_MEMORY'
  | 'FILE_ERROR'
  | 'UNSUPPORTED'
  | 'SYMBOL_CROPPED'
  | 'BUFFER_TOO_SMALL'
  | 'WRITE_REFUSED'
  | 'INVALID_DATA'
  | 'NOT_INITIALIZED';

export declare class Ecc200Error extends Error {
  private constructor();
  readonly code: ErrorCode;
  /** MESSAGE_TOO_LONG: the data codewords the message needs and what the largest allowed symbol holds. */
  readonly codewordsNeeded?: number;
  readonly capacity?: number;
  /** SYMBOL_CROPPED: the picture, in pixels, that holds the symbol with its quiet zone. */
  readonly neededWidth?: number;
  readonly neededHeight?: number;
}
