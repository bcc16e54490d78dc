#!/bin/sh
# Builds the Debian package, unpacks it into a scratch root and starts the program from there the
# way a new user of an installed package does: with an empty home, from an unrelated working
# directory. The program must make the user's data folder and come up; a second start must find
# the user's data as it was left. Leaves the package in <build>/tests/system/package for the lint.
# Ends with 77 (skipped) when a tool it needs is missing.
set -eu
build=$1
version=$2
for tool in cpack dpkg dpkg-shlibdeps Xvfb xwininfo sqlite3; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
out="$build/tests/system/package"
work=$(mktemp -d)
cleanup() {
    [ -n "${app:-}" ] && kill -9 "$app" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

rm -rf "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; fail "cpack did not build the package"; }
rm -rf "$out/_CPack_Packages"
deb="$out/habitra_${version}_amd64.deb"
[ -f "$deb" ] || { ls "$out"; fail "habitra_${version}_amd64.deb not made"; }
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libsqlite3-0 libjpeg62-turbo libheif1; do
    echo "$depends" | grep -q "$library" || fail "Depends lacks $library: $depends"
done

root="$work/root"
dpkg -x "$deb" "$root"
for f in bin/habitra share/habitra/English.lng share/habitra/Norsk.lng share/habitra/Svensk.lng \
         share/habitra/Deutsch.lng share/habitra/Help/Index.html share/habitra/Billeder/Ingen.jpg \
         share/applications/habitra.desktop share/metainfo/dk.habitra.Habitra.metainfo.xml \
         share/icons/hicolor/48x48/apps/habitra.png share/icons/hicolor/256x256/apps/habitra.png \
         share/man/man1/habitra.1.gz share/doc/habitra/copyright; do
    [ -e "$root/usr/$f" ] || fail "/usr/$f missing from the package"
done
[ ! -e "$root/usr/bin/Data" ] || fail "the package carries tables"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/habitra.desktop" || fail "desktop entry invalid"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/dk.habitra.Habitra.metainfo.xml" >"$work/as.log" 2>&1 \
        || { cat "$work/as.log"; fail "metainfo invalid"; }
fi
[ "$("$root/usr/bin/habitra" --version)" = "Habitra $version" ] || fail "--version: $("$root/usr/bin/habitra" --version)"
"$root/usr/bin/habitra" --help | grep -q -- "--version" || fail "--help does not list --version"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
unset QT_QPA_PLATFORM XDG_DATA_HOME
export HOME="$work/home" TMPDIR="$work"
mkdir -p "$HOME" "$work/elsewhere"
data="$HOME/.local/share/Habitra"

# Starts the unpacked program, waits for the window named $1 and for the main window at the size
# $2, checks that no window named $3 shows, takes a screenshot named $4, then ends the program as
# a desktop session does.
run() {
    (cd "$work/elsewhere" && exec "$root/usr/bin/habitra") >"$work/log" 2>&1 &
    app=$!
    found=""
    for _ in $(seq 100); do
        if xwininfo -root -tree 2>/dev/null | grep -q "\"$1\""; then found=yes; break; fi
        kill -0 "$app" 2>/dev/null || break
        sleep 0.2
    done
    [ -n "$found" ] || { cat "$work/log"; xwininfo -root -tree | grep '"' || true; fail "window \"$1\" did not come up"; }
    sleep 1
    import -window root "$build/$4.png" 2>/dev/null || true
    xwininfo -root -tree | grep '"Habitra"' | grep -q " $2+" || fail "main window did not come up at $2"
    if [ -n "$3" ] && xwininfo -root -tree | grep -q "\"$3\""; then fail "window \"$3\" came up"; fi
    kill -TERM "$app"
    status=0
    wait "$app" || status=$?
    app=""
    [ "$status" = 0 ] || { cat "$work/log"; fail "program ended with status $status"; }
}

# First start: an empty register gives the first-use advice, which needs every table open.
run Information 1024x564 "" package-first-start
for f in Data/Habitra.db Data/Regnr.DB Data/Config.DB; do
    [ -f "$data/$f" ] || fail "$f not made in the user's data folder"
done
cmp -s "$data/Billeder/Ingen.jpg" "$root/usr/share/habitra/Billeder/Ingen.jpg" || fail "placeholder not copied"
[ "$(sqlite3 "$data/Data/Config.DB" 'SELECT Sprog, Hojde_oversigt, Bredde_oversigt FROM Config')" = "-1|768|1024" ] \
    || fail "settings record not as delivered: $(sqlite3 "$data/Data/Config.DB" 'SELECT * FROM Config')"
[ ! -e "$data/English.lng" ] && [ ! -e "$data/habitra" ] || fail "program files copied into the data folder"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "files left in the working directory: $(ls -A "$work/elsewhere")"

# The user's work survives a new start and a reinstalled package.
sqlite3 "$data/Data/Habitra.db" "INSERT INTO Habitra (Beskrivelse, Foto, Kategori) VALUES ('Sofa', 7, 'Antikviteter')"
sqlite3 "$data/Data/Config.DB" "UPDATE Config SET Hojde = 600, Bredde = 900"
cp "$data/Billeder/Ingen.jpg" "$data/Billeder/7.jpg"
printf own >>"$data/Billeder/Ingen.jpg" # still a picture: the reader stops at its end marker
rm -rf "$root" && dpkg -x "$deb" "$root"
run Habitra 900x600 Information package-second-start
[ "$(sqlite3 "$data/Data/Habitra.db" 'SELECT Beskrivelse FROM Habitra WHERE Foto = 7')" = "Sofa" ] || fail "item lost"
[ "$(sqlite3 "$data/Data/Config.DB" 'SELECT Hojde, Bredde FROM Config')" = "600|900" ] || fail "settings lost"
[ "$(tail -c 3 "$data/Billeder/Ingen.jpg")" = own ] || fail "placeholder replaced"
[ -f "$data/Billeder/7.jpg" ] || fail "picture lost"
echo "package: ok"
