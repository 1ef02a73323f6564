#!/usr/bin/python3
"""Writes a JG roster of ROWS people in the fixed columns of the JG tool: headings in rows 1
to 6, people from row 7, every EVERY-th person flagged in column 26 (Z). The duty changes
mix leading posts, other duties and workers' technical grades, with the rank or post wage
changing for some and not for others; new-post dates are yyyymm, yyyy.mm and yyyym.

Usage: gen_jg_roster.py ROWS EVERY OUT.xlsx
Needs Debian's python3-xlsxwriter (/usr/bin/python3).
"""
import random
import sys

from roster_book import number_columns, open_roster, write_values

if len(sys.argv) != 4:
    sys.exit(__doc__)
rows, every, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
rng = random.Random(1)
book, sheet = open_roster(out, "职务变动")
sheet.write_string(0, 0, "机关工作人员职务工资变动花名册")
number_columns(sheet, 28)
# (old post, new post, old amount, new amount): leading posts, other duties, 4000, workers
moves = [("科员", "副科长", 510, 640), ("副处长", "处长", 1080, 1410), ("副科长", "主任科员", 640, 700),
         ("科长", "调研员", 830, 760), ("巡视员", "副部长", 4000, 3200), ("中级工", "高级工", 155, 195),
         ("高级工", "技师", 195, 270), ("技师", "高级技师", 270, 410), ("办事员", "科员", 430, 510)]
for i in range(rows):
    r = 6 + i
    old, new, a1, a2 = rng.choice(moves)
    w1 = rng.choice([582, 640, 700, 770])
    w2 = w1 + rng.choice([0, 0, 60])
    step1 = "%d-%d" % (rng.randint(16, 24), rng.randint(1, 5))
    step2 = step1 if w2 == w1 else "%d-%d" % (rng.randint(15, 23), rng.randint(1, 5))
    month = rng.randint(1, 12)
    since = rng.choice(["2009%02d" % month, "2009.%02d" % month, "2009%d" % month if month < 10 else "200912"])
    v = [""] * 28
    v[0], v[1], v[2] = i + 1, rng.choice("王李张刘陈杨") + rng.choice("伟芳娜敏静丽强磊军"), rng.choice("男女")
    v[3], v[4], v[5], v[6], v[7] = "197005", 199107, "1991.07", new, since
    v[8], v[9], v[10], v[11], v[12] = a1 + w1, old, a1, step1, w1
    v[15], v[16], v[17], v[18], v[19] = a2 + w2, new, a2, step2, w2
    v[22] = a2 + w2 - a1 - w1
    v[25] = 1 if i % every == 0 else ""
    v[26], v[27] = "大学", "200503"
    write_values(sheet, r, v)
book.close()
