' Quillet example: a small FreeBASIC program with a few Subs.
' Open it in Quillet, press F5 to compile it with fbc and F6 to run it.
' Its resource file (hello-freebasic.res) is named in the project settings
' (Options, Project settings); F7 opens it in the resource editor.
#include once "windows.bi"

Sub ShowGreeting(ByRef who As String)
  MessageBox(NULL, "Hello, " & who & "!", "Quillet example", MB_OK Or MB_ICONINFORMATION)
End Sub

Function Square(ByVal n As Integer) As Integer
  ' Folded when the listing is opened: press Alt+Q on its line to unfold it.
  Return n * n
End Function

Sub ListSquares(ByVal upTo As Integer)
  Dim text As String
  For i As Integer = 1 To upTo
    text &= i & " squared is " & Square(i) & Chr(13, 10)
  Next
  MessageBox(NULL, text, "Squares", MB_OK)
End Sub

ShowGreeting("FreeBASIC")
ListSquares(5)

'ZESETTINGS (don't change!):
'ZECURSOR=0
'ZETOGGLE=101
'ZETARGET=1
'ZERESFILE=hello-freebasic.res