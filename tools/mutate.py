#!/usr/bin/env python3
"""Mutation testing of the native suite.

Each mutant of tools/mutants.txt puts one plausible mistake into the product
code; the native suite is built in its own folder and run, and the file is
always restored. A mutant the suite does not notice names a missing test.

    tools/mutate.py                 # every mutant, in the current worktree
    tools/mutate.py --only ID,ID    # some of them
    tools/mutate.py --list          # where each one applies, nothing built
    tools/mutate.py --matrix FILE   # every test on each mutant: which tests kill it

The matrix shows which mutants a test kills that no other test does: a test
that kills none of its own may be cut without lowering the score.
"""
import argparse
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

KEYS = ("id", "what", "file", "from", "to")
TEST_TIMEOUT_S = 60  # a hang counts as killed


def read_mutants(path):
    mutants, block = [], {}

    def close_block():
        if not block:
            return
        missing = [k for k in KEYS if k not in block]
        if missing or not block["from"]:
            sys.exit(f"{path}: mutant {block.get('id', '?')} lacks {missing or ['from text']}")
        mutants.append(dict(block))
        block.clear()

    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if line.startswith("#"):
            continue
        if not line.strip():
            close_block()
            continue
        key, colon, value = line.partition(":")
        if not colon or key not in KEYS:
            sys.exit(f"{path}:{number}: expected one of {', '.join(KEYS)}")
        block[key] = value[1:] if value.startswith(" ") else value
    close_block()
    ids = [m["id"] for m in mutants]
    if len(ids) != len(set(ids)):
        sys.exit(f"{path}: an id is used twice")
    return mutants


def locate(repo, mutant):
    """The file holding the original text exactly once: the named one, else the
    only such .cpp/.h under src/ (code moves between files); None otherwise."""
    needle = mutant["from"].encode()
    named = repo / mutant["file"]
    if named.is_file() and named.read_bytes().count(needle) == 1:
        return named
    holders = [p for p in sorted((repo / "src").rglob("*"))
               if p.suffix in (".cpp", ".h") and p.is_file() and p.read_bytes().count(needle) == 1]
    return holders[0] if len(holders) == 1 else None


def run(cmd, log, cwd=None):
    """Runs cmd with its output appended to log; returns (exit code, output)."""
    result = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            errors="replace")
    with log.open("a", encoding="utf-8") as f:
        f.write(f"$ {' '.join(map(str, cmd))}\n{result.stdout}\n")
    return result.returncode, result.stdout


def build_and_test(build_dir, log, every_test=False):
    """(outcome, tests): outcome is 'passed', 'killed' or 'does not compile';
    tests names the first failing test, or with every_test all of them."""
    code, out = run(["cmake", "--build", str(build_dir), "-j2"], log)
    if code != 0:
        # gtest_discover_tests runs the test program after linking: a program
        # that cannot even list its tests is caught, not uncompilable.
        if "Error running test executable" in out:
            return "killed", ["(test listing)"]
        return "does not compile", []
    stop = [] if every_test else ["--stop-on-failure"]
    code, out = run(["ctest", "--timeout", str(TEST_TIMEOUT_S), *stop, "-j2"], log, cwd=build_dir)
    if code == 0:
        return "passed", []
    failed = out.partition("The following tests FAILED:")[2]
    names = [f"{m.group(1)}" if every_test else f"{m.group(1)} ({m.group(2)})"
             for m in re.finditer(r"^\s*\d+ - (.+?) \(([^)]*)\)\s*$", failed, re.M)]
    return "killed", (names if every_test else names[:1]) or ["(ctest failed)"]


def git_clean(repo, path):
    return subprocess.run(["git", "-C", str(repo), "diff", "--quiet", "--", str(path)]).returncode == 0


def try_mutant(repo, build_dir, mutant, log, every_test=False):
    """Applies one mutant, builds, tests, restores. Returns (file, outcome, tests)."""
    path = locate(repo, mutant)
    if path is None:
        return mutant["file"], "not found", []
    rel = path.relative_to(repo).as_posix()
    if rel != mutant["file"]:
        print(f"  {mutant['id']}: the text is now in {rel}", flush=True)
    original = path.read_bytes()
    was_clean = git_clean(repo, path)
    try:
        path.write_bytes(original.replace(mutant["from"].encode(), mutant["to"].encode(), 1))
        with log.open("a", encoding="utf-8") as f:
            f.write(f"\n==== {mutant['id']}: {mutant['what']} ({rel})\n")
        outcome, tests = build_and_test(build_dir, log, every_test)
    finally:
        path.write_bytes(original)
        if path.read_bytes() != original or (was_clean and not git_clean(repo, path)):
            sys.exit(f"FATAL: {rel} was not restored; check it by hand")
    return rel, outcome, tests


def main():
    # A run stopped with kill goes the way of Ctrl-C, so the mutated file is restored.
    signal.signal(signal.SIGTERM, signal.default_int_handler)
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--only", help="comma-separated mutant ids")
    parser.add_argument("--list", action="store_true", help="show the mutants and where they apply; build nothing")
    parser.add_argument("--repo", help="the worktree to mutate (default: the current directory's git top level)")
    parser.add_argument("--build-dir", help="build folder (default: REPO/build/mutate)")
    parser.add_argument("--mutants", default=str(Path(__file__).resolve().with_name("mutants.txt")),
                        help="the mutant list (default: mutants.txt beside this script)")
    parser.add_argument("--keep-going", action=argparse.BooleanOptionalAction, default=True,
                        help="go on after a survivor (default: on)")
    parser.add_argument("--matrix", help="run every test on each mutant and write which tests kill it, "
                                         "one line a mutant (id, then the killing tests, tab-separated)")
    args = parser.parse_args()

    top = subprocess.run(["git", "rev-parse", "--show-toplevel"], cwd=args.repo or ".", capture_output=True, text=True)
    if top.returncode != 0:
        sys.exit("not inside a git worktree")
    repo = Path(top.stdout.strip())
    build_dir = Path(args.build_dir).resolve() if args.build_dir else repo / "build" / "mutate"
    mutants = read_mutants(Path(args.mutants))
    if args.only:
        wanted = args.only.split(",")
        unknown = set(wanted) - {m["id"] for m in mutants}
        if unknown:
            sys.exit(f"unknown mutant ids: {', '.join(sorted(unknown))}")
        mutants = [m for m in mutants if m["id"] in wanted]

    if args.list:
        for m in mutants:
            path = locate(repo, m)
            where = "NOT FOUND" if path is None else path.relative_to(repo).as_posix()
            print(f"{m['id']:<28} {where:<42} {m['what']}")
        return 0

    build_dir.mkdir(parents=True, exist_ok=True)
    log = build_dir / "mutate.log"
    log.write_text("", encoding="utf-8")
    print(f"repository {repo}\nbuild folder {build_dir} (log: {log})", flush=True)
    started = time.monotonic()
    if not (build_dir / "CMakeCache.txt").exists():
        code, _ = run(["cmake", "-S", str(repo), "-B", str(build_dir), "-G", "Ninja",
                       "-DCMAKE_BUILD_TYPE=RelWithDebInfo"], log)
        if code != 0:
            sys.exit("configure failed: see the log")
    baseline, tests = build_and_test(build_dir, log)
    if baseline != "passed":
        sys.exit(f"the unmutated tree does not pass ({baseline} {' '.join(tests)}): nothing to measure")
    print(f"unmutated build and tests pass ({time.monotonic() - started:.0f} s)", flush=True)

    results = []
    matrix = Path(args.matrix).open("w", encoding="utf-8") if args.matrix else None
    try:
        for m in mutants:
            t0 = time.monotonic()
            rel, outcome, tests = try_mutant(repo, build_dir, m, log, every_test=matrix is not None)
            results.append((m["id"], outcome))
            shown = {"passed": "SURVIVED"}.get(outcome, outcome)
            detail = f"{len(tests)} tests" if matrix and tests else " ".join(tests)
            print(f"{m['id']:<28} {rel:<42} {shown:<16} {detail} [{time.monotonic() - t0:.0f} s]", flush=True)
            if matrix and outcome in ("killed", "passed"):
                matrix.write("\t".join([m["id"], *tests]) + "\n")
                matrix.flush()
            if outcome == "passed" and not args.keep_going:
                break
    except KeyboardInterrupt:
        print("\ninterrupted; the files are restored", flush=True)
    finally:
        if matrix:
            matrix.close()
        # Leave the build folder matching the tree again.
        run(["cmake", "--build", str(build_dir), "-j2"], log)

    counted = [r for r in results if r[1] in ("killed", "passed")]
    killed = sum(1 for r in counted if r[1] == "killed")
    survivors = [i for i, o in counted if o == "passed"]
    print(f"\nscore: {killed}/{len(counted)} killed"
          f"{f' ({100 * killed / len(counted):.0f} %)' if counted else ''} in {time.monotonic() - started:.0f} s")
    for label in ("not found", "does not compile"):
        ids = [i for i, o in results if o == label]
        if ids:
            print(f"{label} (not counted): {', '.join(ids)}")
    print(f"survivors: {', '.join(survivors) if survivors else 'none'}")
    return 1 if survivors else 0


if __name__ == "__main__":
    sys.exit(main())
