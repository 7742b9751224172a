# Wine and X environment for running Wertlauf and its tests; source it, then call wl_env_start.
#   WL_PREFIX_MODE=run  (default) a fresh prefix per run, copied from a cached template
#   WL_PREFIX_MODE=keep a persistent prefix (the player's) at $WL_PREFIX
# Every process started here is ended again by wl_env_stop.

export WINEARCH=win64
export WINEDEBUG=-all
# mshtml and mono stay off (no downloads, no engine); winedbg off so that a crash fails with a code.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d"

WL_CACHE_DIR=${XDG_CACHE_HOME:-$HOME/.cache}/wertlauf
WL_STARTED_XVFB=
WL_RUN_DIR=

wl_log() { echo "[wine-env] $*" >&2; }

# Runs a command with address-space randomisation off where setarch allows it: with it, a Wine program
# now and then found the address of Wine's shared user data taken and ended at once ("failed to map the
# shared user data").
wl_norandom() {
  if setarch "$(uname -m)" -R true 2>/dev/null; then
    setarch "$(uname -m)" -R "$@"
  else
    "$@"
  fi
}

# A ready prefix, made once per Wine version and copied for each run (a copy takes under a second).
wl_template_prefix() {
  local version template
  version=$(wine --version 2>/dev/null | tr -c 'A-Za-z0-9.\n-' '_')
  template="$WL_CACHE_DIR/prefix-template-$version"
  mkdir -p "$WL_CACHE_DIR"
  # Parallel runs wait for one another while the template is made.
  exec 8>"$WL_CACHE_DIR/.template.lock"
  flock 8
  if [ ! -f "$template/.complete" ]; then
    wl_log "creating a Wine prefix template in $template"
    rm -rf "$template"
    mkdir -p "$template"
    (
      export WINEPREFIX="$template"
      unset DISPLAY
      wineboot -i >/dev/null 2>&1 || true
      # Debian's Wine looks for its fonts in a path that does not exist.
      mkdir -p "$template/drive_c/windows/Fonts"
      cp -n /usr/share/wine/fonts/* "$template/drive_c/windows/Fonts/" 2>/dev/null || true
      # Wine draws its own frames and places windows exactly; no window manager needed.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1
      local subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
      wine reg add "$subst" /v Arial /d "Liberation Sans" /f >/dev/null 2>&1
      wine reg add "$subst" /v "Courier New" /d "Liberation Mono" /f >/dev/null 2>&1
      wine reg add "$subst" /v "Times New Roman" /d "Liberation Serif" /f >/dev/null 2>&1
      wineserver -k >/dev/null 2>&1 || true
      wineserver -w >/dev/null 2>&1 || true
    )
    [ -f "$template/system.reg" ] || { wl_log "wineboot failed"; flock -u 8; return 1; }
    touch "$template/.complete"
  fi
  flock -u 8
  exec 8>&-
  echo "$template"
}

wl_start_xvfb() {
  local d
  for d in $(seq 91 200); do
    if [ ! -e /tmp/.X11-unix/X$d ] && [ ! -e /tmp/.X$d-lock ]; then
      Xvfb ":$d" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
      WL_STARTED_XVFB=$!
      export DISPLAY=":$d"
      local i
      for i in $(seq 100); do
        # Our server must still be alive: another run may own this display.
        kill -0 "$WL_STARTED_XVFB" 2>/dev/null || break
        if xdpyinfo >/dev/null 2>&1; then
          sleep 0.2
          kill -0 "$WL_STARTED_XVFB" 2>/dev/null && return 0
          break
        fi
        sleep 0.1
      done
      kill "$WL_STARTED_XVFB" 2>/dev/null || true
      WL_STARTED_XVFB=
    fi
  done
  wl_log "could not start Xvfb"
  return 1
}

wl_env_start() {
  local template
  template=$(wl_template_prefix) || return 1
  if [ "${WL_PREFIX_MODE:-run}" = keep ]; then
    : "${WL_PREFIX:=${XDG_DATA_HOME:-$HOME/.local/share}/wertlauf/wine}"
    if [ ! -f "$WL_PREFIX/system.reg" ]; then
      mkdir -p "$(dirname "$WL_PREFIX")"
      cp -a "$template" "$WL_PREFIX"
    fi
    export WINEPREFIX="$WL_PREFIX"
  else
    WL_RUN_DIR=$(mktemp -d "${TMPDIR:-/tmp}/wertlauf-run.XXXXXX")
    cp -a "$template" "$WL_RUN_DIR/prefix"
    export WINEPREFIX="$WL_RUN_DIR/prefix"
    export WL_RUN_DIR
  fi
  if [ -z "${DISPLAY:-}" ] || [ "${WL_OWN_DISPLAY:-1}" = 1 ]; then
    wl_start_xvfb || return 1
  fi
  # One warm server for the whole run, started outside any test's output pipe.
  wineserver -p >/dev/null 2>&1
  wine cmd /c exit >/dev/null 2>&1 || true
}

# Keeps Wine's desktop up until wl_env_stop ends the server (see tests/support/WineWarmup.cpp), with the
# wine_warmup.exe of the build folder given.
wl_hold_desktop() {
  wine "$1/tests/wine_warmup.exe" hold >/dev/null 2>&1 &
  wine "$1/tests/wine_warmup.exe" wait >/dev/null 2>&1 || wl_log "the desktop holder did not start"
}

wl_env_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "$WL_STARTED_XVFB" ]; then
    kill "$WL_STARTED_XVFB" 2>/dev/null || true
    wait "$WL_STARTED_XVFB" 2>/dev/null || true
    WL_STARTED_XVFB=
  fi
  if [ -n "$WL_RUN_DIR" ] && [ -z "${WL_KEEP_RUN_DIR:-}" ]; then
    rm -rf "$WL_RUN_DIR"
  fi
  WL_RUN_DIR=
}
