#!/usr/bin/python3
"""Writes the formula fixtures of the workbook tests with openpyxl, a writer that stores
formulas without computing them (each formula cell gets an empty result).

Run with Debian's python3 (python3-openpyxl):
  /usr/bin/python3 tests/spreadsheet/formula_fixtures/make_formula_fixtures.py
"""
import os

import openpyxl

HERE = os.path.dirname(os.path.abspath(__file__))


def main():
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "名册"
    sheet.append(["姓名", "岗位工资", "薪级工资", "10%", "合计", "称呼", "三分"])
    people = [("张三", 930, 273), ("李四", 680, 295), ("王五", 590, 317)]
    for i, (name, post, grade) in enumerate(people, start=2):
        sheet.append([name, post, grade, f"=C{i}*0.1", f"=B{i}+C{i}+D{i}", f'=A{i}&"同志"',
                      f"=ROUND(E{i}/3,0)"])
    sheet.append(["合计", "=SUM(B2:B4)", "=SUM(C2:C4)", "=SUM(D2:D4)", "=SUM(E2:E4)"])
    book.save(os.path.join(HERE, "openpyxl_no_results.xlsx"))


if __name__ == "__main__":
    main()
