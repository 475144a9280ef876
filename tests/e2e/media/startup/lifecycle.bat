REM kalvora lifecycle
PATH C:\WINDOWS
