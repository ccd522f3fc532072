"""A slow, literal model of cycalc's report for a log, written apart from the program so that the
two can be compared on many generated logs. It models a log that opens and reads without error."""

import struct


def f32(x):
    """Round a double to single precision (to nearest, ties to even)."""
    return struct.unpack("<f", struct.pack("<f", x))[0]


class Log:
    """The log as text: CRs dropped, data ending at the first Ctrl-Z, line reads with a limit."""

    def __init__(self, data):
        cut = data.find(b"\x1a")
        if cut >= 0:
            data = data[:cut]
        self.chars = data.replace(b"\r", b"")
        self.pos = 0
        self.eof = False

    def gets(self, n):
        """fgets with limit n: None when nothing was read before the end."""
        if self.pos >= len(self.chars):
            self.eof = True
            return None
        out = bytearray()
        while len(out) < n - 1:
            if self.pos >= len(self.chars):
                self.eof = True
                break
            c = self.chars[self.pos]
            self.pos += 1
            out.append(c)
            if c == 0x0A:
                break
        return bytes(out)

    def rewind(self):
        self.pos = 0
        self.eof = False


def c_text(b):
    """The text of a line: up to its first NUL."""
    i = b.find(b"\x00")
    return b if i < 0 else b[:i]


def scan(text, base):
    spaces = b" \t\n\v\f\r"
    i = 0
    while i < len(text) and text[i] in spaces:
        i += 1
    neg = False
    if i < len(text) and text[i] in b"+-":
        neg = text[i] == ord("-")
        i += 1
    digits = "0123456789abcdef"[:base]
    got = False
    if base == 16 and text[i:i + 1] == b"0" and text[i + 1:i + 2] in (b"x", b"X"):
        got = True
        i += 2
    mag = 0
    while i < len(text) and chr(text[i]).lower() in digits:
        got = True
        mag = mag * base + int(chr(text[i]), 16)
        if mag >= 1 << 64:
            return 0 if neg else 0xFFFFFFFF
        i += 1
    if not got:
        return 0
    if neg:
        mag = -mag
    return mag & 0xFFFFFFFF


class Reader:
    def __init__(self, log, decimal, long_mode):
        self.log = log
        self.base = 10 if decimal and not long_mode else 16
        self.long_mode = long_mode
        self.end_of_input = False

    def skip_header(self):
        line = self.log.gets(79)
        if self.log.eof:
            return True
        text = c_text(line)
        if b"1651" in text and len(text) > 10:
            return False
        self.log.rewind()
        return False

    @staticmethod
    def unprefix(text):
        return text[2:] if text[:2] in (b"0x", b"0X") else text

    def value(self):
        low = self.log.gets(19)
        if low is None:
            self.end_of_input = True
            return 0
        low = c_text(low)
        if not self.long_mode:
            return scan(self.unprefix(low), self.base)
        high = self.log.gets(19)
        if high is None:
            self.end_of_input = True
            return 0
        high = c_text(high)
        if high.endswith(b"\n"):
            high = high[:-1]
        return scan(high + self.unprefix(low), 16)


def sci(v):
    return "%.2e" % v


def report(data, decimal=False, long_mode=False):
    """Returns (summary lines, detail lines, log at end) as text with LF ends."""
    log = Log(data)
    reader = Reader(log, decimal, long_mode)
    summary, detail = [], []
    if reader.skip_header():
        return "", "", True
    count = total = peak = 0.0

    def close(state):
        nonlocal total
        if count != 0.0:
            total = f32(total / count)
        summary.append("ID: %04x (%5u) MIPs (avg,peak): %s %s\n" % (state, state, sci(total), sci(peak)))

    current = reader.value()
    reader.value()
    if reader.end_of_input:
        return "", "", False
    while not log.eof:
        nxt = reader.value()
        cycles = reader.value()
        if reader.end_of_input:
            close(current)
            return "".join(summary), "".join(detail), False
        detail.append("state_ID: 0x%04x, CPU cycles/call: %s, MIPs: %s\n"
                      % (current, sci(float(cycles)), sci(cycles * 400.0)))
        mips = f32(cycles * 400.0)
        if current == nxt:
            if mips > peak:
                peak = mips
            total = f32(total + mips)
            count = f32(count + 1.0)
        else:
            close(current)
            count, total, peak = 1.0, mips, mips
        current = nxt
    close(current)
    return "".join(summary), "".join(detail), False
