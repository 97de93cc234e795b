#!/usr/bin/env bash
# The soak run under wine64: builds the x64 DLL and the soak driver, starts a
# Wine session (Xvfb + wineserver) of its own, runs SOAK_ACTIONS (10000)
# scripted actions and prints the window-system object counts. Not in CI.
# Usage: soak/soak.sh [actions] [seed]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset win64 >/dev/null
[ -n "${SOAK_NO_BUILD:-}" ] || cmake --build --preset win64 -j2 --target soak_driver
# A host folder of its own: the end-to-end tests' folder holds their settings
# and scratch files, which a run beside them would change under their feet.
folder=$root/build/win64/soak/Maxthon
rm -rf "$folder" && mkdir -p "$(dirname "$folder")"
cp -r "$root/build/win64/tests/e2e/Maxthon" "$folder"
rm -rf "$folder/shots" "$folder/Plugin/Tillwick/settings.ini"
state=$root/build/win64/soak-wine
session=$root/cmake/wine-session.sh
bash "$session" start "$state" >/dev/null
trap 'bash "$session" stop "$state" >/dev/null 2>&1' EXIT
SOAK_ACTIONS=${1:-10000} SOAK_SEED=${2:-1} WINEDEBUG=-all \
    bash "$session" run "$state" "$folder/Soak.exe"
