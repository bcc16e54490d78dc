#!/bin/sh
# Starts the installed program folder under Xvfb, waits for its main window, then asks it to stop the
# way a desktop session does and checks that it ended cleanly and saved its settings in the program
# folder, without making a data folder in the user's home.
set -eu
build=$1
prefix=$(mktemp -d)
work=$(mktemp -d)
cleanup() {
    [ -n "${app:-}" ] && kill -9 "$app" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$prefix" "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
sqlite3 "$prefix/Data/Config.DB" "UPDATE Config SET Hojde = 600, Bredde = 900"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
unset QT_QPA_PLATFORM
# A copy of Habitra that the user runs meanwhile must not count as the running copy.
export TMPDIR="$work"
export HOME="$work/home"
unset XDG_DATA_HOME
mkdir -p "$HOME"

(cd "$prefix" && exec ./habitra) >"$work/log" 2>&1 &
app=$!
# The window exists, named and at its default size, while the program still opens its tables; only
# once it is mapped has the stored size been applied.
found=""
for _ in $(seq 100); do
    window=$(xwininfo -root -tree 2>/dev/null | grep '"Habitra"' | head -1 | awk '{print $1}')
    if [ -n "$window" ] && xwininfo -id "$window" 2>/dev/null | grep -q "Map State: IsViewable"; then
        found=yes
        break
    fi
    kill -0 "$app" 2>/dev/null || break
    sleep 0.2
done
[ -n "$found" ] || { cat "$work/log"; fail "main window did not come up"; }
geometry=$(xwininfo -root -tree | grep '"Habitra"' | head -1)
echo "window: $geometry"
echo "$geometry" | grep -q "900x600" || fail "stored window size not applied"
import -window root "$build/end-to-end.png" 2>/dev/null || true

kill -TERM "$app"
status=0
wait "$app" || status=$?
app=""
[ "$status" = 0 ] || { cat "$work/log"; fail "program ended with status $status"; }
[ "$(sqlite3 "$prefix/Data/Config.DB" 'SELECT Hojde, Bredde, Sprog FROM Config')" = "600|900|-1" ] \
    || fail "settings not saved at close: $(sqlite3 "$prefix/Data/Config.DB" 'SELECT * FROM Config')"
[ -z "$(ls -A "$HOME/.local/share" 2>/dev/null | grep -i habitra)" ] || fail "a data folder was made in the home"
echo "end to end: ok"
