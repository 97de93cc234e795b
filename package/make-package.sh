#!/usr/bin/env bash
# make-package.sh WIN32_BUILD_DIR WIN64_BUILD_DIR DIST_DIR
# Lays out the plugin folders from two finished builds: DIST/Tillwick (x86,
# the folder the browser's Plugin\ expects) and DIST/Tillwick-x64. Refuses a
# DLL that lacks a COM export, exports a decorated name, or needs anything
# but system DLLs, so a broken build never reaches the package.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 3 ] || { echo "usage: $0 WIN32_BUILD WIN64_BUILD DIST" >&2; exit 2; }
b32=$1; b64=$2; dist=$3
version=$(sed -n 's/^project(Tillwick VERSION \([0-9.]*\).*/\1/p' "$here/../CMakeLists.txt")
[ -n "$version" ] || { echo "no project version in CMakeLists.txt" >&2; exit 1; }

SYSTEM_DLLS="advapi32 comctl32 comdlg32 gdi32 kernel32 msvcrt ole32 oleacc oleaut32 shell32 shlwapi user32 uuid version winmm ws2_32 urlmon wininet winhttp"
EXPORTS="DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer"

check_dll() {  # check_dll DLL OBJDUMP
  local dll=$1 objdump=$2 e imp ok=0 names
  names=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/\[/{print $NF}' | tail -n +2)
  for e in $EXPORTS; do
    grep -qx "$e" <<<"$names" || { echo "$dll: export $e missing (exports: $names)" >&2; ok=1; }
  done
  if grep -q '@' <<<"$names"; then echo "$dll: decorated export names: $names" >&2; ok=1; fi
  for imp in $("$objdump" -p "$dll" | awk '/DLL Name:/{print tolower($3)}'); do
    grep -qw "${imp%.dll}" <<<"$SYSTEM_DLLS" || { echo "$dll: imports non-system $imp" >&2; ok=1; }
  done
  return $ok
}

lay_out() {  # lay_out BUILD_DIR TRIPLE FOLDER
  local build=$1 triple=$2 dir=$dist/$3 dll=$1/src/dll/Tillwick.dll
  [ -f "$dll" ] || { echo "$dll not built" >&2; exit 1; }
  rm -rf "$dir"
  mkdir -p "$dir/Languages" "$dir/Icons" "$dir/Addons"
  "$triple-strip" -o "$dir/Tillwick.dll" "$dll"
  check_dll "$dir/Tillwick.dll" "$triple-objdump" || { rm -rf "$dir"; exit 1; }
  sed "s/@VERSION@/$version/" "$here/plugin.ini.in" | sed 's/$/\r/' >"$dir/plugin.ini"
  cp "$here/Languages/Language0000.ini" "$dir/Languages/"
  cp -r "$here"/Addons/. "$dir/Addons/"
  "$here/make-icons.sh" "$dir/Icons"
  echo "$dir: Tillwick.dll $(stat -c %s "$dir/Tillwick.dll") bytes stripped, version $version"
}

lay_out "$b32" i686-w64-mingw32 Tillwick
lay_out "$b64" x86_64-w64-mingw32 Tillwick-x64
