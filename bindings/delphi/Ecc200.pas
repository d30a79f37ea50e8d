{ The nine functions of ecc200.dll (include/ecc200.h) and the common
  functions of its per-call interface for Delphi and Free Pascal on 32-bit
  and 64-bit Windows.

  Types, exactly as the DLL expects them:
    int           -> Integer    (32 bits in every Delphi)
    double        -> Double     (Single would unbalance the stack)
    const char *  -> PAnsiChar  (zero-terminated bytes; PChar is wide in
                                 Delphi 2009 and later)
    unsigned char -> Byte       (1 success, 0 failure)
    int32_t       -> Integer    (a status: 0 success)
    size_t        -> NativeUInt (32 or 64 bits, as the program)
    struct *      -> Pointer    (nil: the defaults)
    ecc200_symbol ** -> out Pointer

  Windows loads ecc200.dll when the program starts, from the program's
  folder, the system folders or PATH; the 32-bit program needs the 32-bit DLL,
  the 64-bit program the 64-bit one.

  The message is the bytes before the first zero, at most 1999 of them;
  text goes as ISO 8859-1 (code page 28591), the symbol's default character
  set:
    type Latin1String = type AnsiString(28591);
    var Content: Latin1String;
    Content := Latin1String(Edit1.Text);  // '?' where it cannot hold a character
    DMSetMessage(PAnsiChar(Content));
  and through the per-call interface, as a PNG with the default picture:
    if ecc200_encode(PAnsiChar(Content), Length(Content), nil, Symbol, nil) = Ecc200Ok then
    begin
      Status := ecc200_save(Symbol, nil, Ecc200FormatPng, 'label.png', nil);
      ecc200_symbol_free(Symbol);
    end; }
unit Ecc200;

{$IFDEF FPC}{$MODE DELPHI}{$ENDIF}

interface

const
  Ecc200Library = 'ecc200.dll';

procedure DMSetDefault; stdcall; external Ecc200Library;
procedure DMSetSize(Width, Height: Integer); stdcall; external Ecc200Library;
procedure DMSetMessage(Text: PAnsiChar); stdcall; external Ecc200Library;
procedure DMSetInfo(ModuleSize: Double; Orientation, BorderStyle: Integer); stdcall; external Ecc200Library;
procedure DMSetBackColor(Red, Green, Blue: Integer); stdcall; external Ecc200Library;
procedure DMSetBarColor(Red, Green, Blue: Integer); stdcall; external Ecc200Library;
function DMCopyToClipboard: Byte; stdcall; external Ecc200Library;
function DMSaveAsWMF(FileName: PAnsiChar): Byte; stdcall; external Ecc200Library;
function DMSaveAsBMP(FileName: PAnsiChar): Byte; stdcall; external Ecc200Library;

{ The per-call interface: no settings shared between calls. The structs stay
  behind untyped pointers; nil takes the defaults (for the picture: the
  symbol and a quiet zone of two modules) and no diagnostic. Statuses are
  Integer, 0 (Ecc200Ok) on success; PAnsiChar results are the library's
  constant strings. }
const
  Ecc200Ok = 0;
  Ecc200FormatBmp = 1;
  Ecc200FormatWmf = 2;
  Ecc200FormatEmf = 3;
  Ecc200FormatPng = 4;
  Ecc200FormatSvg = 5;

function ecc200_version: PAnsiChar; stdcall; external Ecc200Library;
function ecc200_status_text(Status: Integer): PAnsiChar; stdcall; external Ecc200Library;
function ecc200_encode(Data: PAnsiChar; Length: NativeUInt; Options: Pointer; out Symbol: Pointer; Diagnostic: Pointer): Integer; stdcall; external Ecc200Library;
procedure ecc200_symbol_free(Symbol: Pointer); stdcall; external Ecc200Library;
function ecc200_symbol_rows(Symbol: Pointer): Integer; stdcall; external Ecc200Library;
function ecc200_symbol_columns(Symbol: Pointer): Integer; stdcall; external Ecc200Library;
function ecc200_save(Symbol, Picture: Pointer; Format: Integer; Path: PAnsiChar; Diagnostic: Pointer): Integer; stdcall; external Ecc200Library;

implementation

end.
