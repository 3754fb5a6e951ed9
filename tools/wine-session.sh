# Sourced by the test and run helpers: one Xvfb display, one Wine prefix under build/ and one
# persistent wineserver for everything that runs under Wine.
# shellcheck shell=bash

kembo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$kembo_root/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
kembo_xvfb_pid=""

# Starts Xvfb on a free display unless told to use an existing one. The server picks its own
# display number (-displayfd), so runs started side by side never share one.
kembo_start_display() {
  if [ -n "${KEMBO_USE_DISPLAY:-}" ]; then
    export DISPLAY="$KEMBO_USE_DISPLAY"
    return
  fi
  local numberFile
  numberFile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
  kembo_xvfb_pid=$!
  local i
  for i in $(seq 1 100); do
    if [ -s "$numberFile" ]; then
      export DISPLAY=":$(tr -d '[:space:]' <"$numberFile")"
      rm -f "$numberFile"
      return 0
    fi
    kill -0 "$kembo_xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$numberFile"
  echo "wine-session: could not start Xvfb" >&2
  return 1
}

# Creates the prefix once: no prompts, no window-manager delays, Japanese glyphs.
kembo_prepare_prefix() {
  if [ ! -f "$WINEPREFIX/.kembo-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >"$kembo_root/build/wineboot.log" 2>&1
    local reg="$kembo_root/build/wine-prefix.reg"
    iconv -f UTF-8 -t UTF-16LE "$kembo_root/tools/wine-prefix.reg" | { printf '\xff\xfe'; cat; } >"$reg"
    wine regedit /S "$(winepath -w "$reg")" >>"$kembo_root/build/wineboot.log" 2>&1
    wineserver -w
    touch "$WINEPREFIX/.kembo-ready"
  fi
}

# The test suites run as on a Japanese system: Wine takes the user's display language from
# LC_MESSAGES, so the program shows its Japanese texts unless a test asks for English. The code
# page stays the default one (LC_CTYPE is left alone). The locale is compiled into build/,
# beside the C.UTF-8 one, as LOCPATH replaces the system's locale folder.
kembo_japanese_messages() {
  local dir="$kembo_root/build/locale"
  if [ ! -d "$dir/ja_JP.UTF-8" ] || [ ! -d "$dir/C.UTF-8" ]; then
    mkdir -p "$dir"
    localedef -i ja_JP -f UTF-8 "$dir/ja_JP.UTF-8" >/dev/null 2>&1 || true
    localedef -i C -f UTF-8 "$dir/C.UTF-8" >/dev/null 2>&1 || true
  fi
  # Only these two locales are found there: the rest is C.UTF-8, whatever the machine's is.
  unset LC_ALL
  export LOCPATH="$dir" LANG=C.UTF-8
  # For the programs it starts: the shell itself does not look in LOCPATH, and would warn.
  export LC_MESSAGES=ja_JP.UTF-8 2>/dev/null
}

# Whether this machine runs 32-bit programs: some hosts run 64-bit user code only, and refuse
# i386 executables (Wine's 32-bit loader among them) with "Exec format error".
kembo_runs_32bit() {
  wine --version >/dev/null 2>&1
}

# On such a host the Windows suites run against the 64-bit build under 64-bit Wine, in a prefix
# of its own. Debian's wine scripts take the 32-bit loader whenever it is installed, so `wine`
# (and `wine-stable`, which wineboot and regedit call) are pointed at the 64-bit one.
kembo_use_64bit_wine() {
  local bin="$kembo_root/build/wine64-bin" name
  mkdir -p "$bin"
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$bin/$name"
    chmod +x "$bin/$name"
  done
  export PATH="$bin:$PATH" WINELOADER=/usr/lib/wine/wine64 WINEARCH=win64
  export WINEPREFIX="$kembo_root/build/wineprefix64"
}

kembo_start_wine() {
  kembo_start_display
  kembo_prepare_prefix
  wineserver -p
  trap kembo_stop_wine EXIT
}

kembo_stop_wine() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$kembo_xvfb_pid" ]; then
    kill "$kembo_xvfb_pid" >/dev/null 2>&1 || true
    wait "$kembo_xvfb_pid" 2>/dev/null || true
  fi
}
