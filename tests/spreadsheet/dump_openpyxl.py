#!/usr/bin/python3
"""Prints what openpyxl, a reader independent of ours, finds in a workbook.

Usage: /usr/bin/python3 dump_openpyxl.py FILE formulas|values
One line per non-empty cell of every worksheet, tab-separated:
  cell  SHEET-INDEX  ROW  COLUMN  KIND  VALUE  NUMBER-FORMAT  BOLD
KIND is n (number), s (text), b (boolean), d (date), f (formula text, in "formulas"
mode). Numbers are printed with repr(), texts with \\, TAB and newlines escaped. Then
one line per merged range and per sheet's page orientation and sheet name.
"""
import datetime
import sys

import openpyxl


def escape(text):
    return text.replace('\\', '\\\\').replace('\t', '\\t').replace('\n', '\\n')


def main():
    path, mode = sys.argv[1], sys.argv[2]
    book = openpyxl.load_workbook(path, data_only=(mode == 'values'))
    out = []
    for index, sheet in enumerate(book.worksheets):
        out.append('sheet\t%d\t%s' % (index, sheet.title))
        out.append('orientation\t%d\t%s' % (index, sheet.page_setup.orientation))
        for merged in sorted(str(r) for r in sheet.merged_cells.ranges):
            out.append('merged\t%d\t%s' % (index, merged))
        for row in sheet.iter_rows():
            for cell in row:
                value = cell.value
                if value is None:
                    continue
                if isinstance(value, bool):
                    kind, text = 'b', str(int(value))
                elif isinstance(value, (int, float)):
                    kind, text = 'n', repr(float(value))
                elif isinstance(value, datetime.datetime):
                    kind = 'd'
                    text = '%d-%d-%d' % (value.year, value.month, value.day)
                    if value.time() != datetime.time(0):
                        text += ' %d:%02d:%02d' % (value.hour, value.minute, value.second)
                elif isinstance(value, str) and mode == 'formulas' and value.startswith('='):
                    kind, text = 'f', escape(value)
                elif isinstance(value, str):
                    kind, text = 's', escape(value)
                else:
                    kind, text = 'o', escape(str(value))
                out.append('cell\t%d\t%d\t%d\t%s\t%s\t%s\t%d' % (
                    index, cell.row, cell.column, kind, text, escape(cell.number_format),
                    1 if cell.font is not None and cell.font.b else 0))
    sys.stdout.write('\n'.join(out) + '\n')


if __name__ == '__main__':
    main()
