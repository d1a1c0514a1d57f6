@echo off
rem Starts the emulated board, then the server with the hello demo booted on
rem it through the simulated link adapter; stops the board when the server ends.
setlocal
set "here=%~dp0"
set "board=127.0.0.1:7012"
if not exist "%here%t800emu.exe" goto missing
if not exist "%here%demos\hello.btl" goto missing
start "Tessera emulated board" /min "%here%t800emu.exe" --listen %board%
rem A moment for the board to listen before the server opens the link.
ping -n 2 127.0.0.1 >nul
set "TESSEL_SIMULATED_C012=%board%"
"%here%tessel.exe" "%here%demos\hello.btl"
taskkill /fi "WINDOWTITLE eq Tessera emulated board*" >nul 2>&1
exit /b 0

:missing
echo The emulated board (t800emu.exe) or the demo (demos\hello.btl) is not in %here%
pause
exit /b 1
