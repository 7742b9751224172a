#!/bin/sh
# Runs a test program under Wine with gdiplus.dll disabled, keeping the other DLL overrides of the test rig.
WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}gdiplus=d" exec wine "$@"
