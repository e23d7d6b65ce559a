@echo off
rem Checks the question pictures in the img folder beside this file as Brzdomat would load them,
rem then writes the review sheet beside it and opens it. Only ASCII here: cmd reads this file in
rem the console's code page, and the checker says everything else itself.
"%~dp0brzdomat-check-pictures.exe" --open --sheet "%~dp0Brzdomat-kontrola-obrazku.pdf" "%~dp0."
pause
