#!/usr/bin/python3
"""Writes a JB roster of ROWS people in the fixed columns of MODE (0 the normal step, 1
the rolling promotion): headings in rows 1 to 6, people from row 7, every EVERY-th person
flagged in column 22. The duty wages mix leading, non-leading and workers' amounts; one
in five rolling rows keeps its former rank in columns 7 and 8 only.

Usage: gen_jb_roster.py MODE ROWS EVERY OUT.xlsx
Needs Debian's python3-xlsxwriter (/usr/bin/python3).
"""
import random
import sys

from roster_book import number_columns, open_roster, write_values

if len(sys.argv) != 5:
    sys.exit(__doc__)
mode, rows, every, out = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
rng = random.Random(1)
book, sheet = open_roster(out, "级别工资")
sheet.write_string(0, 0, "机关工作人员级别工资滚动花名册" if mode else "机关工作人员级别工资正常晋升花名册")
number_columns(sheet, 29)
duty = [640, 830, 510, 430, 590, 760, 410, 270, 195, 155, 4000, 1080]
posts = ["科员", "办事员", "副科长", "科长", "主任科员", "驾驶员", "电工"]
for i in range(rows):
    r = 6 + i
    d = rng.choice(duty)
    w1 = rng.choice([582, 640, 700, 770, 845, 925, 1020])
    w2 = w1 + rng.choice([55, 60, 75, 80])
    step1 = "%d-%d" % (rng.randint(14, 24), rng.randint(1, 5))
    step2 = "%d-%d" % (rng.randint(13, 23), rng.randint(1, 5))
    ym = "%d%02d" % (rng.randint(1980, 2005), rng.randint(1, 12))
    v = [""] * 29
    v[0], v[1] = i + 1, rng.choice("王李张刘陈杨") + rng.choice("伟芳娜敏静丽强磊军")
    v[21] = 1 if i % every == 0 else ""
    if mode:
        v[2] = rng.choice(posts)
        v[10] = rng.choice(["", "主任科员", "副主任科员"])
        if i % 5 == 0:
            v[6], v[7] = step1, w1
        else:
            v[11], v[12] = step1, w1
        v[16], v[17], v[18] = step2, w2, w2 - w1
        v[22], v[23], v[24], v[25] = rng.choice("男女"), "1970.05", ym, ym
        v[26], v[27], v[28] = "大学", "200601", d
    else:
        v[2], v[3], v[4], v[5] = rng.choice("男女"), "197005", ym, "1991.07"
        v[8], v[9] = rng.choice(posts), "2004.03"
        v[10], v[11], v[12], v[13] = d + w1, d, step1, w1
        v[14], v[15], v[16], v[17], v[18] = d + w2, d, step2, w2, w2 - w1
        v[22] = "大学"
    write_values(sheet, r, v)
book.close()
