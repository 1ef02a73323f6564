#!/usr/bin/python3
"""Writes a small JG roster as .xls (BIFF8) with xlwt, the format the tool's file dialog
offers first: row 7 a leading-post change, row 8 a worker's, amounts as numbers, dates
as numbers, texts and yyyym.

Usage: jg_roster_xls.py OUT.xls     (Debian's python3-xlwt: /usr/bin/python3)
"""
import sys

import xlwt

book = xlwt.Workbook(encoding="utf-8")
sheet = book.add_sheet("职务变动")
sheet.write(0, 0, "机关工作人员职务工资变动花名册")
for c in range(28):
    sheet.write(5, c, c + 1)
rows = {
    6: {1: "韩志刚", 2: "男", 3: "196807", 4: 198907, 5: "1989.07", 6: "处长", 7: 200912, 8: 1662,
        9: "副处长", 10: 1080, 11: "16-3", 12: 582, 15: 2052, 16: "处长", 17: 1410, 18: "15-2", 19: 642,
        22: 390, 25: 1, 26: "大学", 27: "200503"},
    7: {1: "杜群文", 2: "女", 3: "197702", 4: 198310, 5: "198507", 6: "高级工", 7: "20094", 8: 855,
        9: "中级工", 10: 155, 11: "21-5", 12: 700, 15: 895, 16: "高级工", 17: 195, 18: "21-5", 19: 700,
        22: 40, 25: " 1 ", 26: "中专", 27: "2003.06"},
}
for r, cells in rows.items():
    for c, v in cells.items():
        sheet.write(r, c, v)
book.save(sys.argv[1])
