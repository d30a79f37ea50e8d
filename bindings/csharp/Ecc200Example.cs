// Writes MESSAGE as a Data Matrix symbol into BASE.bmp and BASE.wmf and puts
// it on the clipboard, through every one of the nine functions; then into
// BASE-call.bmp through the per-call interface.
//   mcs -out:Ecc200Example.exe Ecc200.cs Ecc200Example.cs
//   mono Ecc200Example.exe "Hello, world" label      (Linux)
//   Ecc200Example.exe "Hello, world" label           (Windows, beside ecc200.dll)
using System;
using System.Runtime.InteropServices;

static class Ecc200Example
{
    static int Main(string[] args)
    {
        if (args.Length != 2)
        {
            Console.Error.WriteLine("usage: Ecc200Example MESSAGE BASE");
            return 2;
        }
        Ecc200.DMSetDefault();
        Ecc200.DMSetSize(400, 400);
        Ecc200.DMSetMessage(Ecc200.Latin1(args[0]));
        Ecc200.DMSetInfo(0.15, 1, 2);  // modules of 0.15 cm, a quarter turn, a solid frame
        Ecc200.DMSetBarColor(0, 0, 96);
        Ecc200.DMSetBackColor(255, 255, 224);
        string[] failed = {
            Ecc200.DMSaveAsBMP(args[1] + ".bmp") == 1 ? null : "DMSaveAsBMP",
            Ecc200.DMSaveAsWMF(args[1] + ".wmf") == 1 ? null : "DMSaveAsWMF",
            Ecc200.DMCopyToClipboard() == 1 ? null : "DMCopyToClipboard",
        };
        foreach (string name in failed)
        {
            if (name == null) continue;
            Console.Error.WriteLine(name + " failed");
            return 1;
        }
        return SaveThroughCalls(Ecc200.Latin1(args[0]), args[1] + "-call.bmp");
    }

    // The default picture: the symbol and a quiet zone of two modules. The
    // bytes from Latin1 end in a zero, which the length leaves out.
    static int SaveThroughCalls(byte[] message, string path)
    {
        IntPtr symbol;
        int status = Ecc200.ecc200_encode(message, (UIntPtr)(message.Length - 1), IntPtr.Zero, out symbol, IntPtr.Zero);
        if (status == Ecc200.Ok)
        {
            Console.WriteLine("ecc200 " + Marshal.PtrToStringAnsi(Ecc200.ecc200_version()) + ": " +
                              Ecc200.ecc200_symbol_rows(symbol) + " x " + Ecc200.ecc200_symbol_columns(symbol));
            status = Ecc200.ecc200_save(symbol, IntPtr.Zero, Ecc200.FormatBmp, path, IntPtr.Zero);
            Ecc200.ecc200_symbol_free(symbol);
        }
        if (status == Ecc200.Ok) return 0;
        Console.Error.WriteLine(path + ": " + Ecc200.StatusText(status));
        return 1;
    }
}
