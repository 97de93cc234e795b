#!/usr/bin/env bash
# version.sh: the product version, as the top CMakeLists.txt's project() names it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
version=$(sed -n 's/^project(Tillwick VERSION \([0-9.]*\).*/\1/p' "$here/../CMakeLists.txt")
[ -n "$version" ] || { echo "no project version in CMakeLists.txt" >&2; exit 1; }
echo "$version"
