#!/usr/bin/env bash
# lay-out.sh BUILD_DIR TRIPLE FOLDER
# Lays out one plugin folder (what goes into the browser's Plugin\Tillwick)
# from a finished build. Refuses a DLL that lacks a COM export, exports a
# decorated name, or needs anything but system DLLs, so a broken build never
# reaches the package.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 3 ] || { echo "usage: $0 BUILD_DIR TRIPLE FOLDER" >&2; exit 2; }
build=$1; triple=$2; dir=$3; dll=$1/src/dll/Tillwick.dll
version=$("$here/version.sh")

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
