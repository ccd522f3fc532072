"""End-to-end cases that must hold on every platform: the program (native, or under a runner such
as wine) on fixture logs, its standard output, detail file and exit status compared byte for byte.
With --windows the raw command line is tested too, through a .bat file run by cmd.

    python3 end_to_end.py CYCALC [--windows] [RUNNER ...]
"""

import os
import shutil
import stat
import subprocess
import sys
import tempfile

WORKED_LOG = (b"1651 log of run 7\n0x0001\n0x0064\n0x0001\n0x00C8\n0x0001\n0x012C\n0x0002\n0x0032\n"
              b"0x0002\n0x0046\n")
WORKED_SUMMARY = (b"ID: 0001 (    1) MIPs (avg,peak): 1.00e+05 1.20e+05\r\n"
                  b"ID: 0002 (    2) MIPs (avg,peak): 2.40e+04 2.80e+04\r\n")
WORKED_DETAIL = (b"state_ID: 0x0001, CPU cycles/call: 2.00e+02, MIPs: 8.00e+04\r\n"
                 b"state_ID: 0x0001, CPU cycles/call: 3.00e+02, MIPs: 1.20e+05\r\n"
                 b"state_ID: 0x0001, CPU cycles/call: 5.00e+01, MIPs: 2.00e+04\r\n"
                 b"state_ID: 0x0002, CPU cycles/call: 7.00e+01, MIPs: 2.80e+04\r\n")
USAGE = (b"cycalc.exe: MIPs calculation utility. It operates on a log file\r\n"
         b"containing state and cycle measurement values logged for each call\r\n"
         b"to the function under test. The default frame size (number of samples\r\n"
         b"per call) is 20, and the sample rate is 8000 Hz.\r\n\r\n\r\n"
         b"Usage : cycalc infile[,d][,l] [outfile]\r\nwhere:\r\n"
         b"  ,d option specifies data in 'infile' to be in ascii decimal format\r\n"
         b"  ,l option specifies data in 'infile' to be 32-bit long\r\n\r\n\r\n")


def info(name, fmt=b"%lx"):
    return b"file name: " + name + b"\r\nformat: " + fmt + b"\r\n"


def main():
    binary = os.path.abspath(sys.argv[1])
    windows = "--windows" in sys.argv
    runner = [a for a in sys.argv[2:] if a != "--windows"]
    failures = []
    passed = 0
    work = tempfile.mkdtemp(prefix="cycalc-e2e-")

    def write(name, data):
        with open(os.path.join(work, name), "wb") as f:
            f.write(data)

    def read(name):
        with open(os.path.join(work, name), "rb") as f:
            return f.read()

    def check(label, args, want_out, want_status, detail=None, want_detail=None):
        nonlocal passed
        env = dict(os.environ, LANG="C.UTF-8")
        run = subprocess.run(runner + [binary] + args, cwd=work, capture_output=True, env=env)
        got_detail = read(detail) if detail and os.path.exists(os.path.join(work, detail)) else None
        if run.stdout != want_out or run.returncode != want_status or (want_detail is not None and got_detail != want_detail):
            failures.append("%s: status %d (want %d)\n  out  %r\n  want %r\n  detail %r" % (
                label, run.returncode, want_status, run.stdout, want_out, got_detail))
        else:
            passed += 1

    write("run.log", WORKED_LOG)
    check("worked run", ["run.log", "out.txt"], info(b"run.log") + WORKED_SUMMARY, 0, "out.txt", WORKED_DETAIL)
    write("crlf.log", WORKED_LOG.replace(b"\n", b"\r\n") + b"\x1a0x0003\r\n0x0001\r\n")
    check("CR LF and Ctrl-Z", ["crlf.log", "crlf.txt"], info(b"crlf.log") + WORKED_SUMMARY, 0, "crlf.txt", WORKED_DETAIL)
    check("usage", [], USAGE, 1)
    write("kept.txt", b"kept")
    check("missing log", ["missing.log,d", "kept.txt"], b"Can not open input file missing.log\r\n", 1, "kept.txt", b"kept")
    check("empty name", [",d"], b"Can not open input file \r\n", 1)
    os.mkdir(os.path.join(work, "folder"))
    check("folder as log", ["folder"], b"Can not open input file folder\r\n", 1)
    write("empty.log", b"")
    write("out,d.txt", b"old")
    check("empty log empties the detail file", ["empty.log", "out,d.txt", "third"], info(b"empty.log"), 0, "out,d.txt", b"")
    write("dec.log", b"1\n100.5\n1\n200\n1\n300\n2\n50\n2\n70\n")
    check("decimal", ["dec.log,x,d"], info(b"dec.log", b"%ld.%*d") + WORKED_SUMMARY, 0)
    write("long.log", b"".join(b"0x%04X\n0x0000\n" % v for v in (1, 100, 1, 200, 1, 300, 2, 50, 2, 70)))
    check("long mode", ["long.log,d,l"], info(b"long.log") + WORKED_SUMMARY, 0)
    os.link(os.path.join(work, "run.log"), os.path.join(work, "hard.log"))
    for spelling in ("run.log", "./run.log", "folder/../run.log", "hard.log"):
        check("refuse the log as detail file: " + spelling, ["run.log", spelling],
              info(b"run.log") + b"Output file " + spelling.encode() + b" is the input file\r\n", 1)
    if read("run.log") != WORKED_LOG:
        failures.append("the log was changed")
    check("detail file in a missing folder", ["run.log", "missing/out.txt"],
          info(b"run.log") + b"Can not open output file missing/out.txt\r\n", 1)
    for name in ("my log.txt", "%s%n%d.log", "caf\u00e9 \u65e5\u672c.log"):
        write(name, WORKED_LOG)
        check("name " + name, [name + ",x"], info(name.encode()) + WORKED_SUMMARY, 0)
    write("readonly.log", WORKED_LOG)
    os.chmod(os.path.join(work, "readonly.log"), stat.S_IREAD)
    check("read-only log", ["readonly.log"], info(b"readonly.log") + WORKED_SUMMARY, 0)

    if windows:
        # The raw command line, as cmd hands it to the program.
        shutil.copy(binary, os.path.join(work, "cycalc.exe"))
        write("my log.txt", WORKED_LOG)
        write("my dec.txt", read("dec.log"))
        bat = (b'@echo off\r\n'
               b'cycalc.exe "my dec.txt,d" "out file.txt"\r\n'
               b'cycalc.exe my" "log.txt\r\n'
               b'cycalc.exe ""\r\n'
               b'cycalc.exe *.log\r\n'
               b'cycalc.exe folder\\..\\run.log\r\n')
        write("lines.bat", bat)
        run = subprocess.run(runner + ["cmd", "/c", "lines.bat"], cwd=work, capture_output=True)
        want = (info(b"my dec.txt", b"%ld.%*d") + WORKED_SUMMARY + info(b"my log.txt") + WORKED_SUMMARY +
                b"Can not open input file \r\n" + b"Can not open input file *.log\r\n" +
                info(b"folder\\..\\run.log") + WORKED_SUMMARY)
        if run.stdout != want or read("out file.txt") != WORKED_DETAIL:
            failures.append("raw command lines:\n  out  %r\n  want %r" % (run.stdout, want))
        else:
            passed += 1

    shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print("FAILED " + failure)
    print("%d passed, %d failed" % (passed, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
