@echo off
REM #jww
REM #cd
REM #zw
REM #hc 要素数を数える範囲を選択してください
REM #e
REM jwcount: Jw_cad の外部変形 - 選択した要素の数を数えて表示します
start "" /wait jwcount.exe
