#!/usr/bin/env python3
"""Transcribes the span-efficiency table from its printed form into C++.

The printed table has one row per aspect ratio, washout and sweep:

    | 1 | 0 | -40 | 0.941 | 0.973 | ... (eight values, one per taper ratio) |

in the order aspect ratio, then washout, then sweep (120 rows). Every other
line of the input is ignored. The output is the body of a 720-entry float
array, eight values to a line with the row's axis values in a comment.

usage: transcribe_e_table.py <printed table> > aircraft/acf_e_table.inc
"""
import re
import sys

AR = [1, 5, 10, 25, 60]
WASHOUT = [0, 2, 5]
SWEEP = [-40, -25, 0, 25, 40, 70]
ROW = re.compile(r"^\|\s*(-?\d+)\s*\|\s*(-?\d+)\s*\|\s*(-?\d+)\s*((?:\|\s*\d\.\d+\s*){8})\|\s*$")


def main():
    rows = {}
    with open(sys.argv[1], encoding="utf-8") as f:
        for line in f:
            m = ROW.match(line.strip())
            if not m:
                continue
            key = (int(m.group(1)), int(m.group(2)), int(m.group(3)))
            values = [v.strip() for v in m.group(4).split("|") if v.strip()]
            if key in rows:
                sys.exit(f"row {key} given twice")
            rows[key] = values
    out = ["// Span efficiency by [aspect ratio][washout][sweep][taper]; written by",
           "// tools/transcribe_e_table.py, do not edit by hand."]
    for a in AR:
        for w in WASHOUT:
            for s in SWEEP:
                if (a, w, s) not in rows:
                    sys.exit(f"row {(a, w, s)} missing")
                vals = ", ".join(v + "f" for v in rows[(a, w, s)])
                out.append(f"    {vals},  // AR {a}, washout {w}, sweep {s}")
    if len(rows) != len(AR) * len(WASHOUT) * len(SWEEP):
        sys.exit(f"{len(rows)} rows, expected 120")
    print("\n".join(out))


if __name__ == "__main__":
    main()
