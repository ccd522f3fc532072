"""The benchmark: generates large logs, checks that cycalc's output equals that of its general
(line-read-only) path on each, then times cycalc beside `wc -l` and `cat`, interleaved over several
rounds, and prints one table: throughput, the ratio to `wc -l`, the detail write against the floor
of writing the same bytes with `cat`, and peak resident memory.

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
    for name, path, suffix in logs:
        size = os.path.getsize(path)
        detail = os.path.join(args.work, "detail-fast.txt")
        run([cycalc, path + suffix, detail])  # the detail bytes for the cat floor
        times = {"wc": [], "cycalc": [], "cat": [], "detail": []}
        rss = 0
        copy = os.path.join(args.work, "detail-copy.txt")
        for _ in range(args.rounds):
            times["wc"].append(run(["wc", "-l", path])[0])
            seconds, peak, _ = run([cycalc, path + suffix])
            times["cycalc"].append(seconds)
            rss = max(rss, peak)
            # Both writes go to a new file: emptying a large cached one costs more than writing it.
            if os.path.exists(copy):
                os.remove(copy)
            times["cat"].append(run(["cat", detail], copy)[0])
            os.remove(detail)
            seconds, peak, _ = run([cycalc, path + suffix, detail])
            times["detail"].append(seconds)
            rss = max(rss, peak)
        median = {k: statistics.median(v) for k, v in times.items()}
        rows.append((name, size / 2**20, size / median["cycalc"] / 1e6, size / median["wc"] / 1e6,
                     median["wc"] / median["cycalc"], median["detail"], median["cat"],
                     median["detail"] / median["cat"], rss / 1024))
        os.remove(copy)
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
    print("| log (%d MiB) | cycalc MB/s | `wc -l` MB/s | cycalc / `wc -l` | with detail s | `cat` detail s | detail / `cat` | peak RSS MiB |" % args.size_mib)
    print("|---|---|---|---|---|---|---|---|")
    for name, _, mbs, wc_mbs, ratio, detail_s, cat_s, detail_ratio, rss in rows:
        print("| %s | %.0f | %.0f | %.2f | %.2f | %.2f | %.2f | %.1f |" % (name, mbs, wc_mbs, ratio, detail_s, cat_s, detail_ratio, rss))
    print()
    print("| memory case | MiB | seconds | peak RSS MiB |")
    print("|---|---|---|---|")
    for name, mib, seconds, rss in memory:
        print("| %s | %d | %.2f | %.1f |" % (name, mib, seconds, rss))
    return 0


if __name__ == "__main__":
    sys.exit(main())
