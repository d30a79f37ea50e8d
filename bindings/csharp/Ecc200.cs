// The nine functions of ecc200 (include/ecc200.h) and the common functions
// of its per-call interface for C# and any .NET language: ecc200.dll on Windows (__stdcall on 32-bit), libecc200.so on
// Linux with Mono or .NET (the calling convention is ignored there).
//
// C types: int and int32_t are Int32 (int), double is Double (double, never
// float: the module size is a 64-bit double), unsigned char is Byte (1 on
// success, 0 on failure), const char * is a zero-terminated byte string,
// size_t is UIntPtr, pointers to the library's structs are IntPtr.
//
// The message is passed as bytes, because a string would be converted to the
// ANSI code page on Windows and to UTF-8 on Mono; Ecc200.Latin1 builds them
// from text in ISO 8859-1, the symbol's default character set.
using System;
using System.Runtime.InteropServices;

public static class Ecc200
{
    // "ecc200" is ecc200.dll on Windows; on Linux the runtime tries
    // libecc200.so (or follows a dllmap in the assembly's .config file).
    const string Library = "ecc200";

    [DllImport(Library, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
    public static extern void DMSetDefault();

    [DllImport(Library, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
    public static extern void DMSetSize(int width, int height);

    // text: zero-terminated bytes, at most 1999 before the zero (see Latin1).
    [DllImport(Library, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
    public static extern void DMSetMessage(byte[] text);

    [DllImport(Library, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
    public static extern void DMSetInfo(double moduleSize, int orientation, int borderStyle);

    [DllImport(Library, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
    public static extern void DMSetBackColor(int red, int green, int blue);

    [DllImport(Library, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
    public static extern void DMSetBarColor(int red, int green, int blue);

    [DllImport(Library, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
    public static extern byte DMCopyToClipboard();

    // fileName in the ANSI code page on Windows, UTF-8 on Linux.
    [DllImport(Library, CallingConvention = CallingConvention.StdCall, ExactSpelling = true, CharSet = CharSet.Ansi)]
    public static extern byte DMSaveAsWMF(string fileName);

    [DllImport(Library, CallingConvention = CallingConvention.StdCall, ExactSpelling = true, CharSet = CharSet.Ansi)]
    public static extern byte DMSaveAsBMP(string fileName);

    // The per-call interface: no settings shared between calls. The structs
    // stay behind IntPtr: IntPtr.Zero for the options, the picture and the
    // diagnostic takes the defaults (a picture just holding the symbol and
    // a quiet zone of two modules) and no diagnostic. const char * results
    // are the library's constant strings: read them with
    // Marshal.PtrToStringAnsi, never free them.
    public const int Ok = 0;
    public const int FormatBmp = 1, FormatWmf = 2, FormatEmf = 3, FormatPng = 4, FormatSvg = 5;

    [DllImport(Library, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
    public static extern IntPtr ecc200_version();

    [DllImport(Library, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
    public static extern IntPtr ecc200_status_text(int status);

    // data: length bytes (zero bytes allowed); symbol: free it with ecc200_symbol_free.
    [DllImport(Library, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
    public static extern int ecc200_encode(byte[] data, UIntPtr length, IntPtr options, out IntPtr symbol, IntPtr diagnostic);

    [DllImport(Library, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
    public static extern void ecc200_symbol_free(IntPtr symbol);

    [DllImport(Library, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
    public static extern int ecc200_symbol_rows(IntPtr symbol);

    [DllImport(Library, CallingConvention = CallingConvention.StdCall, ExactSpelling = true)]
    public static extern int ecc200_symbol_columns(IntPtr symbol);

    // path in the ANSI code page on Windows, UTF-8 on Linux.
    [DllImport(Library, CallingConvention = CallingConvention.StdCall, ExactSpelling = true, CharSet = CharSet.Ansi)]
    public static extern int ecc200_save(IntPtr symbol, IntPtr picture, int format, string path, IntPtr diagnostic);

    // The text of a status ("message too long").
    public static string StatusText(int status)
    {
        return Marshal.PtrToStringAnsi(ecc200_status_text(status));
    }

    public const int MaxMessageBytes = 1999;

    // The zero-terminated ISO 8859-1 bytes of text for DMSetMessage. Throws
    // ArgumentException for a character outside ISO 8859-1, a zero character
    // (the library would stop there) or more than 1999 characters (it would
    // cut the rest).
    public static byte[] Latin1(string text)
    {
        if (text.Length > MaxMessageBytes)
            throw new ArgumentException("the message is " + text.Length + " characters long; the library takes at most " + MaxMessageBytes, "text");
        byte[] bytes = new byte[text.Length + 1];
        for (int i = 0; i < text.Length; ++i)
        {
            char c = text[i];
            if (c == '\0' || c > '\u00FF')
                throw new ArgumentException("message character U+" + ((int)c).ToString("X4") + " at index " + i + " is a zero or outside ISO 8859-1", "text");
            bytes[i] = (byte)c;
        }
        return bytes;
    }
}
