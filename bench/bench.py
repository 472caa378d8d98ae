#!/usr/bin/env python3
"""Time corvane-cli transfer and size beside cp -r and du -sb on one tree.

    python3 bench/bench.py --cli build-bench/src/corvane-cli \
        --data DATA --scratch SCRATCH [--runs N]

DATA is a folder written by bench/make_data.py.  SCRATCH is an empty folder
on the same file system where the targets are built and removed again.

Every round runs the four commands once, each into or over fresh output:

  transfer   corvane-cli transfer LEVEL --target NEW --sky --overwrite all
  cp -r      cp -r STAGE NEW, where STAGE holds (as hard links) exactly the
             files the transfer copies, laid out as the transfer lays them
  size       corvane-cli size TARGET    (TARGET: this round's transfer output)
  du -sb     du -sb TARGET

The order within each pair alternates from round to round.  Before each
command the file system is synced so that writing back the previous
command's output is not charged to the next one.  The page cache is warm:
the source files are read once before the first round and never dropped.

Times are wall-clock from spawn to exit.  Peak memory (maximum resident set
size) is measured in a second, untimed run of each command per round.  The table gives the
median of each figure and the ratio of Corvane's median to the baseline's.
"""

import argparse
import filecmp
import os
import platform
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path


def spawn_and_wait(argv, stderr_path):
    """Run argv with stdout discarded; return its wall time in seconds."""
    actions = [
        (os.POSIX_SPAWN_OPEN, 0, os.devnull, os.O_RDONLY, 0),
        (os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0),
        (os.POSIX_SPAWN_OPEN, 2, str(stderr_path), os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644),
    ]
    os.sync()
    start = time.perf_counter()
    pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=actions)
    _, status, _ = os.wait4(pid, 0)
    elapsed = time.perf_counter() - start
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        sys.exit("command failed with status %d: %s\n%s"
                 % (code, " ".join(argv), Path(stderr_path).read_text(errors="replace")))
    return elapsed


# Peak memory is taken in separate, untimed runs.  The rusage of a child
# spawned straight from this script would not do: a child that starts as a
# copy of the Python process inherits its resident pages, so every command
# would show at least Python's own size.  /usr/bin/time is a small program,
# so its floor is far below what the measured commands use.  Without it, a
# Python wrapper reads the figure, and the floor it adds is reported.
GNU_TIME = "/usr/bin/time" if os.access("/usr/bin/time", os.X_OK) else None

WRAPPER = (
    "import os, resource, subprocess, sys\n"
    "code = subprocess.call(sys.argv[2:], stdout=subprocess.DEVNULL)\n"
    "open(sys.argv[1], 'w').write('%d\\n' % resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)\n"
    "sys.exit(code)\n"
)


def peak_memory(argv, scratch):
    """Maximum resident set size of argv, in KiB."""
    report = scratch / "maxrss.txt"
    if GNU_TIME:
        wrapped = [GNU_TIME, "-f", "%M", "-o", str(report)] + argv
    else:
        wrapped = [sys.executable, "-c", WRAPPER, str(report)] + argv
    done = subprocess.run(wrapped, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if done.returncode != 0:
        sys.exit("command failed: %s\n%s" % (" ".join(argv), done.stderr))
    return int(report.read_text().split()[-1])


def listing(root):
    """Relative path -> size of every file below root."""
    out = {}
    for dirpath, _, files in os.walk(root):
        for name in files:
            path = Path(dirpath) / name
            out[path.relative_to(root).as_posix()] = path.stat().st_size
    return out


def read_all(paths):
    buf = bytearray(1 << 20)
    for path in paths:
        with open(path, "rb", buffering=0) as f:
            while f.readinto(buf):
                pass


def parse_total(text):
    for line in text.splitlines():
        if line.startswith("Total Bytes:"):
            return int(line.split(":", 1)[1].strip().replace(",", ""))
    return None


def fmt_time(seconds):
    return "%.3f s" % seconds if seconds >= 0.1 else "%.1f ms" % (seconds * 1000)


def fmt_mem(kib):
    return "%.1f MiB" % (kib / 1024)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--cli", required=True, type=Path)
    parser.add_argument("--data", required=True, type=Path)
    parser.add_argument("--scratch", required=True, type=Path)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    if args.runs < 1:
        sys.exit("--runs must be at least 1")

    cli = str(args.cli.resolve())
    cp = shutil.which("cp")
    du = shutil.which("du")
    if not cp or not du:
        sys.exit("cp and du are needed")
    tree = args.data.resolve() / "tree"
    levels = sorted((tree / "maps").glob("*.map"))
    if len(levels) != 1:
        sys.exit("expected one level in %s" % (tree / "maps"))
    level = str(levels[0])
    expected = (args.data / "expected.txt").read_text().split()

    scratch = args.scratch.resolve()
    scratch.mkdir(parents=True, exist_ok=True)
    stderr_path = scratch / "stderr.txt"

    # Room for two copies of the data at once (one per tool), with a margin.
    data_bytes = sum((tree / rel).stat().st_size for rel in expected)
    free = shutil.disk_usage(scratch).free
    if free < 2.5 * data_bytes:
        sys.exit("not enough free space in %s: %.0f MB free, %.0f MB needed"
                 % (scratch, free / 1e6, 2.5 * data_bytes / 1e6))

    # The baseline's source: the files the transfer copies, in its layout.
    stage = scratch / "stage"
    for rel in expected:
        (stage / rel).parent.mkdir(parents=True, exist_ok=True)
        os.link(tree / rel, stage / rel)

    print("Data: %d files, %.1f MB; %d rounds" % (len(expected), data_bytes / 1e6, args.runs))
    print("Machine: %s %s, %d CPUs, Python %s"
          % (platform.system(), platform.release(), os.cpu_count() or 0,
             platform.python_version()))
    print("Page cache: warm (sources read once before the first round, never dropped)")
    if not GNU_TIME:
        print("NOTE: /usr/bin/time is missing; peak RSS figures include the wrapper's floor "
              "of %s (the figure for /bin/true)" % fmt_mem(peak_memory(["/bin/true"], scratch)))

    # Warm-up round, not timed: read the sources, run each command once and
    # check that the transfer and the baseline produce the same tree.
    read_all([tree / rel for rel in expected])
    check = scratch / "check-transfer"
    done = subprocess.run([cli, "transfer", level, "--target", str(check), "--sky",
                           "--overwrite", "all"], capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit("transfer failed:\n" + done.stderr)
    got = listing(check)
    want = {rel: (tree / rel).stat().st_size for rel in expected}
    if got != want:
        missing = sorted(set(want) - set(got))[:10]
        extra = sorted(set(got) - set(want))[:10]
        sys.exit("the transfer did not copy exactly the expected files\n"
                 "missing: %s\nextra: %s" % (missing, extra))
    differing = [rel for rel in expected if not filecmp.cmp(tree / rel, check / rel, shallow=False)]
    if differing:
        sys.exit("copied files differ from their sources: %s" % differing[:10])
    copied = scratch / "check-cp"
    subprocess.run([cp, "-r", str(stage), str(copied)], check=True)
    if listing(copied) != want:
        sys.exit("cp -r of the staging tree does not match the expected files")
    shutil.rmtree(copied)

    size_out = subprocess.run([cli, "size", str(check)], capture_output=True, text=True, check=True)
    du_out = subprocess.run([du, "-sb", str(check)], capture_output=True, text=True, check=True)
    corvane_total = parse_total(size_out.stdout)
    du_total = int(du_out.stdout.split()[0])
    if corvane_total != data_bytes:
        print("WARNING: corvane-cli size reports %s bytes, the files hold %d"
              % (corvane_total, data_bytes))
    transfer_total = parse_total(done.stderr)
    if transfer_total != data_bytes:
        print("WARNING: the transfer reports a total of %s bytes, the files hold %d"
              % (transfer_total, data_bytes))
    print("Totals: files %d bytes; corvane-cli size %s; du -sb %d (du also counts folders)"
          % (data_bytes, corvane_total, du_total))
    shutil.rmtree(check)

    times = {key: [] for key in ("transfer", "cp", "size", "du")}
    memory = {key: [] for key in times}

    def jobs(round_no, t_target, c_target):
        copy_jobs = [
            ("transfer", [cli, "transfer", level, "--target", str(t_target), "--sky",
                          "--overwrite", "all"]),
            ("cp", [cp, "-r", str(stage), str(c_target)]),
        ]
        size_jobs = [
            ("size", [cli, "size", str(t_target)]),
            ("du", [du, "-sb", str(t_target)]),
        ]
        if round_no % 2:
            copy_jobs.reverse()
            size_jobs.reverse()
        return copy_jobs, size_jobs

    for round_no in range(args.runs):
        t_target = scratch / "transfer-out"
        c_target = scratch / "cp-out"
        copy_jobs, size_jobs = jobs(round_no, t_target, c_target)
        for key, argv in copy_jobs + size_jobs:
            times[key].append(spawn_and_wait(argv, stderr_path))
        for key, argv in size_jobs:
            memory[key].append(peak_memory(argv, scratch))
        shutil.rmtree(t_target)
        shutil.rmtree(c_target)
        os.sync()
        for key, argv in copy_jobs:
            memory[key].append(peak_memory(argv, scratch))
        shutil.rmtree(t_target)
        shutil.rmtree(c_target)
        print("round %d: transfer %s, cp -r %s, size %s, du -sb %s"
              % (round_no + 1, fmt_time(times["transfer"][-1]), fmt_time(times["cp"][-1]),
                 fmt_time(times["size"][-1]), fmt_time(times["du"][-1])), flush=True)
    shutil.rmtree(stage)

    med = statistics.median
    rows = [
        ("transfer vs cp -r: time", med(times["transfer"]), med(times["cp"]), fmt_time),
        ("transfer vs cp -r: peak RSS", med(memory["transfer"]), med(memory["cp"]), fmt_mem),
        ("size vs du -sb: time", med(times["size"]), med(times["du"]), fmt_time),
        ("size vs du -sb: peak RSS", med(memory["size"]), med(memory["du"]), fmt_mem),
    ]
    table = [("figure", "Corvane median", "baseline median", "ratio")]
    for name, ours, theirs, fmt in rows:
        table.append((name, fmt(ours), fmt(theirs), "%.2f" % (ours / theirs)))
    widths = [max(len(row[i]) for row in table) for i in range(len(table[0]))]
    print()
    for n, row in enumerate(table):
        print("| " + " | ".join(cell.ljust(w) for cell, w in zip(row, widths)) + " |")
        if n == 0:
            print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    print()
    print("ratio = Corvane median / baseline median (below 1: Corvane is faster or smaller)")
    unsteady = [key for key in times if max(times[key]) > 2 * min(times[key])]
    if unsteady:
        print("WARNING: times of %s vary more than twofold between rounds; the medians are "
              "unreliable (busy or virtual disk?): run more rounds or use --tmp on a RAM-backed "
              "file system" % ", ".join(unsteady))
    print("times: warm page cache; peak RSS: %s, in separate untimed runs"
          % ("/usr/bin/time -f %M" if GNU_TIME else "getrusage of a Python wrapper's child"))


if __name__ == "__main__":
    main()
