"""The benchmark: generates large logs, checks that cycalc's output equals that of its general
(line-read-only) path on each, then times cycalc beside `wc -l` and `dd`, interleaved over several
rounds, and prints one table: throughput and the ratio to `wc -l` of the summary path and of the
detail path writing to /dev/null, the detail file written to /dev/shm and to the disk beside `dd` of
the same bytes (medians, with the spread over the rounds), instructions per line (callgrind), and
peak resident memory.

    python3 bench/run.py [--size-mib 512] [--rounds 5] [--work DIR] [--check-only]
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build", "bench")


def build():
    subprocess.run(["cmake", "--preset", "bench"], cwd=ROOT, check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", "--preset", "bench", "-j2"], cwd=ROOT, check=True, stdout=subprocess.DEVNULL)
    return (os.path.join(BUILD, "cycalc"), os.path.join(BUILD, "bench", "cycalc_exact"),
            os.path.join(BUILD, "bench", "make_log"))


def run(argv, stdout_path=os.devnull):
    """Runs a command under /usr/bin/time (a small parent, so that the peak RSS is the command's
    own); returns (seconds, peak RSS in KiB, exit status)."""
    with open(stdout_path, "wb") as out:
        start = time.perf_counter()
        process = subprocess.run(["/usr/bin/time", "-f", "%M"] + argv, stdout=out, stderr=subprocess.PIPE)
        seconds = time.perf_counter() - start
    rss = int(process.stderr.decode().strip().splitlines()[-1])
    return seconds, rss, process.returncode


def instructions_per_line(cycalc, make_log, work, path, suffix):
    """Instructions per log line of the summary path, counted by callgrind on a 16 MiB log of the same
    shape (the count does not depend on the machine's load); 0 without valgrind."""
    if shutil.which("valgrind") is None:
        return 0
    small = path.replace(".log", "-callgrind.log")
    shape, ends = os.path.basename(path).split("-")[:2]
    if not os.path.exists(small):
        with open(small, "wb") as f:
            subprocess.run([make_log, "16", shape, ends], stdout=f, check=True)
    with open(small, "rb") as f:
        lines = f.read().count(b"\n")
    out = os.path.join(work, "callgrind.out")
    result = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out, cycalc, small + suffix],
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    os.remove(out)
    for line in result.stderr.decode().splitlines():
        if "Collected :" in line:
            return int(line.split(":")[-1].strip()) / max(lines, 1)
    return 0


def same_file(a, b):
    return subprocess.run(["cmp", "-s", a, b]).returncode == 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--size-mib", type=int, default=512)
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--work", default="/tmp/cycalc-bench")
    parser.add_argument("--check-only", action="store_true", help="check fast against exact output, time nothing")
    args = parser.parse_args()

    cycalc, exact, make_log = build()
    os.makedirs(args.work, exist_ok=True)
    cases = [("hex, LF", "hex", "lf", ""), ("hex, CR LF", "hex", "crlf", ""),
             ("decimal ,d", "decimal", "lf", ",d"), ("long ,l", "long", "lf", ",l")]
    logs = []
    for name, shape, ends, suffix in cases:
        path = os.path.join(args.work, "%s-%s-%d.log" % (shape, ends, args.size_mib))
        if not os.path.exists(path):
            with open(path, "wb") as f:
                subprocess.run([make_log, str(args.size_mib), shape, ends], stdout=f, check=True)
        logs.append((name, path, suffix))

    # The fast program must print exactly what its general path prints, on every log.
    for name, path, suffix in logs:
        outputs = []
        for binary, tag in ((cycalc, "fast"), (exact, "exact")):
            detail = os.path.join(args.work, "detail-%s.txt" % tag)
            report = os.path.join(args.work, "report-%s.txt" % tag)
            _, _, status = run([binary, path + suffix, detail], report)
            outputs.append((report, detail, status))
        (fast_report, fast_detail, fast_status), (exact_report, exact_detail, exact_status) = outputs
        if fast_status != exact_status or not same_file(fast_report, exact_report) or not same_file(fast_detail, exact_detail):
            print("MISMATCH between the fast and the exact path on %s" % name)
            return 1
        print("fast and exact paths agree on %s (%d MiB)" % (name, args.size_mib))
    if args.check_only:
        return 0

    rows = []
    shm = "/dev/shm" if os.path.isdir("/dev/shm") else args.work
    for name, path, suffix in logs:
        size = os.path.getsize(path)
        detail = os.path.join(args.work, "detail-fast.txt")
        run([cycalc, path + suffix, detail])  # the detail bytes for the dd floor
        times = {k: [] for k in ("wc", "cycalc", "null", "shm", "dd_shm", "disk", "dd_disk")}
        rss = 0
        targets = {"shm": os.path.join(shm, "cycalc-detail.txt"), "disk": os.path.join(args.work, "detail-out.txt")}
        for _ in range(args.rounds):
            times["wc"].append(run(["wc", "-l", path])[0])
            seconds, peak, _ = run([cycalc, path + suffix])
            times["cycalc"].append(seconds)
            rss = max(rss, peak)
            seconds, peak, _ = run([cycalc, path + suffix, os.devnull])
            times["null"].append(seconds)
            rss = max(rss, peak)
            # Every write goes to a new file: emptying a large cached one costs more than writing it.
            for place, target in targets.items():
                for key, argv in ((place, [cycalc, path + suffix, target]),
                                  ("dd_" + place, ["dd", "if=" + detail, "of=" + target, "bs=128K", "status=none"])):
                    if os.path.exists(target):
                        os.remove(target)
                    times[key].append(run(argv)[0])
                os.remove(target)
        median = {k: statistics.median(v) for k, v in times.items()}
        spread = {k: (min(v), max(v)) for k, v in times.items()}
        rows.append((name, size / median["cycalc"] / 1e6, size / median["wc"] / 1e6, median["wc"] / median["cycalc"],
                     median["null"], median["wc"] / median["null"], median, spread,
                     instructions_per_line(cycalc, make_log, args.work, path, suffix), rss / 1024))
        os.remove(detail)

    # Memory on shapes that would grow a careless reader: one line without LF, and only empty lines.
    memory = []
    for name, shape, mib in (("one line, no LF", "one-line", 1024), ("empty lines only", "empty-lines", 100)):
        mib = min(mib, max(args.size_mib * 2, 4))
        path = os.path.join(args.work, "%s-%d.log" % (shape, mib))
        if not os.path.exists(path):
            with open(path, "wb") as f:
                subprocess.run([make_log, str(mib), shape], stdout=f, check=True)
        seconds, peak, _ = run([cycalc, path])
        memory.append((name, mib, seconds, peak / 1024))

    print()
    print("| log (%d MiB) | cycalc MB/s | `wc -l` MB/s | × `wc -l` | detail to /dev/null s | × `wc -l` "
          "| detail to /dev/shm s (spread) | `dd` to /dev/shm s (spread) | detail to disk s (spread) "
          "| `dd` to disk s (spread) | instructions per line | peak RSS MiB |" % args.size_mib)
    print("|---|---|---|---|---|---|---|---|---|---|---|---|")
    for name, mbs, wc_mbs, ratio, null_s, null_ratio, median, spread, per_line, rss in rows:
        cells = ["%.2f (%.2f–%.2f)" % ((median[k],) + spread[k]) for k in ("shm", "dd_shm", "disk", "dd_disk")]
        print("| %s | %.0f | %.0f | %.2f | %.2f | %.2f | %s | %s | %.0f | %.1f |" % (
            name, mbs, wc_mbs, ratio, null_s, null_ratio, " | ".join(cells[:2]), " | ".join(cells[2:]), per_line, rss))
    print()
    print("| memory case | MiB | seconds | peak RSS MiB |")
    print("|---|---|---|---|")
    for name, mib, seconds, rss in memory:
        print("| %s | %d | %.2f | %.1f |" % (name, mib, seconds, rss))
    return 0


if __name__ == "__main__":
    sys.exit(main())
