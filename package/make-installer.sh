#!/usr/bin/env bash
# make-installer.sh PLUGIN_FOLDER ARCH OUT_EXE
# Builds the setup program for a laid-out plugin folder (lay-out.sh) with
# NSIS: ARCH x86 for the browser users run, amd64 for the x64 build the
# Wine tests install.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 3 ] || { echo "usage: $0 PLUGIN_FOLDER x86|amd64 OUT_EXE" >&2; exit 2; }
src=$(cd "$1" && pwd); arch=$2; out=$3
command -v makensis >/dev/null || { echo "makensis (Debian package nsis) is needed" >&2; exit 1; }
mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")
lists=$(mktemp -d)
trap 'rm -rf "$lists"' EXIT

# The folder's files but the DLL (the script swaps that in itself), one
# File line each, and the Delete lines that take exactly those away again
# (files a user added to these folders stay).
( cd "$src"
  find . -type d ! -name . | sort | while read -r d; do
    d=${d#./}; echo "CreateDirectory \"\$PluginDir\\${d//\//\\}\""; done
  find . -type f ! -name Tillwick.dll | sort | while read -r f; do
    f=${f#./}; w=${f//\//\\}
    echo "File \"/oname=\$PluginDir\\$w\" \"$src/$f\""
  done ) >"$lists/install-files.nsh"
( cd "$src"
  find . -type f ! -name Tillwick.dll | sort | while read -r f; do
    f=${f#./}; echo "Delete \"\$INSTDIR\\${f//\//\\}\""; done
  find . -depth -type d ! -name . | while read -r d; do
    d=${d#./}; echo "RMDir \"\$INSTDIR\\${d//\//\\}\""; done ) >"$lists/uninstall-files.nsh"

makensis -V2 -NOCD -DARCH="$arch" -DVERSION="$("$here/version.sh")" -DSRC="$src" -DFILES="$lists" \
  -DOUTFILE="$out" "$here/installer.nsi"
echo "$out: $(stat -c %s "$out") bytes"
