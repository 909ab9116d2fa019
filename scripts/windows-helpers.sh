# Sourced by scripts/test-windows and scripts/test-windows-installer.

# winpath PATH: a Linux path as Wine names it on its Z: drive.
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }

# start_display FILE: Xvfb on a free display (its number written to FILE), its pid in xvfb, and
# DISPLAY exported for what follows.
start_display() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$1" 2>/dev/null &
    xvfb=$!
    tries=0
    while [ ! -s "$1" ] && [ "$tries" -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
    DISPLAY=:$(cat "$1")
    export DISPLAY
    unset WAYLAND_DISPLAY
}
