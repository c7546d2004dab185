' Quillet example: a small PowerBASIC program with a few Subs.
' Open it in Quillet, press F5 to compile it with the PowerBASIC compiler and
' F6 to run it. F7 opens hello-powerbasic.pbr in the resource editor and F8
' converts it for the compiler.
#COMPILE EXE "hello-powerbasic.exe"
#DIM ALL
#INCLUDE "WIN32API.INC"
#RESOURCE "hello-powerbasic.pbr"

SUB ShowGreeting(BYVAL who AS STRING)
  MSGBOX "Hello, " & who & "!", %MB_ICONINFORMATION, "Quillet example"
END SUB

FUNCTION Square(BYVAL n AS LONG) AS LONG
  ' Folded when the listing is opened: press Alt+Q on its line to unfold it.
  FUNCTION = n * n
END FUNCTION

SUB ListSquares(BYVAL upTo AS LONG)
  LOCAL i AS LONG, text AS STRING
  FOR i = 1 TO upTo
    text = text & FORMAT$(i) & " squared is " & FORMAT$(Square(i)) & $CRLF
  NEXT
  MSGBOX text, %MB_OK, "Squares"
END SUB

FUNCTION PBMAIN() AS LONG
  ShowGreeting "PowerBASIC"
  ListSquares 5
END FUNCTION

'ZESETTINGS (don't change!):
'ZECURSOR=0
'ZETOGGLE=1011