#!/usr/bin/env python3
"""quillon-settings beside crudini, Debian's INI tool, on the five settings files at their largest.

Each of the five files holds 32,766 lines: a section of filler lines as the store benchmark makes
them, followed by the sample file's own lines, so that every key lookup walks nearly the whole
file. quillon-settings sets two options (reading all five files, and writing the one whose
lines change, all or nothing); crudini sets one key in one file. Each program runs several
times; the median wall time and the largest memory peak (maximum resident set size) of its runs
are compared.

Usage: cli_vs_crudini.py PATH-TO-quillon-settings [RUNS]
"""
import os
import pathlib
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

LINES_PER_FILE = 32766
FILE_NAMES = ["QLLoadouts.ini", "QuillonMod.ini", "QuillonUser.ini", "QuillonAI.ini", "QLAux.ini"]
SAMPLES = pathlib.Path(__file__).resolve().parent.parent / "examples" / "System"


def make_files(system: pathlib.Path) -> int:
    """Writes the five files into system; returns their total size in bytes."""
    system.mkdir(parents=True)
    total = 0
    for name in FILE_NAMES:
        sample = (SAMPLES / name).read_bytes().split(b"\r\n")[:-1]
        lines = [b"[Bench.Filler]"]
        lines += [b"SettingNumber%d=Some value with spaces, %d" % (i, i * 7)
                  for i in range(LINES_PER_FILE - len(sample) - 1)]
        lines += sample
        data = b"".join(line + b"\r\n" for line in lines)
        (system / name).write_bytes(data)
        total += len(data)
    return total


def measure(argv_of_run, runs):
    """Runs argv_of_run(k) for k in range(2 * runs); returns (median seconds, largest peak in KiB).

    The times come from runs of the program alone; the peaks from as many more runs under GNU
    time, which reports the program's own: a child of this Python process would count Python's
    own size towards its peak, since a process's peak survives exec. Timing those runs instead
    would add the start of time itself to every run, a good part of a run as short as ours.
    """
    times, peaks = [], []
    with tempfile.NamedTemporaryFile(prefix="quillon-bench-peak-") as peak_file:
        for k in range(runs):
            # Runs alternate their values, so that each one writes.
            argv = argv_of_run(2 * k)
            start = time.perf_counter()
            status = subprocess.call(argv, stdin=subprocess.DEVNULL)
            times.append(time.perf_counter() - start)
            if status != 0:
                sys.exit("%s failed with status %d" % (argv[0], status))
            status = subprocess.call(["/usr/bin/time", "-f", "%M", "-o", peak_file.name]
                                     + argv_of_run(2 * k + 1), stdin=subprocess.DEVNULL)
            if status != 0:
                sys.exit("%s failed with status %d" % (argv[0], status))
            peaks.append(int(pathlib.Path(peak_file.name).read_text().split()[-1]))
    return statistics.median(times), max(peaks)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    program = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 11
    crudini = shutil.which("crudini")
    if not crudini:
        sys.exit("crudini is not installed (make bench installs it)")
    if not os.access("/usr/bin/time", os.X_OK):
        sys.exit("GNU time is not installed (make bench installs it)")
    with tempfile.TemporaryDirectory(prefix="quillon-cli-bench-") as scratch:
        system = pathlib.Path(scratch) / "System"
        total = make_files(system)
        # Each run sets another value than the run before, so that every run writes.
        ours_time, ours_peak = measure(
            lambda k: [program, "--system-dir", str(system), "set", "TimeLimit=%d" % (40 + k % 2),
                       "PercentageLootDropped=%d" % (30 + k % 2)], runs)
        theirs_time, theirs_peak = measure(
            lambda k: [crudini, "--set", str(system / "QuillonMod.ini"),
                       "QuillonMod.QuillonGame", "TimeLimit", str(40 + k % 2)], runs)

    mib = 1024 * 1024
    print()
    print("Five files of %d lines, %.1f MiB in all; median of %d runs each"
          % (LINES_PER_FILE, total / mib, runs))
    print("  quillon-settings set (2 options, 5 files read): %8.1f ms  peak %6.1f MiB"
          % (ours_time * 1000, ours_peak / 1024))
    print("  crudini --set (1 key, 1 file):                  %8.1f ms  peak %6.1f MiB"
          % (theirs_time * 1000, theirs_peak / 1024))
    print("  time: quillon-settings takes %.3f of crudini's (target: under 0.050)"
          % (ours_time / theirs_time))
    print("  memory: quillon-settings' peak is %.2f times the files' size (target: at most 2)"
          % (ours_peak * 1024 / total))


if __name__ == "__main__":
    main()
