#!/usr/bin/python3
"""Writes a ZW roster of ROWS people in the default zwRow map: a merged title and headings
in rows 1 to 6 (frozen, as rosters often are), people from row 7, every EVERY-th person
flagged for printing, one in five of those with an opinion template of their own.

Usage: gen_zw_roster.py ROWS EVERY OUT.xlsx
Needs Debian's python3-xlsxwriter (/usr/bin/python3).
"""
import random
import sys

from roster_book import open_roster, write_values

if len(sys.argv) != 4:
    sys.exit(__doc__)
rows, every, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
rng = random.Random(1)
book, sheet = open_roster(out, "岗位变动花名册")
sheet.freeze_panes(6, 0)
sheet.set_column(1, 1, 9)
sheet.set_column(6, 6, 11)
sheet.merge_range(0, 0, 0, 32, "事业单位工作人员岗位工资变动花名册")
heads = ["序号", "姓名", "性别", "出生年月", "参加工作时间", "连续工龄推算时间", "现任职务", "任职时间",
         "合计", "岗位等级", "岗位工资", "薪级等级", "薪级工资", "提高10%", "其它", "(空)",
         "合计", "岗位等级", "岗位工资", "薪级等级", "薪级工资", "提高10%", "其它", "(空)",
         "月增资", "补发工资", "备注", "打印否", "文化程度", "变动原因", "前任职务", "前职时间", "呈报意见"]
for c, h in enumerate(heads):
    sheet.write_string(3, c, h)
    sheet.write_number(5, c, c + 1)
wage = {5: 930, 6: 780, 7: 680, 8: 590, 9: 550, 10: 500}
posts = ["办事员", "科员", "副科长", "科长", "助理工程师", "工程师"]
for i in range(rows):
    r = 6 + i
    g1 = rng.randint(6, 10)
    g2 = g1 - 1 if rng.random() < 0.8 else g1 + 1
    g2 = min(max(g2, 5), 10)
    xj = rng.choice([253, 341, 443, 527, 643])
    bf1, bf2 = round((wage[g1] + xj) / 10), round((wage[g2] + xj) / 10)
    flagged = i % every == 0
    values = [i + 1, rng.choice("王李张刘陈杨") + rng.choice("伟芳娜敏静丽强磊军"), rng.choice("男女"),
              "19%02d%02d" % (rng.randint(60, 85), rng.randint(1, 12)), 199000 + rng.randint(1, 12),
              "1990.%02d" % rng.randint(1, 12), rng.choice(posts), 200900 + rng.randint(1, 12),
              wage[g1] + xj + bf1, str(g1), wage[g1], 20, xj, bf1, "", "",
              wage[g2] + xj + bf2, str(g2), wage[g2], 20, xj, bf2, "", "",
              wage[g2] - wage[g1] + bf2 - bf1, 0, "", 1 if flagged else "", "大学", "职务晋升",
              rng.choice(posts), "2005.07",
              "同意&zw2任职，岗位工资由&gw1元调整为&gw2元，&ym起执行。" if flagged and i % (5 * every) == 0 else ""]
    write_values(sheet, r, values)
book.close()
