#!/usr/bin/env bash
# make-package.sh WIN32_BUILD_DIR WIN64_BUILD_DIR DIST_DIR
# Lays out the plugin folders from two finished builds, DIST/Tillwick (x86,
# the folder the browser's Plugin\ expects) and DIST/Tillwick-x64, and builds
# the setup program DIST/Tillwick-Setup.exe, which installs the x86 folder.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 3 ] || { echo "usage: $0 WIN32_BUILD WIN64_BUILD DIST" >&2; exit 2; }
b32=$1; b64=$2; dist=$3

"$here/lay-out.sh" "$b32" i686-w64-mingw32 "$dist/Tillwick"
"$here/lay-out.sh" "$b64" x86_64-w64-mingw32 "$dist/Tillwick-x64"
"$here/make-installer.sh" "$dist/Tillwick" x86 "$dist/Tillwick-Setup.exe"
