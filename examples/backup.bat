@echo off
rem Torvane backup script. Brelix.exe puts the antivirus program's folder in place of
rem the token in the SOURCE line below, writes this file back and starts it.
rem
rem The folder is written in the system's ANSI code page, but cmd reads each line of a
rem script in the console's code page, which is the OEM one. So the console is switched to
rem the ANSI code page (from the registry) before the SOURCE line, and back at the end;
rem a folder with letters outside ASCII is then found.
setlocal
for /f "tokens=2 delims=:." %%c in ('chcp') do for %%n in (%%c) do set "CONSOLE_CODE_PAGE=%%n"
for /f "tokens=1,3" %%a in ('reg query "HKLM\SYSTEM\CurrentControlSet\Control\Nls\CodePage" /v ACP') do (
    if /i "%%a"=="ACP" chcp %%b >nul
)
set "SOURCE=PATHtoFOLDER"

rem A dated copy beside this script: "Antivir backup 2026-12-06" or as the date reads here.
rem To keep it elsewhere, name that folder in the TARGET line, for example
rem     set "TARGET=D:\Backups\Antivir %STAMP%"
set "STAMP=%DATE:/=-%"
set "STAMP=%STAMP:.=-%"
set "TARGET=%~dp0Antivir backup %STAMP%"

rem xcopy copies every file and folder, empty ones too (/e), hidden and system files (/h)
rem and their attributes (/k), over an earlier copy of the same day (/y); "xcopy /?" lists
rem the other switches.
echo Copying "%SOURCE%"
echo      to "%TARGET%"
xcopy "%SOURCE%" "%TARGET%\" /e /i /h /k /y
if errorlevel 1 (
    set "RESULT=1"
    echo The backup failed.
) else (
    set "RESULT=0"
    echo The backup is complete.
)
chcp %CONSOLE_CODE_PAGE% >nul
pause
exit /b %RESULT%
