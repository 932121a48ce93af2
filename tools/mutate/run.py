#!/usr/bin/env python3
"""Plants single faults in a scratch copy of the project and runs the tests
against each one, to show which faults the suite lets through.

    tools/mutate/run.py [--faults FILE] [--at COMMIT] [--without FILTER] [ID ...]

Each fault is an exact text of one file and its replacement (a list of
{id, path, find, replace, fault} in JSON). A fault whose text no longer
occurs, or occurs more than once, is reported as not applicable. The real
tree is never touched: the tree is mirrored into the scratch folder (only
changed files are copied, so the scratch build stays incremental), each
fault is written there, the test executables it reaches are rebuilt and run
one at a time (the fault's own module first, stopping at the first that
fails), and the file is put back.

Not part of CI: a full pass rebuilds and reruns tests once per fault.
"""

import argparse
import io
import json
import os
import signal
import subprocess
import sys
import tarfile
import time
import xml.etree.ElementTree as ET
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
TEST_TARGETS = ["engine_tests", "cli_tests", "codegen_tests", "printing_tests", "platform_tests",
                "registry_tests", "subs_tests", "program_tests", "install_tests"]
# Test executables that read the databases the build makes (not linked, so
# a changed database does not relink them).
READS_DELIVERED = {"install_tests", "program_tests", "codegen_tests"}
DELIVERED = ["STX32.MDB", "OrderEntry.mdb"]
# The test executables most likely to catch a fault in a folder, tried
# first; the others follow in TEST_TARGETS order.
HOME_TESTS = [
    ("engine/", ["engine_tests", "cli_tests", "install_tests"]),
    ("cli/", ["cli_tests", "codegen_tests", "printing_tests"]),
    ("program/codegen/", ["codegen_tests", "program_tests"]),
    ("program/printing/", ["printing_tests", "program_tests"]),
    ("program/", ["program_tests"]),
    ("platform/", ["platform_tests", "printing_tests"]),
    ("registry/", ["registry_tests", "program_tests"]),
    ("subs/", ["subs_tests", "program_tests"]),
    ("tools/make_databases/", ["install_tests", "program_tests"]),
]


def test_order(path):
    for prefix, first in HOME_TESTS:
        if path.startswith(prefix):
            return first + [t for t in TEST_TARGETS if t not in first]
    return list(TEST_TARGETS)


def log(*parts):
    print(*parts, flush=True)


# Appended to the scratch copy's tests/CMakeLists.txt: test code built
# without optimisation or debug information compiles several times faster,
# and a pass rebuilds it once per fault.
QUICK_TESTS = """
foreach(target IN ITEMS %s)
  if(TARGET ${target})
    target_compile_options(${target} PRIVATE -O0 -g0)
    target_precompile_headers(${target} PRIVATE <gtest/gtest.h> <filesystem> <functional> <map> <memory>
                              <optional> <string> <vector>)
  endif()
endforeach()
foreach(target IN ITEMS platform_tests registry_tests subs_tests program_tests)
  if(TARGET ${target})
    target_precompile_headers(${target} PRIVATE <QtWidgets>)
  endif()
endforeach()
""" % " ".join(TEST_TARGETS)


def tree_files(commit):
    """{path: (bytes, executable)} of the working tree (tracked and
    untracked, not ignored), or of `commit` when one is named."""
    if commit:
        archive = subprocess.run(["git", "archive", commit], cwd=ROOT, check=True, capture_output=True).stdout
        with tarfile.open(fileobj=io.BytesIO(archive)) as tar:
            return {m.name: (tar.extractfile(m).read(), bool(m.mode & 0o100)) for m in tar.getmembers() if m.isfile()}
    listed = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                            cwd=ROOT, check=True, capture_output=True).stdout.split(b"\0")
    paths = [ROOT / name.decode() for name in listed if name and (ROOT / name.decode()).is_file()]
    return {p.relative_to(ROOT).as_posix(): (p.read_bytes(), os.access(p, os.X_OK)) for p in paths}


def mirror(scratch, commit=None):
    """Copies the working tree, or the tree of `commit`, into the scratch
    folder; a file whose bytes are already there is left alone, so that
    what did not change does not rebuild."""
    files = tree_files(commit)
    names = set(files)
    # Files gone from the tree go from the copy too (the test modules glob
    # their folders).
    for path in scratch.rglob("*"):
        rel = path.relative_to(scratch).as_posix()
        if path.is_file() and not rel.startswith("build/") and rel not in names:
            path.unlink()
    for rel in sorted(names):
        dst = scratch / rel
        data, executable = files[rel]
        wanted = data + (QUICK_TESTS.encode() if rel == "tests/CMakeLists.txt" else b"")
        if dst.exists() and dst.read_bytes() == wanted:
            continue
        dst.parent.mkdir(parents=True, exist_ok=True)
        dst.write_bytes(wanted)
        dst.chmod(0o755 if executable else 0o644)


def corpus_folder():
    """../shared/corpus beside the project; from a worktree, beside the
    main checkout (the corpus tests skip where it is missing, and many
    faults are caught only there)."""
    common = subprocess.run(["git", "rev-parse", "--path-format=absolute", "--git-common-dir"], cwd=ROOT,
                            check=True, capture_output=True, text=True).stdout.strip()
    for top in (ROOT, Path(common).parent):
        if (top / ".." / "shared" / "corpus").is_dir():
            return (top / ".." / "shared" / "corpus").resolve()
    sys.exit("no ../shared/corpus beside the project or its main checkout")


def without(only, left_out):
    """The gtest filter `only` (None for all, "-A:B" for all but A and B)
    with the tests `left_out` names taken away too."""
    if not left_out:
        return only
    if not only:
        return "*-" + left_out
    if only.startswith("-"):
        return "*" + only + ":" + left_out
    return only + "-" + left_out


def interrupted(*_):
    raise KeyboardInterrupt


def configure(scratch, build):
    cache = build / "CMakeCache.txt"
    if (build / "build.ninja").exists() and f"STRUX_CORPUS:PATH={corpus_folder()}\n" in cache.read_text():
        return
    corpus = corpus_folder()
    subprocess.run(["cmake", "-S", str(scratch), "-B", str(build), "-G", "Ninja",
                    "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache",
                    f"-DSTRUX_CORPUS={corpus}"], check=True, stdout=subprocess.DEVNULL, env=build_env(scratch))


def build_env(scratch):
    env = dict(os.environ)
    # Paths under the scratch root hash as relative, so the scratch build
    # shares the compiler cache with a tree built the same way.
    env.update(CCACHE_BASEDIR=str(scratch), CCACHE_NOHASHDIR="1", QT_QPA_PLATFORM="offscreen")
    return env


def outputs(build):
    stamps = {}
    for name in TEST_TARGETS + DELIVERED:
        path = build / "bin" / name
        if path.exists():
            stamps[name] = path.stat().st_mtime_ns
    return stamps


def rebuild(scratch, build, targets, jobs):
    started = time.time()
    done = subprocess.run(["cmake", "--build", str(build), "-j", str(jobs), "--target", *targets],
                          env=build_env(scratch), capture_output=True, text=True)
    return done.returncode == 0, done.stdout[-3000:] + done.stderr[-3000:], time.time() - started


def run_tests(scratch, build, names, limits, fail_fast=False, only=None, times=None):
    """Runs each executable once and returns {executable: set of failed
    tests}, or a single marker when it crashed or ran out of time. `only` is
    a gtest filter; `times`, when given, receives each test's seconds."""
    failed = {}
    for name in names:
        report = build / f"mutate-{name}.xml"
        report.unlink(missing_ok=True)
        try:
            subprocess.run([str(build / "bin" / name), f"--gtest_output=xml:{report}", "--gtest_brief=1"] +
                           (["--gtest_fail_fast"] if fail_fast else []) + ([f"--gtest_filter={only}"] if only else []),
                           cwd=build / "tests", env=build_env(scratch), capture_output=True, timeout=limits.get(name, 600))
        except subprocess.TimeoutExpired:
            failed[name] = {"<time limit>"}
            continue
        if not report.exists():
            failed[name] = {"<crashed>"}
            continue
        bad = set()
        for case in ET.parse(report).iter("testcase"):
            test = case.get("classname") + "." + case.get("name")
            if case.find("failure") is not None:
                bad.add(test)
            if times is not None:
                times[test] = float(case.get("time") or 0)
        failed[name] = bad
    return failed


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("ids", nargs="*", help="only these faults")
    parser.add_argument("--faults", action="append", help="faults file (repeatable); default tools/mutate/faults.json")
    parser.add_argument("--scratch", default=f"/tmp/strux-mutate-{os.getuid()}", help="scratch copy of the tree")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--all-tests", action="store_true", help="run the executables the change does not reach too")
    parser.add_argument("--build-only", action="store_true", help="mirror the tree and build the tests, plant nothing")
    parser.add_argument("--at", metavar="COMMIT", help="plant in the tree of COMMIT instead of the working tree")
    parser.add_argument("--without", metavar="FILTER",
                        help="leave out the tests this gtest filter names (A*:B.C), to see what deleting them loses")
    args = parser.parse_args()

    faults = []
    for file in args.faults or [str(ROOT / "tools" / "mutate" / "faults.json")]:
        faults += json.loads(Path(file).read_text())
    # A fault in more than one list runs once.
    faults = list({f["id"]: f for f in faults}.values())
    if args.ids:
        byId = {f["id"]: f for f in faults}
        faults = [byId[i] for i in args.ids if i in byId]
    scratch = Path(args.scratch)
    build = scratch / "build"
    scratch.mkdir(parents=True, exist_ok=True)
    mirror(scratch, args.at)
    configure(scratch, build)
    # A kill ends the run as Ctrl-C does, so the planted file is put back.
    signal.signal(signal.SIGTERM, interrupted)

    targets = TEST_TARGETS + ["delivered_databases"]
    if args.build_only:
        ok, out, took = rebuild(scratch, build, targets, args.jobs)
        log(f"built in {took:.0f} s: {build / 'bin'}" if ok else "the tree does not build:\n" + out)
        return

    # Each executable is built and run on the unchanged tree the first time
    # a fault needs it: what fails there already is no catch, and three
    # times its run (and half a minute) is its time limit under a fault.
    present = [t for t in TEST_TARGETS if t in subprocess.run(
        ["cmake", "--build", str(build), "--target", "help"], capture_output=True, text=True).stdout]
    limits, baseline, slow = {}, {}, {}

    def ensure_baseline(name):
        if name in baseline:
            return True
        ok, out, took = rebuild(scratch, build, [name] + (["delivered_databases"] if name in READS_DELIVERED else []),
                                args.jobs)
        if not ok:
            sys.exit(f"{name} does not build on the unchanged tree:\n" + out)
        t0 = time.time()
        times = {}
        baseline.update(run_tests(scratch, build, [name], {}, times=times))
        limits[name] = 3 * (time.time() - t0) + 30
        # The tests of a second or more run only when the quick ones let a
        # fault through.
        slow[name] = ":".join(t for t, seconds in times.items() if seconds >= 1.0)
        log(f"  {name}: built in {took:.0f} s, ran in {time.time() - t0:.0f} s"
            + (f"; failing already: {sorted(baseline[name])}" if baseline[name] else ""))
        return True

    results = []
    for fault in faults:
        fid, path = fault["id"], scratch / fault["path"]
        text = path.read_text() if path.exists() else ""
        count = text.count(fault["find"])
        if count != 1:
            results.append((fid, "n/a", f"text occurs {count} times"))
            log(f"{fid}: not applicable (text occurs {count} times)")
            continue
        path.write_text(text.replace(fault["find"], fault["replace"]))
        try:
            # One executable at a time, the fault's own module first: most
            # faults are caught there and the rest need not be rebuilt.
            state, note, ran, t0 = "SURVIVED", "", [], time.time()
            for name in [n for n in test_order(fault["path"]) if n in present]:
                if name not in baseline:
                    path.write_text(text)
                    ensure_baseline(name)
                    path.write_text(text.replace(fault["find"], fault["replace"]))
                before = outputs(build)
                wanted = [name] + (["delivered_databases"] if name in READS_DELIVERED else [])
                ok, out, took = rebuild(scratch, build, wanted, args.jobs)
                if not ok:
                    state, note = "caught", "does not build"
                    break
                after = outputs(build)
                changed = {n for n in after if before.get(n) != after[n]}
                if not args.all_tests and name not in changed and not (name in READS_DELIVERED and changed & set(DELIVERED)):
                    continue  # the change does not reach this executable
                ran.append(name)
                new = []
                for only in (["-" + slow[name], slow[name]] if slow[name] else [None]):
                    failed = run_tests(scratch, build, [name], limits, fail_fast=True,
                                       only=without(only, args.without))
                    new = sorted(failed[name] - baseline.get(name, set()))
                    if new:
                        break
                if new:
                    state, note = "caught", f"{name}: " + ", ".join(new[:3])
                    break
            if state == "SURVIVED":
                note = "ran " + (", ".join(ran) or "no test executable the change reaches")
            results.append((fid, state, note))
            log(f"{fid}: {state} - {note if state == 'caught' else fault['fault'] + ' [' + note + ']'} "
                f"[{time.time() - t0:.0f} s]")
        finally:
            path.write_text(text)
            # The restored file must be older than nothing built from it.
            os.utime(path)

    applicable = [r for r in results if r[1] != "n/a"]
    caught = [r for r in applicable if r[1] == "caught"]
    log("")
    log(f"score: {len(caught)}/{len(applicable)} applicable faults caught"
        f" ({len(results) - len(applicable)} not applicable)")
    for fid, state, note in results:
        if state != "caught":
            log(f"  {state:9} {fid}: {note}")
    sys.exit(0 if len(caught) == len(applicable) else 1)


if __name__ == "__main__":
    main()
