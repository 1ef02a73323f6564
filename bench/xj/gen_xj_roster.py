#!/usr/bin/python3
"""Writes an XJ roster of ROWS people in the default column map, like the example roster.

Usage: gen_xj_roster.py ROWS OUT.xlsx [SEED]
Rows 7 to 6 + ROWS hold the people, the row after them the totals. Needs Debian's
python3-xlsxwriter (/usr/bin/python3).
"""
import os
import random
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples"))
from make_examples import xj_roster  # noqa: E402

if len(sys.argv) < 3:
    sys.exit(__doc__)
xj_roster(sys.argv[2], int(sys.argv[1]), random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1))
