@REM 要素数表示 - 選択した要素を種類・レイヤ・線色・線種・線幅・ブロック名ごとに数えて表示、または集計表を作図します
@echo off
REM #jww
REM #cd
REM #hm要素数 |要素数を表示|集計表を作図|
REM #hc左クリック：要素数を表示　右クリック：集計表を作図
REM #:1
REM #hf
REM #h1
REM #hc要素数を数える範囲を選択してください
REM #g1
REM #gn
REM #zw
REM #e
REM #:2
REM #hf
REM #h1
REM #hc要素数を数える範囲を選択してください
REM #g1
REM #gn
REM #zw
REM #0表の左上を指示してください
REM #e
IF "%~1"=="2" GOTO TABLE
start "" /wait jwcount.exe
GOTO END
:TABLE
start "" /wait jwcount.exe /table
:END
