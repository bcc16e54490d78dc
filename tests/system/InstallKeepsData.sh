#!/bin/sh
# Installing the program folder creates the tables and the placeholder picture only where they are
# missing: a reinstall keeps the user's items, settings and pictures.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in habitra Data/Habitra.db Data/Regnr.DB Data/Config.DB Billeder/Ingen.jpg Help/Index.html \
         English.lng Norsk.lng Svensk.lng Deutsch.lng habitra.desktop; do
    [ -e "$prefix/$f" ] || fail "$f missing after install"
done
[ "$(sqlite3 "$prefix/Data/Config.DB" 'SELECT Hojde, Bredde, Sprog, Hojde_oversigt, Bredde_oversigt FROM Config')" = "564|1024|-1|768|1024" ] \
    || fail "settings record not as delivered"
[ "$(sqlite3 "$prefix/Data/Habitra.db" 'SELECT count(*) FROM Habitra')" = 0 ] || fail "item table not empty"
grep -q "^Path=$prefix\$" "$prefix/habitra.desktop" || fail "desktop entry does not point at the program folder"

# The user's work.
sqlite3 "$prefix/Data/Habitra.db" "INSERT INTO Habitra (Beskrivelse, Foto, Kategori) VALUES ('Sofa', 7, 'Møbler')"
sqlite3 "$prefix/Data/Config.DB" "UPDATE Config SET Hojde = 700, Sprog = 2"
echo "own placeholder" > "$prefix/Billeder/Ingen.jpg"
echo "picture" > "$prefix/Billeder/7.jpg"

cmake --install "$build" --prefix "$prefix" >/dev/null
[ "$(sqlite3 "$prefix/Data/Habitra.db" 'SELECT Beskrivelse FROM Habitra WHERE Foto = 7')" = "Sofa" ] || fail "item lost"
[ "$(sqlite3 "$prefix/Data/Config.DB" 'SELECT Hojde, Sprog FROM Config')" = "700|2" ] || fail "settings replaced"
[ "$(cat "$prefix/Billeder/Ingen.jpg")" = "own placeholder" ] || fail "placeholder replaced"
[ -f "$prefix/Billeder/7.jpg" ] || fail "picture lost"
echo "install keeps data: ok"
