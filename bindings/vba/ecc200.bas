Attribute VB_Name = "Ecc200"
' The nine functions of ecc200.dll (include/ecc200.h) for VBA in 32-bit and
' 64-bit Office (Excel, Access, Word) and for VB6. Import this file into the
' VBA project (File > Import File).
'
' Types, exactly as the DLL expects them:
'   int           -> ByVal Long     (VBA's Integer is 16 bits: wrong)
'   double        -> ByVal Double   (Single would unbalance the stack)
'   const char *  -> ByVal String   (VBA passes a zero-terminated copy in the
'                                    ANSI code page)
'   unsigned char -> Byte result    (1 success, 0 failure)
'
' 32-bit Office needs the 32-bit ecc200.dll, 64-bit Office the 64-bit one.
' Windows looks for "ecc200.dll" in the Office program's folder, the system
' folders, the current folder and PATH; call Ecc200Load with the DLL's full
' path first to take it from anywhere, for example beside the workbook:
'   Ecc200Load ThisWorkbook.Path & "\ecc200.dll"
'
' The message goes through the ANSI code page: on Western systems (1252)
' every character of ISO 8859-1 except those of 0x80 to 0x9F gives the byte
' the symbol needs. At most 1999 characters, no Chr(0).
Option Explicit

#If VBA7 Then
Public Declare PtrSafe Sub DMSetDefault Lib "ecc200.dll" ()
Public Declare PtrSafe Sub DMSetSize Lib "ecc200.dll" (ByVal width As Long, ByVal height As Long)
Public Declare PtrSafe Sub DMSetMessage Lib "ecc200.dll" (ByVal text As String)
Public Declare PtrSafe Sub DMSetInfo Lib "ecc200.dll" (ByVal moduleSize As Double, ByVal orientation As Long, ByVal borderStyle As Long)
Public Declare PtrSafe Sub DMSetBackColor Lib "ecc200.dll" (ByVal red As Long, ByVal green As Long, ByVal blue As Long)
Public Declare PtrSafe Sub DMSetBarColor Lib "ecc200.dll" (ByVal red As Long, ByVal green As Long, ByVal blue As Long)
Public Declare PtrSafe Function DMCopyToClipboard Lib "ecc200.dll" () As Byte
Public Declare PtrSafe Function DMSaveAsWMF Lib "ecc200.dll" (ByVal fileName As String) As Byte
Public Declare PtrSafe Function DMSaveAsBMP Lib "ecc200.dll" (ByVal fileName As String) As Byte
Private Declare PtrSafe Function LoadLibraryA Lib "kernel32" (ByVal lpLibFileName As String) As LongPtr
#Else
Public Declare Sub DMSetDefault Lib "ecc200.dll" ()
Public Declare Sub DMSetSize Lib "ecc200.dll" (ByVal width As Long, ByVal height As Long)
Public Declare Sub DMSetMessage Lib "ecc200.dll" (ByVal text As String)
Public Declare Sub DMSetInfo Lib "ecc200.dll" (ByVal moduleSize As Double, ByVal orientation As Long, ByVal borderStyle As Long)
Public Declare Sub DMSetBackColor Lib "ecc200.dll" (ByVal red As Long, ByVal green As Long, ByVal blue As Long)
Public Declare Sub DMSetBarColor Lib "ecc200.dll" (ByVal red As Long, ByVal green As Long, ByVal blue As Long)
Public Declare Function DMCopyToClipboard Lib "ecc200.dll" () As Byte
Public Declare Function DMSaveAsWMF Lib "ecc200.dll" (ByVal fileName As String) As Byte
Public Declare Function DMSaveAsBMP Lib "ecc200.dll" (ByVal fileName As String) As Byte
Private Declare Function LoadLibraryA Lib "kernel32" (ByVal lpLibFileName As String) As Long
#End If

' Loads ecc200.dll from its full path, so that the declarations above find
' it already in the process. Returns False when it cannot be loaded (missing,
' or built for the other bitness of Office).
Public Function Ecc200Load(ByVal dllPath As String) As Boolean
    Ecc200Load = (LoadLibraryA(dllPath) <> 0)
End Function

' Example: "Hello, world" as a BMP file beside the workbook.
Public Sub Ecc200Example()
    DMSetDefault
    DMSetSize 400, 400
    DMSetMessage "Hello, world"
    DMSetInfo 0.15, 0, 2
    If DMSaveAsBMP(ThisWorkbook.Path & "\label.bmp") = 0 Then
        MsgBox "ecc200: the symbol could not be written"
    End If
End Sub
