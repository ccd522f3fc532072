"""cycalc-plot on fixture logs: the SVG is well-formed XML and shows the expected calls, runs,
legend entries and peak; an empty log still gives a valid SVG; errors give their message and
status; the example log's SVG equals the one committed beside it.

    python3 plot_test.py CYCALC_PLOT SOURCE_DIR [RUNNER ...]
"""

import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SVG = "{http://www.w3.org/2000/svg}"


def brute_force_table(log_values, baseline_values):
    """The comparison table computed the plain way from the values of two logs (state IDs and cycle
    counts alternating; the first record only names the first state)."""
    def totals(values):
        pairs = [(values[i], values[i + 1]) for i in range(0, len(values) - 1, 2)]
        table = {}
        for state, cycles in pairs[1:]:
            load = cycles * 400.0
            entry = table.setdefault(state, [0, 0.0, 0.0])
            entry[0] += 1
            entry[1] += load
            entry[2] = max(entry[2], load)
        return table

    def change(a, b):
        if b == 0:
            return "+0.0%" if a == 0 else "n/a"
        return "%+.1f%%" % ((a - b) / b * 100.0)

    log, base = totals(log_values), totals(baseline_values)
    lines = ["state\tcalls\tmean\tpeak\tbaseline_calls\tbaseline_mean\tbaseline_peak\tmean_change\tpeak_change"]
    for state in list(log) + [s for s in base if s not in log]:
        cells = ["%04x" % state]
        for table in (log, base):
            if state in table:
                calls, total, peak = table[state]
                cells += [str(calls), "%.2e" % (total / calls), "%.2e" % peak]
            else:
                cells += ["-", "-", "-"]
        if state in log and state in base:
            cells += [change(log[state][1] / log[state][0], base[state][1] / base[state][0]),
                      change(log[state][2], base[state][2])]
        else:
            cells += ["-", "-"]
        lines.append("\t".join(cells))
    return ("\r\n".join(lines) + "\r\n").encode()


def classes(root, name):
    return [e for e in root.iter() if e.get("class") == name]


def main():
    plot = os.path.abspath(sys.argv[1])
    source = os.path.abspath(sys.argv[2])
    runner = sys.argv[3:]
    work = tempfile.mkdtemp(prefix="cycalc-plot-")
    failures = []
    passed = 0

    def expect(label, condition, detail=""):
        nonlocal passed
        if condition:
            passed += 1
        else:
            failures.append("%s %s" % (label, detail))

    def run(*args):
        return subprocess.run(runner + [plot] + list(args), cwd=work, capture_output=True)

    def write(name, data):
        with open(os.path.join(work, name), "wb") as f:
            f.write(data)

    # Three runs (1, 2, 1) of 3, 2 and 2 counted calls; the first record counts nowhere.
    write("runs.log", b"1651 plot fixture\n1\n10\n1\n20\n1\n30\n1\n40\n2\n50\n2\n60\n1\n70\n1\n7000\n")
    result = run("runs.log", "runs.svg")
    expect("status", result.returncode == 0, result.stdout)
    expect("message", result.stdout == b"runs.svg: 7 calls, 3 runs\r\n", result.stdout)
    root = ET.parse(os.path.join(work, "runs.svg")).getroot()
    expect("svg root", root.tag == SVG + "svg")
    title = root.find(SVG + "title").text
    expect("title", title == "runs.log: 7 calls, 3 runs", title)
    expect("one column per call", len(classes(root, "column")) == 7)
    expect("run boundaries", len(classes(root, "run-boundary")) == 2)
    expect("legend entries", len(classes(root, "legend-entry")) == 2)
    peak = classes(root, "peak-label")[0].text
    expect("peak", peak == "peak 1.15e+07 at call 7 (state 0001)", peak)
    expect("self-contained", b"<script" not in open(os.path.join(work, "runs.svg"), "rb").read())

    # The same log in decimal and in long mode reads the same, down to the picture.
    with open(os.path.join(work, "runs.svg"), "rb") as f:
        runs_svg = f.read()
    write("runs.dec", b"1\n16\n1\n32\n1\n48\n1\n64\n2\n80\n2\n96\n1\n112\n1\n28672\n")
    long_values = [1, 0x10, 1, 0x20, 1, 0x30, 1, 0x40, 2, 0x50, 2, 0x60, 1, 0x70, 1, 0x7000]
    write("runs.long", b"".join(b"0x%04x\n0x0000\n" % v for v in long_values))
    for label, argument in (("decimal", "runs.dec,d"), ("long mode", "runs.long,l")):
        result = run(argument, "same.svg")
        expect(label, result.stdout == b"same.svg: 7 calls, 3 runs\r\n", result.stdout)
        with open(os.path.join(work, "same.svg"), "rb") as f:
            picture = f.read().replace(argument.split(",")[0].encode(), b"runs.log")
        expect(label + ": same picture", picture == runs_svg)

    # States past the sixteenth are counted together as "others".
    write("many.log", b"".join(b"%x\n%x\n" % (state, 100 * (state + 1)) for state in range(20)))
    result = run("many.log", "many.svg")
    root = ET.parse(os.path.join(work, "many.svg")).getroot()
    entries = classes(root, "legend-entry")
    expect("sixteen states and the others", len(entries) == 17, len(entries))
    others = ["".join(t.text or "" for t in entries[-1].iter(SVG + "text"))]
    # States 1 to 16 fill the table (state 0 only names the first run); 17, 18 and 19 are the others.
    expect("others row", others == ["others3" + "%.2e" % (1900 * 400.0) + "%.2e" % (2000 * 400.0)], others)

    write("empty.log", b"")
    result = run("empty.log", "empty.svg")
    root = ET.parse(os.path.join(work, "empty.svg")).getroot()
    expect("empty log", result.returncode == 0 and len(classes(root, "empty")) == 1, result.stdout)

    # Windows allows no < or > in a file name; ' and " need escaping too.
    odd = "odd name & 'x'.log" if plot.endswith(".exe") else "odd name & <x>.log"
    write(odd, b"1\n1\n1\n2\n")
    result = run(odd, "odd.svg")
    root = ET.parse(os.path.join(work, "odd.svg")).getroot()
    expect("escaped name", root.find(SVG + "title").text.startswith(odd))

    name = "caf\u00e9 \u65e5\u672c.log"
    write(name, b"1\n1\n1\n2\n")
    result = run(name, "utf8.svg")
    root = ET.parse(os.path.join(work, "utf8.svg")).getroot()
    title = root.find(SVG + "title").text
    expect("non-ASCII name kept", title.startswith(name), title)

    # A log against a baseline in another encoding, of another length, with states of its own.
    changed = [1, 900, 1, 1000, 1, 1125, 2, 50000, 2, 48000, 3, 7, 3, 0, 1, 990]
    baseline = [2, 10, 1, 1200, 1, 1100, 2, 52000, 2, 47000, 4, 300, 4, 310, 4, 299, 1, 1150, 1, 1125]
    write("changed.log", b"1651 changed routine\n" + b"".join(b"0x%04X\n" % v for v in changed))
    write("baseline.dec", b"".join(b"%d\n" % v for v in baseline))
    write("baseline.long", b"".join(b"0x%04X\n0x%04X\n" % (v & 0xffff, v >> 16) for v in baseline))
    for label, base_argument in (("decimal baseline", "baseline.dec,d"), ("long-mode baseline", "baseline.long,l")):
        result = run("changed.log", "compare.svg", base_argument)
        table = result.stdout.split(b"\r\n", 1)[1] if b"\r\n" in result.stdout else b""
        expect(label + ": status", result.returncode == 0, result.stdout)
        expect(label + ": first line as before", result.stdout.startswith(b"compare.svg: 7 calls, 4 runs\r\n"), result.stdout)
        expect(label + ": table", table == brute_force_table(changed, baseline), b"\n" + table + b"\nwant\n" +
               brute_force_table(changed, baseline))
        root = ET.parse(os.path.join(work, "compare.svg")).getroot()
        title = root.find(SVG + "title").text
        expect(label + ": title names both", "changed.log" in title and base_argument.split(",")[0] in title, title)
        expect(label + ": baseline drawn", len(classes(root, "baseline-column")) == 9)
        expect(label + ": log drawn", len(classes(root, "column")) == 7)
        expect(label + ": both peaks", len(classes(root, "peak")) == 1 and len(classes(root, "baseline-peak")) == 1)
        rows = classes(root, "comparison-row")
        expect(label + ": a row per state", len(rows) == 4, len(rows))
        texts = ["".join(t.text or "" for t in row.iter(SVG + "text")) for row in rows]
        expect(label + ": missing state shows dashes", texts[-1] == "0004---" + "3" + "%.2e" % 121200.0 + "%.2e" % 124000.0
               + "--", texts[-1])
    result = run("changed.log", "nothing.svg", "missing.log,d")
    expect("missing baseline", result.returncode == 1 and result.stdout == b"Can not open input file missing.log\r\n",
           result.stdout)
    result = run("changed.log", "baseline.dec", "baseline.dec,d")
    with open(os.path.join(work, "baseline.dec"), "rb") as f:
        kept = f.read() == b"".join(b"%d\n" % v for v in baseline)
    expect("baseline as the SVG file", result.returncode == 1 and kept and
           result.stdout == b"Output file baseline.dec is the input file\r\n", result.stdout)

    result = run()
    expect("usage", result.returncode == 1 and b"Usage : cycalc-plot infile[,d][,l] out.svg [baseline[,d][,l]]\r\n" in result.stdout)
    result = run("missing.log,d", "x.svg")
    expect("missing log", result.returncode == 1 and result.stdout == b"Can not open input file missing.log\r\n",
           result.stdout)
    result = run("runs.log", "no/such/folder.svg")
    expect("svg not writable", result.returncode == 1 and
           result.stdout == b"Can not open output file no/such/folder.svg\r\n", result.stdout)
    result = run("runs.log", "runs.log")
    expect("svg is the log", result.returncode == 1 and
           result.stdout == b"Output file runs.log is the input file\r\n", result.stdout)

    # The committed picture of the example log.
    os.mkdir(os.path.join(work, "examples"))
    shutil.copy(os.path.join(source, "examples", "example.log"), os.path.join(work, "examples"))
    result = run("examples/example.log", "example.svg")
    with open(os.path.join(work, "example.svg"), "rb") as f, open(os.path.join(source, "examples", "example.svg"), "rb") as g:
        expect("example SVG unchanged", f.read() == g.read())
    # The committed comparison picture: the changed example log against its baseline.
    for name in ("changed.log", "baseline.log"):
        shutil.copy(os.path.join(source, "examples", name), os.path.join(work, "examples"))
    result = run("examples/changed.log", "compare.svg", "examples/baseline.log")
    with open(os.path.join(work, "compare.svg"), "rb") as f, open(os.path.join(source, "examples", "compare.svg"), "rb") as g:
        expect("comparison SVG unchanged", result.returncode == 0 and f.read() == g.read())

    shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print("FAILED " + failure)
    print("%d passed, %d failed" % (passed, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
