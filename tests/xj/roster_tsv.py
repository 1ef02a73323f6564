#!/usr/bin/python3
"""Prints the rows a roster import should store, as the table dump shows them.

An independent reading of a well-formed XJ roster in the default column layout
(column k holds field k), by openpyxl: the header of the 32 column names, then one line
per worksheet row FIRST..LAST that has a sequence number and a name. Integer columns
print their whole number (0 when empty), text columns the cell text (empty when empty).
Usage: roster_tsv.py WORKBOOK FIRST LAST
"""
import sys

import openpyxl

NAMES = ("xh xm xb csny gzny tsny ndkh xrzw zwny heji1 gwdj1 gwgz1 xjdj1 xjgz1 bf101 qita1 heji2 "
         "gwdj2 gwgz2 xjdj2 xjgz2 bf102 qita2 zzhj zzxj zz10 zzqt bufa bz zwlb sftz whcd").split()
TEXT = {"xm", "xb", "csny", "gzny", "tsny", "ndkh", "xrzw", "zwny", "gwdj1", "gwdj2", "bz", "whcd"}


def shown(value, name):
    if value is None or str(value).strip() == "":
        return "" if name in TEXT else "0"
    if isinstance(value, float) and value.is_integer():
        value = int(value)
    return str(value)


def main():
    sheet = openpyxl.load_workbook(sys.argv[1], data_only=True).worksheets[0]
    print("\t".join(NAMES))
    for r in range(int(sys.argv[2]), int(sys.argv[3]) + 1):
        cells = [sheet.cell(r, c).value for c in range(1, 33)]
        if shown(cells[0], "xm") == "" or shown(cells[1], "xm") == "":
            continue
        print("\t".join(shown(v, n) for v, n in zip(cells, NAMES)))


main()
