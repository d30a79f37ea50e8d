// The nine functions of ecc200 (include/ecc200.h) for C# and any .NET
// language: ecc200.dll on Windows (__stdcall on 32-bit), libecc200.so on
// Linux with Mono or .NET (the calling convention is ignored there).
//
// C types: int is Int32 (int), double is Double (double, never float: the
// module size is a 64-bit double), unsigned char is Byte (1 on success,
// 0 on failure), const char * is a zero-terminated byte string.
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
