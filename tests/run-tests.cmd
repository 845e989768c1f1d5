@echo off
rem Runs Torvane's Windows tests on this desktop and keeps all they print in
rem test-report.txt beside this file, the report for the maker. Arguments go to
rem each test program, for example --gtest_filter=Go.* to run some tests again.
setlocal
set "HERE=%~dp0"
cd /d "%HERE%"
set "REPORT=%HERE%test-report.txt"
set "ARGS=%*"
set FAILED=0
if not exist "%HERE%e2e_tests.exe" (
    echo Extract the whole zip into a folder first, then run run-tests.cmd there.
    pause
    exit /b 1
)

echo Torvane @VERSION@: the Windows tests
echo The tests click and type in the windows they open: leave the mouse and the
echo keyboard alone until they end, in a minute or two.
> "%REPORT%" echo Torvane @VERSION@: the Windows tests, started %DATE% %TIME%
ver >> "%REPORT%"

call :run platform_tests.exe
call :run e2e_tests.exe

echo.
if %FAILED% == 0 (
    echo Result: every test program passed. Skipped tests are listed above with why.
) else (
    echo Result: %FAILED% of 2 test programs failed.
)
>> "%REPORT%" echo Test programs that failed: %FAILED% of 2
call :say Not run: each skipped test above, with its reason; and CodePage932.*,
call :say which GoogleTest counts as "disabled": it needs Windows in code page 932
call :say (Japanese), where run-tests.cmd --gtest_also_run_disabled_tests runs it.
echo.
echo Please attach the report, whatever the result, to an issue on the Torvane
echo project for its maker, and say which edition of Windows this is, such as
echo "Windows 10 Home":
echo     "%REPORT%"
pause
exit /b %FAILED%

rem Shows a line and adds it to the report.
:say
echo %*
>> "%REPORT%" echo %*
exit /b

rem Runs one test program, shows what it printed and adds that to the report.
:run
set "PROGRAM=%~1"
echo.
echo == %PROGRAM% ==
>> "%REPORT%" echo.
>> "%REPORT%" echo == %PROGRAM% ==
"%HERE%%PROGRAM%" --gtest_color=no %ARGS% > "%HERE%%PROGRAM%.log" 2>&1
set RESULT=%ERRORLEVEL%
type "%HERE%%PROGRAM%.log"
type "%HERE%%PROGRAM%.log" >> "%REPORT%"
del "%HERE%%PROGRAM%.log"
if %RESULT% == 0 (
    echo == %PROGRAM%: passed ==
    >> "%REPORT%" echo == %PROGRAM%: passed ==
) else (
    echo == %PROGRAM%: FAILED, exit code %RESULT% ==
    >> "%REPORT%" echo == %PROGRAM%: FAILED, exit code %RESULT% ==
    set /a FAILED+=1
)
exit /b
