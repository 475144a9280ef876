REM kalvora e2e
PATH C:\WINDOWS