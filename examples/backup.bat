@echo off
rem Torvane backup script. Brelix.exe puts the antivirus program's folder in place of
rem the token in the SOURCE line below, writes this file back and starts it.
rem
rem This file is in the system's ANSI code page, but the console reads scripts in its
rem OEM code page. For a folder with letters outside ASCII, switch the console to the
rem ANSI code page first, for example "chcp 1252 >nul" in Western Europe and America.
setlocal
set "SOURCE=PATHtoFOLDER"

rem A dated copy beside this script: "Antivir backup 2026-12-06" or as the date reads here.
set "STAMP=%DATE:/=-%"
set "STAMP=%STAMP:.=-%"
set "TARGET=%~dp0Antivir backup %STAMP%"

echo Copying "%SOURCE%"
echo      to "%TARGET%"
xcopy "%SOURCE%" "%TARGET%\" /e /i /h /k /y
if errorlevel 1 (
    echo The backup failed.
    pause
    exit /b 1
)
echo The backup is complete.
pause
