#!/usr/bin/python3
"""Prints the cells whose value or formula differs between two workbooks.

An independent reader of the files the write-back saved: one line per changed cell,
"sheet<TAB>row<TAB>column<TAB>old<TAB>new" (values as Python repr, None for empty),
over every worksheet; a worksheet added or lost is a line with row and column 0.
Usage: changed_cells.py BEFORE.xlsx AFTER.xlsx   (or two .xls files, read by xlrd; values
only, since .xls files keep formulas as tokens)
"""
import sys

import openpyxl
import xlrd


def xls_cells(path):
    book = xlrd.open_workbook(path)
    sheets = {}
    for ws in book.sheets():
        values = {}
        for r in range(ws.nrows):
            for c in range(ws.row_len(r)):
                cell = ws.cell(r, c)
                if cell.ctype not in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
                    values[(r + 1, c + 1)] = int(cell.value) if cell.ctype == xlrd.XL_CELL_NUMBER \
                        and cell.value == int(cell.value) else cell.value
        sheets[ws.name] = values
    return sheets


def cells(path):
    if path.endswith('.xls'):
        return xls_cells(path)
    book = openpyxl.load_workbook(path)
    sheets = {}
    for ws in book.worksheets:
        values = {}
        for row in ws.iter_rows():
            for c in row:
                if c.value is not None:
                    values[(c.row, c.column)] = c.value
        sheets[ws.title] = values
    return sheets


def main():
    before, after = cells(sys.argv[1]), cells(sys.argv[2])
    for n, title in enumerate(list(before) + [t for t in after if t not in before]):
        if title not in before or title not in after:
            print(f"{n + 1}\t0\t0\t{title in before}\t{title in after}")
            continue
        old, new = before[title], after[title]
        for key in sorted(set(old) | set(new)):
            if old.get(key) != new.get(key):
                print(f"{n + 1}\t{key[0]}\t{key[1]}\t{old.get(key)!r}\t{new.get(key)!r}")


main()
