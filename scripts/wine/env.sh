# Sourced by the Wine scripts with the prefix as its argument: the environment that every Wine
# program of the tests runs in.
#
# - The locale ja_JP.UTF-8 gives the ANSI code page 932, as on the program's home machines.
# - Wine reports only its errors (such as a program it could not start), unless WINEDEBUG asks
#   for more, and offers to install neither its .NET nor its
#   HTML engine (mscoree, mshtml).
# - Its debugger never starts (winedbg.exe disabled): a program that crashes, as a test's
#   checker does on purpose, ends at once with its exception code, as on a Windows machine
#   without a debugger.
export WINEPREFIX=$1
export WINEDEBUG=${WINEDEBUG:--all,err+all} LC_ALL=ja_JP.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
# What the running session of the prefix left for its users: "DISPLAY XVFB-PID WATCHER-PID".
wine_session_file=$WINEPREFIX.session
