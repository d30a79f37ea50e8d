// Writes MESSAGE as a Data Matrix symbol into BASE.bmp and BASE.wmf and puts
// it on the clipboard, through every one of the nine functions.
//   mcs -out:Ecc200Example.exe Ecc200.cs Ecc200Example.cs
//   mono Ecc200Example.exe "Hello, world" label      (Linux)
//   Ecc200Example.exe "Hello, world" label           (Windows, beside ecc200.dll)
using System;

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
        return 0;
    }
}
