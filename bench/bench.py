#!/usr/bin/env python3
"""Time corvane-cli beside the tools a user would use instead, on one data set.

    python3 bench/bench.py --cli build-bench/src/corvane-cli \
        --data DATA --scratch SCRATCH [--runs N] [--disk-big FILE] [--transfer-also DIR]...

DATA is a folder written by bench/make_data.py.  SCRATCH is an empty folder
on the same file system where the transfer targets are built and removed.
FILE is a copy of DATA/big/big.map in a folder on disk (DATA itself is
usually in memory); without it DATA's own is taken.  Each --transfer-also DIR
is a folder on another file system (a disk when DATA is on tmpfs) where the
working tree is copied and the transfer is timed too, as rows of their own.

Every round runs, side by side:

  scan       corvane-cli scan BIG             beside  wc -l BIG          (3 times)
  scan-disk  the same on the copy on disk                               (3 times)
  size       corvane-cli size SIZES           beside  du -sb SIZES       (twice)
  pool       corvane-cli pool POOL-50, POOL-100, POOL-200 and POOL-1000  (twice)
  basegame   corvane-cli basegame BASEGAME, the index of 10,000 files   (3 times)
  transfer   corvane-cli transfer LEVEL --target NEW --sky --overwrite all
             beside  cp -r --preserve=mode,timestamps STAGE NEW (twice),
             where STAGE holds (as hard links) exactly the files the
             transfer copies, laid out as the transfer lays them; and
             the same transfer with --move (once) from a working tree of
             hard links, which flushes every copy before its source goes
  check      corvane-cli check LEVEL --target NEW --sky, the plan of that
             transfer, beside  find TREE over the working tree  (3 times)

The order within each group turns round from one repetition to the next.
Before each command the file system is synced so that writing back the
previous command's output is not charged to the next one.  The page cache is
warm: the data is read once before the first round and never dropped.

Times are wall-clock from spawn to exit.  Peak memory (maximum resident set
size) is measured in separate, untimed runs, and so is the peak of the scan's
heap (what it allocates, apart from the mapped file), with valgrind's massif.  The table gives the median of
each figure, the ratio of Corvane's median to the baseline's, and the goal
for it; the exit status is 1 when a goal is not met.
"""

import argparse
import filecmp
import json
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


def peak_heap(argv, scratch):
    """The highest the heap of argv ever held (the bytes it asked for and the
    allocator's own on top), in KiB, by valgrind's massif; None without it.
    Memory that only maps a file is not heap and is not counted."""
    valgrind = shutil.which("valgrind")
    if not valgrind:
        return None
    out = scratch / "massif.out"
    done = subprocess.run([valgrind, "--tool=massif", "--massif-out-file=%s" % out] + argv,
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if done.returncode != 0:
        sys.exit("command failed under valgrind: %s\n%s" % (" ".join(argv), done.stderr))
    peak = 0
    heap = None
    for line in out.read_text().splitlines():
        if line.startswith("mem_heap_B="):
            heap = int(line.split("=")[1])
        elif line.startswith("mem_heap_extra_B=") and heap is not None:
            peak = max(peak, heap + int(line.split("=")[1]))
    out.unlink()
    return peak / 1024


def file_system(path):
    """The type of the file system that holds path, as stat names it."""
    done = subprocess.run(["stat", "-f", "-c", "%T", str(path)], capture_output=True, text=True)
    return done.stdout.strip() or "unknown"


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
    if seconds >= 0.1:
        return "%.3f s" % seconds
    if seconds >= 0.01:
        return "%.1f ms" % (seconds * 1000)
    return "%.3f ms" % (seconds * 1000)


def fmt_mem(kib):
    return "%.1f MiB" % (kib / 1024)


def run_json(argv):
    done = subprocess.run(argv, capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit("command failed: %s\n%s" % (" ".join(argv), done.stderr))
    return json.loads(done.stdout)


class Bench:
    """Collects the samples of every timed command."""

    def __init__(self, scratch):
        self.scratch = scratch
        self.stderr_path = scratch / "stderr.txt"
        self.times = {}
        self.memory = {}

    def time(self, key, argv):
        self.times.setdefault(key, []).append(spawn_and_wait(argv, self.stderr_path))

    def peak(self, key, argv):
        self.memory.setdefault(key, []).append(peak_memory(argv, self.scratch))

    def pair(self, round_no, jobs, memory=True, reps=1):
        """Runs two (or more) commands side by side, `reps` times, the order
        turning round from one round and repetition to the next."""
        for rep in range(reps):
            shift = (round_no * reps + rep) % len(jobs)
            for key, argv in jobs[shift:] + jobs[:shift]:
                self.time(key, argv)
        if memory:
            for key, argv in jobs:
                self.peak(key, argv)


CP_FLAGS = ["-r", "--preserve=mode,timestamps"]


def link_tree(tree, expected, into):
    """Hard links of the working tree's files that a transfer takes, in its layout."""
    for rel in expected:
        (into / rel).parent.mkdir(parents=True, exist_ok=True)
        os.link(tree / rel, into / rel)


def file_system(path):
    """The type of the file system that holds path, as df names it."""
    done = subprocess.run(["df", "--output=fstype", str(path)], capture_output=True, text=True)
    lines = done.stdout.split()
    return lines[-1] if done.returncode == 0 and len(lines) > 1 else "?"


class Place:
    """A folder where the transfer is timed: the working tree, the baseline's
    staging tree and the targets, all on one file system."""

    def __init__(self, tree, scratch, expected, level_name):
        scratch.mkdir(parents=True, exist_ok=True)
        self.tree = tree
        self.scratch = scratch
        self.expected = expected
        self.fs = file_system(scratch)
        self.level_name = level_name
        self.level = str(tree / "maps" / level_name)
        self.stage = scratch / "stage"
        link_tree(tree, expected, self.stage)

    def key(self, what):
        return "%s@%s" % (what, self.fs)

    def transfer_argv(self, cli, level, target, move=False):
        return ([cli, "transfer", level, "--target", str(target), "--sky", "--overwrite", "all"]
                + (["--move"] if move else []))

    def check(self, cli, cp):
        """Untimed: the transfer copies exactly the expected files with the
        right contents, cp of the staging tree gives the same tree, and the
        move delivers the same files and takes them out of the working tree."""
        tree, expected, scratch = self.tree, self.expected, self.scratch
        want = {rel: (tree / rel).stat().st_size for rel in expected}
        check = scratch / "check-transfer"
        done = subprocess.run(self.transfer_argv(cli, self.level, check), capture_output=True,
                              text=True)
        if done.returncode != 0:
            sys.exit("transfer failed:\n" + done.stderr)
        got = listing(check)
        if got != want:
            missing = sorted(set(want) - set(got))[:10]
            extra = sorted(set(got) - set(want))[:10]
            sys.exit("the transfer did not copy exactly the expected files\n"
                     "missing: %s\nextra: %s" % (missing, extra))
        differing = [rel for rel in expected if not filecmp.cmp(tree / rel, check / rel, shallow=False)]
        if differing:
            sys.exit("copied files differ from their sources: %s" % differing[:10])
        transfer_total = parse_total(done.stderr)
        if transfer_total != sum(want.values()):
            print("WARNING: the transfer reports a total of %s bytes, the files hold %d"
                  % (transfer_total, sum(want.values())))
        shutil.rmtree(check)
        copied = scratch / "check-cp"
        subprocess.run([cp] + CP_FLAGS + [str(self.stage), str(copied)], check=True)
        if listing(copied) != want:
            sys.exit("cp of the staging tree does not match the expected files")
        shutil.rmtree(copied)

        source = scratch / "move-source"
        link_tree(tree, expected, source)
        moved = scratch / "check-move"
        done = subprocess.run(self.transfer_argv(cli, str(source / "maps" / self.level_name), moved, True),
                              capture_output=True, text=True)
        if done.returncode != 0:
            sys.exit("transfer --move failed:\n" + done.stderr)
        if listing(moved) != want:
            sys.exit("the move did not deliver exactly the expected files")
        left = listing(source)
        if list(left) != ["maps/" + self.level_name]:
            sys.exit("the move left more than the level in the working tree: %s" % sorted(left)[:10])
        shutil.rmtree(moved)
        shutil.rmtree(source)

    def round(self, bench, round_no, cli, cp):
        """The transfer and cp twice each, side by side, then one move."""
        t_target = self.scratch / "transfer-out"
        c_target = self.scratch / "cp-out"
        jobs = [
            (self.key("transfer"), self.transfer_argv(cli, self.level, t_target)),
            (self.key("cp"), [cp] + CP_FLAGS + [str(self.stage), str(c_target)]),
        ]
        for rep in range(2):
            # The order turns round between the repetitions and between the
            # rounds, so that neither tool is always the first after the move.
            bench.pair(round_no + rep, jobs, memory=False)
            shutil.rmtree(t_target)
            shutil.rmtree(c_target)
        source = self.scratch / "move-source"
        link_tree(self.tree, self.expected, source)
        m_target = self.scratch / "move-out"
        bench.time(self.key("move"), self.transfer_argv(cli, str(source / "maps" / self.level_name),
                                                        m_target, True))
        os.sync()  # written back before it is deleted, like every other command's output
        shutil.rmtree(m_target)
        shutil.rmtree(source)
        os.sync()

    def peaks(self, bench, cli, cp):
        """Peak memory of the transfer and of cp, in untimed runs."""
        t_target = self.scratch / "transfer-out"
        c_target = self.scratch / "cp-out"
        bench.peak("transfer", self.transfer_argv(cli, self.level, t_target))
        bench.peak("cp", [cp] + CP_FLAGS + [str(self.stage), str(c_target)])
        shutil.rmtree(t_target)
        shutil.rmtree(c_target)


def check_plan(cli, level, expected, scratch):
    """Untimed: the plan of the transfer into a new target lists exactly the
    files the transfer copies, each new, and creates nothing."""
    target = scratch / "check-target"
    done = subprocess.run([cli, "check", level, "--target", str(target), "--sky", "--json"],
                          capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit("corvane-cli check found problems:\n" + done.stderr + done.stdout[-2000:])
    plan = json.loads(done.stdout)
    taken = {str(Path(item["target"]).relative_to(target)) for item in plan["items"]
             if item["status"] == "new"}
    others = {item["status"] for item in plan["items"]} - {"new", "stock"}
    if taken != set(expected) or others or target.exists():
        sys.exit("corvane-cli check does not plan exactly the transfer's files (%d new, %d expected, "
                 "other statuses: %s)" % (len(taken), len(expected), sorted(others)))


def check_results(cli, data, results, big, pools):
    """Untimed: the scan and the pooling list exactly what the generator put
    into the levels, and the byte total is the files' total."""
    if run_json([cli, "scan", str(big), "--json"]) != results["big"]:
        sys.exit("corvane-cli scan of %s does not list what the level names" % big)
    for count, folder in pools:
        if run_json([cli, "pool", str(folder), "--json"]) != results["pool-%d" % count]:
            sys.exit("corvane-cli pool %s does not list what its levels name" % folder)
    files, total = (int(x) for x in (data / "sizes.txt").read_text().split())
    size_out = subprocess.run([cli, "size", str(data / "sizes")], capture_output=True, text=True,
                              check=True)
    if parse_total(size_out.stdout) != total:
        sys.exit("corvane-cli size reports %s bytes for the size tree, its %d files hold %d"
                 % (parse_total(size_out.stdout), files, total))
    return files, total


# The goals: figure -> the largest ratio allowed, or for the figures in
# SECONDS_GOALS (which have no baseline) the longest time in seconds.
GOALS = {
    "scan": 10.0,
    "scan-memory": 2.0,
    "scan-disk": 3.0,
    "scan-heap": 0.25,
    "transfer": 1.2,
    "size": 1.5,
    "pool": 1.25,
    "basegame": 0.25,
    "check": 1.5,
}
SECONDS_GOALS = {"basegame"}


def check_basegame(cli, data):
    """Untimed: the index holds every name of the base game."""
    done = subprocess.run([cli, "basegame", str(data / "basegame")], capture_output=True, text=True)
    if done.returncode != 0 or done.stderr:
        sys.exit("corvane-cli basegame failed or warned:\n" + done.stderr)
    expected = int((data / "basegame.txt").read_text())
    last = done.stdout.splitlines()[-1]
    if last != "In all: {:,} files".format(expected):
        sys.exit("corvane-cli basegame reports '%s', the base game holds %d files" % (last, expected))
    return expected


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--cli", required=True, type=Path)
    parser.add_argument("--data", required=True, type=Path)
    parser.add_argument("--scratch", required=True, type=Path)
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--disk-big", type=Path)
    parser.add_argument("--transfer-also", type=Path, action="append", default=[])
    args = parser.parse_args()
    if args.runs < 1:
        sys.exit("--runs must be at least 1")

    began = time.perf_counter()
    cli = str(args.cli.resolve())
    tools = {name: shutil.which(name) for name in ("cp", "du", "wc", "find")}
    if not all(tools.values()):
        sys.exit("cp, du, wc and find are needed")
    cp, du, wc, find = tools["cp"], tools["du"], tools["wc"], tools["find"]
    data = args.data.resolve()
    tree = data / "tree"
    levels = sorted((tree / "maps").glob("*.map"))
    if len(levels) != 1:
        sys.exit("expected one level in %s" % (tree / "maps"))
    level_name = levels[0].name
    expected = (data / "expected.txt").read_text().split()
    big = data / "big" / "big.map"
    sizes = data / "sizes"
    pools = [(count, data / ("pool-%d" % count)) for count in (50, 100, 200, 1000)]
    disk_big = args.disk_big.resolve() if args.disk_big else big
    disk_fs = file_system(disk_big)
    results = json.loads((data / "results.json").read_text())

    scratch = args.scratch.resolve()
    scratch.mkdir(parents=True, exist_ok=True)
    bench = Bench(scratch)

    # Room for two copies of the working tree's files at once (one per tool),
    # and where the tree is copied to another file system, for that copy too.
    data_bytes = sum((tree / rel).stat().st_size for rel in expected)
    for folder, needed in [(scratch, 2.5)] + [(d, 3.5) for d in args.transfer_also]:
        free = shutil.disk_usage(folder).free
        if free < needed * data_bytes:
            sys.exit("not enough free space in %s: %.0f MB free, %.0f MB needed"
                     % (folder, free / 1e6, needed * data_bytes / 1e6))

    # The transfer is timed where the data lies and in every other folder
    # asked for, each with its own copy of the working tree.
    places = [Place(tree, scratch, expected, level_name)]
    for folder in args.transfer_also:
        elsewhere = folder.resolve()
        for rel in expected:
            (elsewhere / "tree" / rel).parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(tree / rel, elsewhere / "tree" / rel)
        places.append(Place(elsewhere / "tree", elsewhere / "scratch", expected, level_name))
    if len({place.fs for place in places}) != len(places):
        sys.exit("the folders of the transfer lie on the same kind of file system: %s"
                 % ", ".join(place.fs for place in places))

    big_bytes = big.stat().st_size
    with open(big, "rb") as f:
        big_lines = sum(chunk.count(b"\n") for chunk in iter(lambda: f.read(1 << 20), b""))
    if disk_big.stat().st_size != big_bytes:
        sys.exit("%s is not a copy of %s" % (disk_big, big))
    print("Data: transfer of %d files, %.1f MB; a level of %d lines, %.1f MB (%s, and %s on %s); "
          % (len(expected), data_bytes / 1e6, big_lines, big_bytes / 1e6, file_system(big), disk_big,
             disk_fs), end="")
    print("%d levels to pool; %d rounds" % (pools[-1][0], args.runs))
    print("Machine: %s %s, %d CPUs, Python %s, load average %s"
          % (platform.system(), platform.release(), os.cpu_count() or 0,
             platform.python_version(), " ".join("%.2f" % x for x in os.getloadavg())))
    print("Page cache: warm (the data is read once before the first round, never dropped)")
    if not GNU_TIME:
        print("NOTE: /usr/bin/time is missing; peak RSS figures include the wrapper's floor "
              "of %s (the figure for /bin/true)" % fmt_mem(peak_memory(["/bin/true"], scratch)))

    # Warm-up, not timed: read the data, run each command once and check
    # that Corvane's results are right.
    read_all([place.tree / rel for place in places for rel in expected] + [big, disk_big]
             + sorted(pools[-1][1].glob("maps/*.map")))
    for place in places:
        place.check(cli, cp)
    level = str(tree / "maps" / level_name)
    check_plan(cli, level, expected, scratch)
    size_files, size_total = check_results(cli, data, results, big, pools)
    basegame = data / "basegame"
    basegame_files = check_basegame(cli, data)
    du_total = int(subprocess.run([du, "-sb", str(sizes)], capture_output=True, text=True,
                                  check=True).stdout.split()[0])
    print("Checked: the transfer copies (and moves) exactly the level's files on %s, and check plans "
          "exactly those; the scan and the pooling list "
          "what the levels name; corvane-cli size totals %d bytes for the %d files (du -sb: %d, "
          "with the folders)" % (", ".join(p.fs for p in places), size_total, size_files, du_total))

    for round_no in range(args.runs):
        bench.pair(round_no, [("scan", [cli, "scan", str(big)]), ("wc", [wc, "-l", str(big)])],
                   reps=3)
        bench.pair(round_no, [("scan-disk", [cli, "scan", str(disk_big)]),
                              ("wc-disk", [wc, "-l", str(disk_big)])], memory=False, reps=3)
        bench.pair(round_no, [("size", [cli, "size", str(sizes)]), ("du", [du, "-sb", str(sizes)])],
                   reps=2)
        bench.pair(round_no, [("pool-%d" % count, [cli, "pool", str(folder)])
                              for count, folder in pools], memory=False, reps=2)
        bench.pair(round_no, [("basegame", [cli, "basegame", str(basegame)])], reps=3)
        bench.pair(round_no, [("check", [cli, "check", level, "--target", str(scratch / "check-target"),
                                         "--sky"]),
                              ("find", [find, str(tree)])], reps=3)
        for place in places:
            place.round(bench, round_no, cli, cp)
        t = {key: v[-1] for key, v in bench.times.items()}
        print("round %d: scan %s, wc -l %s, on disk %s / %s, size %s, du -sb %s, "
              "pool 50/100/200/1000 %s/%s/%s/%s, basegame %s, check %s, find %s"
              % (round_no + 1, fmt_time(t["scan"]), fmt_time(t["wc"]), fmt_time(t["scan-disk"]),
                 fmt_time(t["wc-disk"]), fmt_time(t["size"]), fmt_time(t["du"]),
                 fmt_time(t["pool-50"]), fmt_time(t["pool-100"]), fmt_time(t["pool-200"]),
                 fmt_time(t["pool-1000"]), fmt_time(t["basegame"]), fmt_time(t["check"]),
                 fmt_time(t["find"]))
              + "".join(", on %s: transfer %s, cp %s, move %s"
                        % (p.fs, fmt_time(t[p.key("transfer")]), fmt_time(t[p.key("cp")]),
                           fmt_time(t[p.key("move")])) for p in places), flush=True)
    places[0].peaks(bench, cli, cp)
    for place in places:
        shutil.rmtree(place.stage)
    heap = peak_heap([cli, "scan", str(disk_big)], scratch)

    med = statistics.median
    times = {key: med(v) for key, v in bench.times.items()}
    memory = {key: med(v) for key, v in bench.memory.items()}

    def per_level(count):
        return times["pool-%d" % count] / count

    # figure, Corvane, baseline, formatter, goal key
    rows = [
        ("scan of the big level vs wc -l: time", times["scan"], times["wc"], fmt_time, "scan"),
        ("scan of the big level: peak RSS vs file size", memory["scan"], big_bytes / 1024, fmt_mem,
         "scan-memory"),
        ("scan of the big level on %s vs wc -l: time" % disk_fs, times["scan-disk"], times["wc-disk"],
         fmt_time, "scan-disk"),
        ("scan of the big level: peak heap vs file size", heap, big_bytes / 1024, fmt_mem,
         "scan-heap"),
    ]
    for place in places:
        rows.append(("transfer vs cp -r --preserve=mode,timestamps on %s: time" % place.fs,
                     times[place.key("transfer")], times[place.key("cp")], fmt_time, "transfer"))
        rows.append(("transfer --move vs transfer on %s: time" % place.fs,
                     times[place.key("move")], times[place.key("transfer")], fmt_time, None))
    rows += [
        ("transfer vs cp: peak RSS", memory["transfer"], memory["cp"], fmt_mem, None),
        ("size of %d files vs du -sb: time" % size_files, times["size"], times["du"], fmt_time,
         "size"),
        ("size vs du -sb: peak RSS", memory["size"], memory["du"], fmt_mem, None),
    ]
    for count, _ in pools:
        rows.append(("pool %d levels: time" % count, times["pool-%d" % count], None, fmt_time, None))
    for count, _ in pools[1:]:
        rows.append(("pool, time per level: %d levels vs 50" % count, per_level(count),
                     per_level(50), fmt_time, "pool"))
    rows.append(("basegame index of %d files: time" % basegame_files, times["basegame"], None,
                 fmt_time, "basegame"))
    rows.append(("basegame index: peak RSS", memory["basegame"], None, fmt_mem, None))
    rows.append(("check of the transfer (%d files) vs find: time" % len(expected), times["check"],
                 times["find"], fmt_time, "check"))
    rows.append(("check vs find: peak RSS", memory["check"], memory["find"], fmt_mem, None))

    table = [("figure", "Corvane median", "baseline median", "ratio", "goal", "met")]
    missed = []
    unmeasured = []
    for name, ours, theirs, fmt, goal in rows:
        if ours is None:
            unmeasured.append(name)
            table.append((name, "-", fmt(theirs) if theirs else "-", "-", "<= %g" % GOALS[goal], "?"))
            continue
        ratio = ours / theirs if theirs else None
        verdict = ""
        if goal:
            met = (ours if goal in SECONDS_GOALS else ratio) <= GOALS[goal]
            verdict = "yes" if met else "NO"
            if not met:
                missed.append(name)
        goal_text = ""
        if goal:
            goal_text = "<= %g%s" % (GOALS[goal], " s" if goal in SECONDS_GOALS else "")
        table.append((name, fmt(ours), fmt(theirs) if theirs else "-",
                      "%.2f" % ratio if ratio is not None else "-", goal_text, verdict))
    widths = [max(len(row[i]) for row in table) for i in range(len(table[0]))]
    print()
    for n, row in enumerate(table):
        print("| " + " | ".join(cell.ljust(w) for cell, w in zip(row, widths)) + " |")
        if n == 0:
            print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    print()
    print("ratio = Corvane median / baseline median; pooling: time per level with 100, 200 or "
          "1000 levels over that with 50 (1 = linear); the base game's index has a goal in seconds")
    print("load average at the end: %s" % " ".join("%.2f" % x for x in os.getloadavg()))
    for place in places:
        print("samples on %s: %s" % (place.fs, "; ".join(
            "%s %s" % (what, " ".join("%.3f" % x for x in bench.times[place.key(what)]))
            for what in ("transfer", "cp", "move"))))
    unsteady = [key for key, v in bench.times.items() if max(v) > 2 * min(v)]
    if unsteady:
        print("NOTE: times of %s vary more than twofold between runs (a busy machine or disk); "
              "the medians are what counts, and more rounds (--runs) steady them"
              % ", ".join(sorted(unsteady)))
    print("times: wall clock, warm page cache; peak RSS: %s, in separate untimed runs; peak heap: "
          "valgrind --tool=massif (heap and allocator overhead; the mapped level is not heap)"
          % ("/usr/bin/time -f %M" if GNU_TIME else "getrusage of a Python wrapper's child"))
    if unmeasured:
        print("NOT MEASURED (valgrind is missing): %s" % "; ".join(unmeasured))
    print("measured in %.0f s" % (time.perf_counter() - began))
    if missed:
        print("GOALS NOT MET: %s" % "; ".join(missed))
        return 1
    print("All goals met.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
