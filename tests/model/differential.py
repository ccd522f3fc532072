"""Runs cycalc on many generated logs, every corner of the format among them, and compares its
standard output, detail file and exit status with the model's."""

import os
import random
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(__file__))
import cycalc_model  # noqa: E402


def crlf(text):
    return text.replace("\n", "\r\n").encode()


PIECES = [b"0x", b"0X", b"1651", b"\n", b"\r", b"\r\n", b"\x1a", b"\x00", b" ", b"\t", b"-", b"+", b".",
          b"0", b"f", b"F", b"9", b"x", b"ffffffff", b"123456789abcdef01", b"4294967295", b"g"]


def value_text(rng, decimal):
    v = rng.choice([0, 1, rng.randrange(1 << 16), rng.randrange(1 << 32), (1 << 32) - 1, 10787500,
                    16777217, rng.randrange(2000, 2000000)])
    if decimal:
        t = str(v) if rng.random() < 0.9 else "-" + str(v)
        if rng.random() < 0.2:
            t += "." + str(rng.randrange(1000))
        return t
    form = rng.choice(["0x%04X", "%x", "0x%x", "%08X", "0X%04x"])
    return form % v


def gen_log(rng):
    decimal = rng.random() < 0.3
    long_mode = rng.random() < 0.25
    lf = b"\r\n" if rng.random() < 0.3 else b"\n"
    out = bytearray()
    if rng.random() < 0.5:
        out += rng.choice([b"1651 log of run 7", b"0x00001651", b"0x1651", b"header 1651" + b"-" * rng.randrange(70),
                           b"no mark in this header", b"abc1651xy"]) + lf
    states = [rng.randrange(1 << 32) for _ in range(3)] + [0, 1, 2]
    for _ in range(rng.randrange(0, 30)):
        state = rng.choice(states[:rng.randrange(1, 6)])
        for _ in range(rng.randrange(1, 6)):
            for v in (state, rng.randrange(1 << 32) if rng.random() < 0.2 else rng.randrange(100, 20000)):
                if long_mode:
                    out += b"0x%04X" % (v & 0xFFFF) + lf + b"0x%04X" % (v >> 16) + lf
                else:
                    out += value_text(rng, decimal).encode() + lf
    # Damage: the corners of the format, dropped in anywhere.
    for _ in range(rng.choice([0, 0, 1, 3, 10])):
        at = rng.randrange(len(out) + 1)
        out[at:at] = rng.choice(PIECES)
    if out and rng.random() < 0.3:
        del out[-1]
    if rng.random() < 0.05:
        out = bytearray(rng.randbytes(rng.randrange(200)))
    suffix = (",d" if decimal else "") + (",l" if long_mode else "")
    return bytes(out), decimal and not long_mode, long_mode, suffix


def main():
    # cycalc [COUNT [SEED [RUNNER]]]: RUNNER (wine, say) runs the binary when it is not native.
    binary = os.path.abspath(sys.argv[1])
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 2000
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    runner = sys.argv[4:]
    failures = 0
    with tempfile.TemporaryDirectory() as tmp:
        log_path = os.path.join(tmp, "g.log")
        detail_path = os.path.join(tmp, "g.out")
        for i in range(count):
            data, decimal, long_mode, suffix = gen_log(rng)
            with open(log_path, "wb") as f:
                f.write(data)
            # Names relative to the folder, so that any platform's program finds them.
            run = subprocess.run(runner + [binary, "g.log" + suffix, "g.out"], capture_output=True, cwd=tmp)
            if runner and run.returncode != 0 and not run.stdout:
                # The program always prints something; nothing at all is a runner (wine, qemu) that
                # failed to start it. Once more, and say so.
                print("runner failed on log %d (status %d, %r); once more" % (i, run.returncode, run.stderr[-300:]))
                run = subprocess.run(runner + [binary, "g.log" + suffix, "g.out"], capture_output=True, cwd=tmp)
            summary, detail, _ = cycalc_model.report(data, decimal, long_mode)
            fmt = "%ld.%*d" if decimal else "%lx"
            want_out = crlf("file name: %s\nformat: %s\n" % ("g.log", fmt) + summary)
            with open(detail_path, "rb") as f:
                got_detail = f.read()
            if run.returncode != 0 or run.stdout != want_out or got_detail != crlf(detail):
                failures += 1
                if failures <= 5:
                    print("MISMATCH on log %d (%s): %r" % (i, suffix, data))
                    print("  status", run.returncode, "stderr", run.stderr[-300:])
                    print("  want", want_out)
                    print("  got ", run.stdout)
                    if got_detail != crlf(detail):
                        print("  detail want", crlf(detail))
                        print("  detail got ", got_detail)
    print("%d passed, %d failed" % (count - failures, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
