Attribute VB_Name = "Ecc200"
' The nine functions of ecc200.dll (include/ecc200.h) and the common functions
' of its per-call interface for VBA in 32-bit and 64-bit Office (Excel,
' Access, Word) and for VB6. Import this file into the
' VBA project (File > Import File).
'
' Types, exactly as the DLL expects them:
'   int           -> ByVal Long     (VBA's Integer is 16 bits: wrong)
'   double        -> ByVal Double   (Single would unbalance the stack)
'   const char *  -> ByVal String   (VBA passes a zero-terminated copy in the
'                                    ANSI code page)
'   unsigned char -> Byte result    (1 success, 0 failure)
'   int32_t       -> Long           (a status: 0 success)
'   pointer, size_t -> ByVal LongPtr (Long before VBA7); the structs stay
'                    behind pointers: 0 takes the defaults
'   ecc200_symbol ** -> ByRef LongPtr (the symbol comes back in it)
'   const char * result -> LongPtr  (the library's constant text: read it
'                    with Ecc200Text)
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
Public Declare PtrSafe Function ecc200_version Lib "ecc200.dll" () As LongPtr
Public Declare PtrSafe Function ecc200_status_text Lib "ecc200.dll" (ByVal status As Long) As LongPtr
Public Declare PtrSafe Function ecc200_encode Lib "ecc200.dll" (ByVal data As String, ByVal length As LongPtr, ByVal options As LongPtr, ByRef symbol As LongPtr, ByVal diagnostic As LongPtr) As Long
Public Declare PtrSafe Sub ecc200_symbol_free Lib "ecc200.dll" (ByVal symbol As LongPtr)
Public Declare PtrSafe Function ecc200_symbol_rows Lib "ecc200.dll" (ByVal symbol As LongPtr) As Long
Public Declare PtrSafe Function ecc200_symbol_columns Lib "ecc200.dll" (ByVal symbol As LongPtr) As Long
Public Declare PtrSafe Function ecc200_save Lib "ecc200.dll" (ByVal symbol As LongPtr, ByVal picture As LongPtr, ByVal format As Long, ByVal path As String, ByVal diagnostic As LongPtr) As Long
Private Declare PtrSafe Function LoadLibraryA Lib "kernel32" (ByVal lpLibFileName As String) As LongPtr
Private Declare PtrSafe Function lstrlenA Lib "kernel32" (ByVal text As LongPtr) As Long
Private Declare PtrSafe Sub RtlMoveMemory Lib "kernel32" (ByVal target As String, ByVal source As LongPtr, ByVal size As LongPtr)
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
Public Declare Function ecc200_version Lib "ecc200.dll" () As Long
Public Declare Function ecc200_status_text Lib "ecc200.dll" (ByVal status As Long) As Long
Public Declare Function ecc200_encode Lib "ecc200.dll" (ByVal data As String, ByVal length As Long, ByVal options As Long, ByRef symbol As Long, ByVal diagnostic As Long) As Long
Public Declare Sub ecc200_symbol_free Lib "ecc200.dll" (ByVal symbol As Long)
Public Declare Function ecc200_symbol_rows Lib "ecc200.dll" (ByVal symbol As Long) As Long
Public Declare Function ecc200_symbol_columns Lib "ecc200.dll" (ByVal symbol As Long) As Long
Public Declare Function ecc200_save Lib "ecc200.dll" (ByVal symbol As Long, ByVal picture As Long, ByVal format As Long, ByVal path As String, ByVal diagnostic As Long) As Long
Private Declare Function LoadLibraryA Lib "kernel32" (ByVal lpLibFileName As String) As Long
Private Declare Function lstrlenA Lib "kernel32" (ByVal text As Long) As Long
Private Declare Sub RtlMoveMemory Lib "kernel32" (ByVal target As String, ByVal source As Long, ByVal size As Long)
#End If

' The per-call interface's statuses and formats (include/ecc200.h).
Public Const ECC200_OK As Long = 0
Public Const ECC200_FORMAT_BMP As Long = 1
Public Const ECC200_FORMAT_WMF As Long = 2
Public Const ECC200_FORMAT_EMF As Long = 3
Public Const ECC200_FORMAT_PNG As Long = 4
Public Const ECC200_FORMAT_SVG As Long = 5

' Loads ecc200.dll from its full path, so that the declarations above find
' it already in the process. Returns False when it cannot be loaded (missing,
' or built for the other bitness of Office).
Public Function Ecc200Load(ByVal dllPath As String) As Boolean
    Ecc200Load = (LoadLibraryA(dllPath) <> 0)
End Function

' The library's constant text at address (ecc200_version, ecc200_status_text).
#If VBA7 Then
Public Function Ecc200Text(ByVal address As LongPtr) As String
#Else
Public Function Ecc200Text(ByVal address As Long) As String
#End If
    Dim text As String
    text = String$(lstrlenA(address), vbNullChar)
    RtlMoveMemory text, address, Len(text)
    Ecc200Text = text
End Function

' Example: message as a PNG file through the per-call interface, with the
' default picture (the symbol and a quiet zone of two modules).
Public Function Ecc200SavePng(ByVal message As String, ByVal path As String) As String
#If VBA7 Then
    Dim symbol As LongPtr
#Else
    Dim symbol As Long
#End If
    Dim status As Long
    status = ecc200_encode(message, Len(message), 0, symbol, 0)
    If status = ECC200_OK Then
        status = ecc200_save(symbol, 0, ECC200_FORMAT_PNG, path, 0)
        ecc200_symbol_free symbol
    End If
    If status <> ECC200_OK Then Ecc200SavePng = Ecc200Text(ecc200_status_text(status))
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
