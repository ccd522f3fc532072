"""Writes the two logs of the comparison example: baseline.log, a routine measured with a set of
test vectors, and changed.log, the same routine after a change, measured with the same vectors.
The change makes state 0002 about 15% cheaper and gives state 0003 a new peak; the rest stays.

    python3 examples/make_comparison_logs.py  (writes beside this script)
"""

import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
# The runs of the test vectors: (state, calls).
RUNS = [(1, 40), (2, 120), (3, 60), (2, 80), (4, 30), (1, 50), (3, 90), (2, 60)]
BASE_CYCLES = {1: 2100, 2: 8800, 3: 5200, 4: 1300}


def write(name, changed):
    rng = random.Random(1651)
    lines = ["1651 cycalc log: %s, 20 samples per call at 8000 Hz" % ("after the change" if changed else "baseline")]
    call = 0
    for state, calls in RUNS:
        for _ in range(calls):
            cycles = BASE_CYCLES[state] * (1 + 0.08 * rng.uniform(-1, 1))
            if changed and state == 2:
                cycles *= 0.85
            if changed and state == 3 and call == 430:
                cycles *= 1.9  # a new spike
            lines += ["0x%04X" % state, "0x%04X" % int(cycles)]
            call += 1
    with open(os.path.join(HERE, name), "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


write("baseline.log", False)
write("changed.log", True)
