{ The nine functions of ecc200.dll (include/ecc200.h) for Delphi and Free
  Pascal on 32-bit and 64-bit Windows.

  Types, exactly as the DLL expects them:
    int           -> Integer    (32 bits in every Delphi)
    double        -> Double     (Single would unbalance the stack)
    const char *  -> PAnsiChar  (zero-terminated bytes; PChar is wide in
                                 Delphi 2009 and later)
    unsigned char -> Byte       (1 success, 0 failure)

  Windows loads ecc200.dll when the program starts, from the program's
  folder, the system folders or PATH; the 32-bit program needs the 32-bit DLL,
  the 64-bit program the 64-bit one.

  The message is the bytes before the first zero, at most 1999 of them;
  text goes as ISO 8859-1 (code page 28591), the symbol's default character
  set:
    type Latin1String = type AnsiString(28591);
    var Content: Latin1String;
    Content := Latin1String(Edit1.Text);  // '?' where it cannot hold a character
    DMSetMessage(PAnsiChar(Content)); }
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

implementation

end.
