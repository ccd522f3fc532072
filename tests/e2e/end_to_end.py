"""End-to-end cases that must hold on every platform: the program (native, or under a runner such
as wine or qemu) on fixture logs, its standard output, detail file and exit status compared byte for
byte. With --windows the raw command line is tested too, through a .bat file run by cmd.

    python3 end_to_end.py CYCALC SOURCE_DIR [--windows] [RUNNER ...]
"""

import os
import shutil
import stat
import subprocess
import sys
import tempfile


def fixture(source, name, folder=("tests", "fixtures")):
    with open(os.path.join(source, *folder, name), "rb") as f:
        return f.read()


USAGE = (b"cycalc.exe: MIPs calculation utility. It operates on a log file\r\n"
         b"containing state and cycle measurement values logged for each call\r\n"
         b"to the function under test. The default frame size (number of samples\r\n"
         b"per call) is 20, and the sample rate is 8000 Hz.\r\n\r\n\r\n"
         b"Usage : cycalc infile[,d][,l] [outfile]\r\nwhere:\r\n"
         b"  ,d option specifies data in 'infile' to be in ascii decimal format\r\n"
         b"  ,l option specifies data in 'infile' to be 32-bit long\r\n\r\n\r\n")


def info(name, fmt=b"%lx"):
    return b"file name: " + name + b"\r\nformat: " + fmt + b"\r\n"


def cases(source):
    """(label, arguments, standard output, status, detail file name, its expected bytes or None).
    The files they use are made by `files` below."""
    log = fixture(source, "worked.log")
    summary = fixture(source, "worked.summary")
    detail = fixture(source, "worked.detail")
    opened = info(b"run.log")
    table = [
        ("worked run", ["run.log", "out.txt"], opened + summary, 0, "out.txt", detail),
        ("CR LF and Ctrl-Z", ["crlf.log", "crlf.txt"], info(b"crlf.log") + summary, 0, "crlf.txt", detail),
        ("usage", [], USAGE, 1, None, None),
        ("missing log", ["missing.log,d", "kept.txt"], b"Can not open input file missing.log\r\n", 1, "kept.txt", b"kept"),
        ("folder as log", ["folder,l", "kept.txt"], b"Can not open input file folder\r\n", 1, "kept.txt", b"kept"),
        ("empty name", [""], b"Can not open input file \r\n", 1, None, None),
        ("name is only a suffix", [",d"], b"Can not open input file \r\n", 1, None, None),
        ("name is only a comma", [","], b"Can not open input file \r\n", 1, None, None),
        ("empty log empties the detail file", ["empty.log", "out,d.txt", "third"], info(b"empty.log"), 0,
         "out,d.txt", b""),
        ("decimal, CR LF, fractions", ["dec.log,x,d", "dec,d.txt"], info(b"dec.log", b"%ld.%*d") + summary, 0,
         "dec,d.txt", detail),
        ("read-only log", ["readonly.log"], info(b"readonly.log") + summary, 0, None, None),
        ("detail file in a missing folder", ["run.log", "missing/out.txt"],
         opened + b"Can not open output file missing/out.txt\r\n", 1, None, None),
        ("detail file is a folder", ["run.log", "folder"], opened + b"Can not open output file folder\r\n", 1,
         None, None),
        ("detail file has no name", ["run.log", ""], opened + b"Can not open output file \r\n", 1, None, None),
        ("example log", ["examples/example.log", "example.txt"], fixture(source, "example.report", ("examples",)), 0,
         "example.txt", fixture(source, "example.detail", ("examples",))),
    ]
    for arg in ("long.log,l", "long.log,d,l", "long.log,ld"):
        table.append(("long mode " + arg, [arg], info(b"long.log") + summary, 0, None, None))
    for spelling in ("run.log", "./run.log", "folder/../run.log", "hard.log"):
        table.append(("refuse the log as detail file: " + spelling, ["run.log,d", spelling],
                      info(b"run.log", b"%ld.%*d") + b"Output file " + spelling.encode() + b" is the input file\r\n",
                      1, None, None))
    for name in ("my log.txt", "%s%n%d.log", "caf\u00e9 \u65e5\u672c.log"):
        table.append(("name " + name, [name + ",x"], info(name.encode()) + summary, 0, None, None))
    return table


def files(work, source):
    log = fixture(source, "worked.log")

    def write(name, data):
        with open(os.path.join(work, name), "wb") as f:
            f.write(data)

    write("run.log", log)
    write("crlf.log", log.replace(b"\n", b"\r\n") + b"\x1a0x0003\r\n0x0001\r\n")
    write("kept.txt", b"kept")
    os.mkdir(os.path.join(work, "folder"))
    write("empty.log", b"")
    write("out,d.txt", b"old")
    write("dec.log", b"1651 decimal log\r\n1\r\n100.5\r\n1\r\n200\r\n1\r\n300\r\n2\r\n50\r\n2\r\n70\r\n")
    write("long.log", b"".join(b"0x%04X\n0x0000\n" % v for v in (1, 100, 1, 200, 1, 300, 2, 50, 2, 70)))
    write("readonly.log", log)
    os.chmod(os.path.join(work, "readonly.log"), stat.S_IREAD)
    os.link(os.path.join(work, "run.log"), os.path.join(work, "hard.log"))
    os.mkdir(os.path.join(work, "examples"))
    shutil.copy(os.path.join(source, "examples", "example.log"), os.path.join(work, "examples"))
    for name in ("my log.txt", "%s%n%d.log", "caf\u00e9 \u65e5\u672c.log"):
        write(name, log)


def main():
    binary = os.path.abspath(sys.argv[1])
    source = os.path.abspath(sys.argv[2])
    windows = "--windows" in sys.argv
    runner = [a for a in sys.argv[3:] if a != "--windows"]
    failures = []
    passed = 0
    work = tempfile.mkdtemp(prefix="cycalc-e2e-")
    files(work, source)
    log = fixture(source, "worked.log")

    def read(name):
        with open(os.path.join(work, name), "rb") as f:
            return f.read()

    for label, args, want_out, want_status, detail, want_detail in cases(source):
        env = dict(os.environ, LANG="C.UTF-8")
        run = subprocess.run(runner + [binary] + args, cwd=work, capture_output=True, env=env)
        got_detail = read(detail) if detail and os.path.exists(os.path.join(work, detail)) else None
        if run.stdout != want_out or run.returncode != want_status or (detail and got_detail != want_detail):
            failures.append("%s: status %d (want %d)\n  out  %r\n  want %r\n  detail %r" % (
                label, run.returncode, want_status, run.stdout, want_out, got_detail))
        else:
            passed += 1
    if read("run.log") != log:
        failures.append("the log was changed")

    if windows:
        # The raw command line, as cmd hands it to the program.
        summary = fixture(source, "worked.summary")
        shutil.copy(binary, os.path.join(work, "cycalc.exe"))
        shutil.copy(os.path.join(work, "dec.log"), os.path.join(work, "my dec.txt"))
        with open(os.path.join(work, "lines.bat"), "wb") as f:
            f.write(b'@echo off\r\n'
                    b'cycalc.exe "my dec.txt,d" "out file.txt"\r\n'
                    b'cycalc.exe my" "log.txt\r\n'
                    b'cycalc.exe ""\r\n'
                    b'cycalc.exe *.log\r\n'
                    b'cycalc.exe folder\\..\\run.log\r\n')
        run = subprocess.run(runner + ["cmd", "/c", "lines.bat"], cwd=work, capture_output=True)
        want = (info(b"my dec.txt", b"%ld.%*d") + summary + info(b"my log.txt") + summary +
                b"Can not open input file \r\n" + b"Can not open input file *.log\r\n" +
                info(b"folder\\..\\run.log") + summary)
        if run.stdout != want or read("out file.txt") != fixture(source, "worked.detail"):
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
