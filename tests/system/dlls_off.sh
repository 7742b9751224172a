#!/bin/sh
# Runs a command with Wine's libraries of the given names switched off, as on a system that lacks them:
#   dlls_off.sh comdlg32,winmm wine program.exe ...
dlls=$1
shift
WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}$dlls=d" exec "$@"
