#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) and
# runs each for a fixed number of executions, starting from fuzz/corpus/<target>.
# Usage: fuzz/run.sh [runs-per-target] [target...]
# Inputs of up to 64 KB, long ones tried from the start (-len_control=0) rather
# than reached slowly, each tested on a thread with a 1 MB stack (fuzz_target.h).
# New inputs the fuzzer finds go to build/fuzz/found/<target>, never into the
# repository's corpus; a crash leaves its input in build/fuzz/crash-<target>-*.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$root/build/fuzz
runs=${1:-100000}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(ini_reader plugin_list group_file whois_answer whois_request ptr_to_text
    text_pattern addon_meta escapers page_builders host_names)
# Beyond the normal build: clang with libFuzzer, and the HTML5 parser that
# judges the pages the builders write (./run test does not fuzz, so ./run
# does not install these).
missing=()
for p in clang-14 libclang-rt-14-dev libgumbo-dev pkg-config; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] || { echo "fuzz/run.sh needs: apt-get install ${missing[*]}" >&2; exit 1; }

CC=${CC:-clang-14} CXX=${CXX:-clang++-14} cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j2 --target $(printf '%s_fuzz ' "${targets[@]}")

status=0
for t in "${targets[@]}"; do
    mkdir -p "$build/found/$t"
    log=$build/$t.log
    seeds=("$here/corpus/$t")
    # The sample add-ons the package ships are the add-on reader's seeds.
    [ "$t" != addon_meta ] || seeds=("$here/../package/Addons")
    if "$build/${t}_fuzz" -runs="$runs" -max_len=65536 -len_control=0 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$build/crash-$t-" "$build/found/$t" "${seeds[@]}" >"$log" 2>&1; then
        result=ok
    else
        result=FAILED
        status=1
    fi
    done_line=$(grep -E '^Done [0-9]+ runs' "$log" | tail -1 || true)
    cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 || true)
    printf '%-14s %-7s %s %s\n' "$t" "$result" "${done_line:-(see $log)}" "$cov"
done
exit $status
