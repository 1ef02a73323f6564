"""What the roster generators of the ZW, JB and JG benchmarks write alike: a workbook kept
in constant memory, its one sheet, the column numbers of heading row 6 and the people's
rows, where an empty text leaves the cell empty."""
import xlsxwriter


def open_roster(out, sheet_name):
    book = xlsxwriter.Workbook(out, {"constant_memory": True})
    return book, book.add_worksheet(sheet_name)


def number_columns(sheet, count):
    for c in range(count):
        sheet.write_number(5, c, c + 1)


def write_values(sheet, r, values):
    for c, value in enumerate(values):
        if isinstance(value, str):
            if value:
                sheet.write_string(r, c, value)
        else:
            sheet.write_number(r, c, value)
