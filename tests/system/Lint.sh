#!/bin/sh
# Lintian finds no error in the package that the package test made. Ends with 77 (skipped) when
# lintian or the package is missing.
set -eu
build=$1
command -v lintian >/dev/null || { echo "SKIP: lintian is missing"; exit 77; }
deb=$(ls "$build"/tests/system/package/habitra_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "SKIP: no package was made"; exit 77; }
# Errors only; lintian's warnings and notes are shown but do not fail the test.
lintian --fail-on error "$deb"
echo "lint: ok"
