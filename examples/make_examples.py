#!/usr/bin/python3
"""Writes the example rosters of the four tools into this folder.

Each workbook looks like the rosters wage offices keep: a merged title, a unit line and
column headings in rows 1 to 6, one person per row from row 7, totals as formulas with
their values stored, dates of the kind "yyyymm" or "yyyy.mm" typed as text or as numbers.

Run with Debian's python3 (python3-xlsxwriter): /usr/bin/python3 examples/make_examples.py
"""
import datetime
import os
import random
import re
import sys
import zipfile

import xlsxwriter

HERE = os.path.dirname(os.path.abspath(__file__))

# Salary-grade amounts of the wage tables: staff categories 1-2 (63 grades) and 3-4 (40).
GRADES_1 = [80, 91, 102, 113, 125, 137, 151, 165, 181, 197, 215, 233, 253, 273, 295, 317,
            341, 365, 391, 417, 443, 471, 499, 527, 555, 583, 613, 643, 673, 703, 735, 767,
            799, 834, 869, 904, 944, 984, 1024, 1064, 1109, 1154, 1199, 1244, 1289, 1334,
            1384, 1434, 1484, 1534, 1590, 1655, 1720, 1785, 1850, 1920, 1990, 2060, 2130,
            2200, 2280, 2360, 2440]
GRADES_2 = [70, 80, 90, 101, 112, 124, 136, 148, 161, 174, 188, 202, 217, 232, 248, 264,
            282, 300, 320, 340, 363, 386, 409, 432, 455, 478, 504, 530, 556, 585, 614, 643,
            675, 707, 739, 774, 809, 844, 879, 915]

SURNAMES = "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴莫孔向汤"
GIVEN = "伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华玉兰萍红建文辉力永健世广志义兴良海山仁波宁贵福生龙元全国胜学祥才发成康星光天达安岩中茂进林有坚和彪博诚先敬震振壮会思群豪心邦承乐绍功松善厚庆磊民友裕河哲江超浩亮政谦亨奇固之轮翰朗伯宏言若鸣朋斌梁栋维启克伦翔旭鹏泽晨辰士以建家致树炎德行时泰盛雄琛钧冠策腾楠榕风航弘"
POSTS_STAFF = ["科员", "办事员", "副科长", "科长", "干事", "会计", "出纳", "文秘"]
POSTS_TECH = ["助理工程师", "工程师", "高级工程师", "主治医师", "主管护师", "讲师", "一级教师", "二级教师"]
POSTS_WORKER = ["驾驶员", "电工", "炊事员", "门卫", "维修工"]
EDUCATION = ["大学", "大专", "中专", "高中", "研究生", "初中"]
APPRAISAL = ["合格", "优秀", "合格", "合格", "基本合格"]


def name(rng):
    return rng.choice(SURNAMES) + "".join(rng.choice(GIVEN) for _ in range(rng.choice([1, 2, 2])))


def year_month(rng, first, last, dotted=None):
    y = rng.randint(first, last)
    m = rng.randint(1, 12)
    if dotted is None:
        dotted = rng.random() < 0.4
    return f"{y}.{m:02d}" if dotted else f"{y}{m:02d}"


def col_letter(c):  # 1-based
    s = ""
    while c:
        c, r = divmod(c - 1, 26)
        s = chr(65 + r) + s
    return s


class Sheet:
    """Formats and the title block shared by the example rosters."""

    def __init__(self, path, sheet_name, title, ncols):
        self.book = xlsxwriter.Workbook(path)
        # A fixed creation date keeps the files identical from run to run.
        self.book.set_properties({"created": datetime.datetime(2010, 1, 4, 9, 0, 0), "author": "工资科"})
        self.ws = self.book.add_worksheet(sheet_name)
        b = self.book
        self.title = b.add_format({"bold": True, "font_size": 16, "align": "center", "valign": "vcenter", "font_name": "宋体"})
        self.head = b.add_format({"bold": True, "border": 1, "align": "center", "valign": "vcenter", "text_wrap": True, "font_size": 9, "font_name": "宋体"})
        self.cell = b.add_format({"border": 1, "font_size": 10, "font_name": "宋体"})
        self.num = b.add_format({"border": 1, "font_size": 10, "num_format": "0"})
        self.text = b.add_format({"border": 1, "font_size": 10, "num_format": "@"})
        self.ncols = ncols
        self.ws.merge_range(0, 0, 1, ncols - 1, title, self.title)
        self.ws.merge_range(2, 0, 2, ncols - 1, "填报单位：vodeve市第一中学                    2010年1月", b.add_format({"font_size": 10}))
        self.ws.set_row(0, 24)
        self.ws.freeze_panes(6, 2)
        self.ws.set_landscape()
        self.ws.set_paper(9)
        self.ws.repeat_rows(0, 5)

    def headings(self, names, numbers=True):
        """Rows 4-6: the column headings; row 6 holds the column numbers."""
        for c, text in enumerate(names):
            self.ws.merge_range(3, c, 4, c, text, self.head)
            self.ws.write(5, c, c + 1 if numbers else "", self.head)
            self.ws.set_column(c, c, max(5, min(14, len(text) * 2 + 1)))

    def put(self, r, c, value):
        """Writes one data cell (0-based r, c): numbers as numbers, text as text."""
        if value is None or value == "":
            self.ws.write_blank(r, c, None, self.cell)
        elif isinstance(value, int):
            self.ws.write_number(r, c, value, self.num)
        elif isinstance(value, tuple):  # (formula, cached value)
            self.ws.write_formula(r, c, value[0], self.num, value[1])
        else:
            self.ws.write_string(r, c, value, self.text if value.isdigit() else self.cell)

    def close(self):
        self.book.close()


def fill_down(path, columns, first, last):
    """Stores each column's formulas of rows first to last as one filled-down (shared)
    formula, the way Excel keeps a column of totals filled down from its first row:
    the first cell holds the text, the others point to it."""
    with zipfile.ZipFile(path) as z:
        entries = [(info, z.read(info.filename)) for info in z.infolist()]
    out = []
    for info, data in entries:
        if info.filename == "xl/worksheets/sheet1.xml":
            xml = data.decode("utf-8")
            for group, col in enumerate(columns):
                def shared(m, col=col, group=group):
                    row = int(m.group(1))
                    if row == first:
                        return (f'<c r="{col}{row}"{m.group(2)}><f t="shared" ref="{col}{first}:{col}{last}" '
                                f'si="{group}">{m.group(3)}</f>')
                    return f'<c r="{col}{row}"{m.group(2)}><f t="shared" si="{group}"/>'
                xml, n = re.subn(rf'<c r="{col}(\d+)"([^>]*)><f>([^<]*)</f>',
                                 lambda m: shared(m) if first <= int(m.group(1)) <= last else m.group(0), xml)
                assert n >= last - first + 1, (col, n)
            data = xml.encode("utf-8")
        out.append((info, data))
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for info, data in out:
            z.writestr(info, data)


def xj_roster(path, rows, rng):
    """XJ: column k holds field k of the default column map (A = sequence number ...)."""
    s = Sheet(path, "薪级工资调整花名册", "2010年事业单位工作人员正常增加薪级工资花名册", 32)
    sums = {}
    s.headings(["序号", "姓名", "性别", "出生年月", "参加工作时间", "连续工龄推算时间", "2009年度考核情况",
                "职务(技术等级)", "任职时间", "合计", "岗位等级", "岗位工资", "薪级等级", "薪级工资", "提高10%", "其它",
                "合计", "岗位等级", "岗位工资", "薪级等级", "薪级工资", "提高10%", "其它",
                "增资合计", "薪级工资", "提高10%", "其它", "补发工资", "备注", "职务类别", "调资否", "文化程度"])
    for i in range(rows):
        r = 6 + i
        x = r + 1  # 1-based row for formulas
        category = rng.choice([1, 2, 2, 2, 3, 4])
        table = GRADES_1 if category <= 2 else GRADES_2
        grade = rng.randint(5, 40) if category <= 2 else rng.randint(3, 30)
        xjgz = table[grade - 1]
        post_grade = rng.randint(7, 12) if category <= 2 else rng.randint(3, 5)
        gwgz = {7: 680, 8: 590, 9: 550, 10: 500, 11: 470, 12: 430, 3: 470, 4: 430, 5: 400}[post_grade]
        supplement = rng.choice(["salary", "both", "none"])
        bf10 = round(xjgz / 10) if supplement == "salary" else round((gwgz + xjgz) / 10) if supplement == "both" else 0
        qita = rng.choice([0, 0, 50, 120])
        post = rng.choice(POSTS_STAFF if category == 1 else POSTS_TECH if category == 2 else POSTS_WORKER)
        adjust = 1 if rng.random() < 0.85 else 0
        born = rng.randint(1955, 1988)
        values = [
            i + 1, name(rng), rng.choice("男女"),
            year_month(rng, born, born), year_month(rng, born + 18, min(2008, born + 25)),
            year_month(rng, born + 18, min(2008, born + 25)),
            rng.choice(APPRAISAL), post, year_month(rng, 2000, 2009),
            (f"=L{x}+N{x}+O{x}+P{x}", gwgz + xjgz + bf10 + qita),
            str(post_grade), gwgz, grade, xjgz, bf10 if bf10 else "", qita if qita else "",
            (f"=S{x}+U{x}+V{x}+W{x}", gwgz + xjgz + bf10 + qita),
            str(post_grade), gwgz, grade, xjgz, bf10 if bf10 else "", qita if qita else "",
            (f"=Y{x}+Z{x}+AA{x}", 0), "", "", "", "",
            "" if rng.random() < 0.8 else "新调入", category, adjust, rng.choice(EDUCATION),
        ]
        # Year-months typed as numbers in some rows, as text in others, as offices do.
        for c in (3, 4, 5, 8):
            if rng.random() < 0.3 and "." not in values[c]:
                values[c] = int(values[c])
        for c, v in enumerate(values):
            s.put(r, c, v)
            if c in (9, 16, 23, 27):
                sums[c] = sums.get(c, 0) + (v[1] if isinstance(v, tuple) else v if isinstance(v, int) else 0)
    last = 6 + rows
    s.ws.write(last, 1, "合计", s.cell)
    for c in (9, 16, 23, 27):
        L = col_letter(c + 1)
        s.ws.write_formula(last, c, f"=SUM({L}7:{L}{last})", s.num, sums.get(c, 0))
    s.close()
    # The row totals filled down, as the offices' rosters keep them.
    fill_down(path, ["J", "Q", "X"], 7, last)


def zw_roster(path, rows, rng):
    """ZW: the default zwRow map; columns P (16) and X (24) are not part of it."""
    s = Sheet(path, "岗位变动花名册", "事业单位工作人员岗位工资变动花名册", 33)
    s.headings(["序号", "姓名", "性别", "出生年月", "参加工作时间", "连续工龄推算时间", "现任职务", "任职时间",
                "合计", "岗位等级", "岗位工资", "薪级等级", "薪级工资", "提高10%", "其它", "(空)",
                "合计", "岗位等级", "岗位工资", "薪级等级", "薪级工资", "提高10%", "其它", "(空)",
                "月增资", "补发工资", "备注", "打印否", "文化程度", "变动原因", "前任职务", "前职时间", "呈报意见"])
    moves = [("办事员", "科员", 9, 8), ("科员", "副科长", 8, 7), ("助理工程师", "工程师", 10, 9),
             ("工程师", "高级工程师", 7, 5), ("副科长", "科长", 7, 6), ("科长", "科员", 6, 8)]
    wage = {5: 930, 6: 780, 7: 680, 8: 590, 9: 550, 10: 500, 11: 470, 12: 430}
    for i in range(rows):
        r = 6 + i
        x = r + 1
        old, new, g1, g2 = rng.choice(moves)
        grade = rng.randint(8, 30)
        xj1 = GRADES_1[grade - 1]
        xj2 = xj1
        bf1 = round((wage[g1] + xj1) / 10)
        bf2 = round((wage[g2] + xj2) / 10)
        change = wage[g2] - wage[g1] + bf2 - bf1
        template = "同意&ZW2任职，岗位工资由&gw1元调整为&gw2元，&ym起执行。" if i % 5 == 4 else ""
        values = [i + 1, name(rng), rng.choice("男女"), year_month(rng, 1960, 1985),
                  year_month(rng, 1980, 2005), year_month(rng, 1980, 2005), new, year_month(rng, 2009, 2009, False),
                  (f"=K{x}+M{x}+N{x}+O{x}", wage[g1] + xj1 + bf1), str(g1), wage[g1], grade, xj1, bf1, "", "",
                  (f"=S{x}+U{x}+V{x}+W{x}", wage[g2] + xj2 + bf2), str(g2), wage[g2], grade, xj2, bf2, "", "",
                  change, change * 4, "", 1 if rng.random() < 0.7 else "", rng.choice(EDUCATION),
                  "职务晋升" if g2 < g1 else "职务变动", old, year_month(rng, 2000, 2008), template]
        for c, v in enumerate(values):
            s.put(r, c, v)
    s.close()


def jb_roster(path, rows, rng, rolling):
    """JB: fixed columns per mode; column 22 (V) marks the rows to print."""
    title = "机关工作人员级别工资滚动花名册" if rolling else "机关工作人员级别工资正常晋升花名册"
    s = Sheet(path, "级别工资", title, 29 if rolling else 23)
    if rolling:
        heads = ["序号", "姓名", "职务", "", "", "", "原级别档次(备用)", "原级别工资(备用)", "", "", "现任职务",
                 "原级别档次", "原级别工资", "", "", "", "新级别档次", "新级别工资", "月增资", "", "", "打印否",
                 "性别", "出生年月", "参加工作时间", "连续工龄推算时间", "文化程度", "任职时间", "职务工资"]
    else:
        heads = ["序号", "姓名", "性别", "出生年月", "参加工作时间", "连续工龄推算时间", "", "", "职务", "任职时间",
                 "原合计", "原职务工资", "原级别档次", "原级别工资", "新合计", "新职务工资", "新级别档次", "新级别工资",
                 "月增资", "", "", "打印否", "文化程度"]
    s.headings(heads)
    duty = [640, 830, 510, 430, 590, 760, 410, 270, 195, 4000, 1080]
    for i in range(rows):
        r = 6 + i
        d = rng.choice(duty)
        step1 = f"{rng.randint(14, 24)}-{rng.randint(1, 5)}"
        w1 = rng.choice([582, 640, 700, 770, 845, 925, 1020])
        w2 = w1 + rng.choice([55, 60, 75, 80])
        v = [""] * len(heads)
        v[0] = i + 1
        v[1] = name(rng)
        v[21] = 1 if rng.random() < 0.75 else ""
        if rolling:
            v[2] = rng.choice(POSTS_STAFF)
            v[10] = rng.choice(["", v[2], "主任科员", "副主任科员"])
            if rng.random() < 0.2:
                v[6], v[7] = step1, w1
            else:
                v[11], v[12] = step1, w1
            v[16], v[17], v[18] = f"{rng.randint(13, 23)}-{rng.randint(1, 5)}", w2, w2 - w1
            v[22], v[23] = rng.choice("男女"), year_month(rng, 1960, 1985)
            v[24], v[25] = year_month(rng, 1980, 2005), year_month(rng, 1980, 2005)
            v[26], v[27], v[28] = rng.choice(EDUCATION), year_month(rng, 2000, 2008), d
        else:
            v[2], v[3] = rng.choice("男女"), year_month(rng, 1960, 1985)
            v[4], v[5] = year_month(rng, 1980, 2005), year_month(rng, 1980, 2005)
            v[8] = rng.choice(POSTS_STAFF + POSTS_WORKER)
            v[9] = year_month(rng, 2000, 2008)
            v[10], v[11], v[12], v[13] = d + w1, d, step1, w1
            v[14], v[15], v[16], v[17], v[18] = d + w2, d, f"{rng.randint(14, 24)}-{rng.randint(1, 5)}", w2, w2 - w1
            v[22] = rng.choice(EDUCATION)
        for c, value in enumerate(v):
            s.put(r, c, value)
    s.close()


def jg_roster(path, rows, rng):
    """JG: fixed columns A to AB; column 26 (Z) marks the rows to print."""
    s = Sheet(path, "职务变动", "机关工作人员职务工资变动花名册", 28)
    s.headings(["序号", "姓名", "性别", "出生年月", "参加工作时间", "连续工龄推算时间", "现任职务", "任现职时间",
                "原合计", "原单位及职务", "原职务工资", "原级别档次", "原级别工资", "", "", "新合计",
                "现单位及职务", "新职务工资", "新级别档次", "新级别工资", "", "", "月增资", "", "", "打印否",
                "文化程度", "任原职时间"])
    moves = [("科员", "副主任科员", 510, 640), ("副主任科员", "主任科员", 640, 830),
             ("主任科员", "副调研员", 830, 1080), ("办事员", "科员", 430, 510),
             ("中级工", "高级工", 155, 195), ("高级工", "技师", 195, 270), ("科员", "副科长", 510, 640)]
    for i in range(rows):
        r = 6 + i
        old, new, a1, a2 = rng.choice(moves)
        w1 = rng.choice([582, 640, 700, 770])
        w2 = w1 + rng.choice([0, 0, 60])
        step1 = f"{rng.randint(16, 24)}-{rng.randint(1, 5)}"
        step2 = step1 if w2 == w1 else f"{rng.randint(15, 23)}-{rng.randint(1, 5)}"
        v = [""] * 28
        v[0], v[1], v[2] = i + 1, name(rng), rng.choice("男女")
        v[3], v[4], v[5] = year_month(rng, 1960, 1985), year_month(rng, 1980, 2005), year_month(rng, 1980, 2005)
        v[6], v[7] = new, year_month(rng, 2009, 2009, False)
        v[8], v[9], v[10], v[11], v[12] = a1 + w1, old, a1, step1, w1
        v[15], v[16], v[17], v[18], v[19] = a2 + w2, new, a2, step2, w2
        v[22] = a2 + w2 - a1 - w1
        v[25] = 1 if rng.random() < 0.75 else ""
        v[26], v[27] = rng.choice(EDUCATION), year_month(rng, 2000, 2008)
        for c, value in enumerate(v):
            s.put(r, c, value)
    s.close()


def main():
    rng = random.Random(int(sys.argv[1]) if len(sys.argv) > 1 else 2010)
    xj_roster(os.path.join(HERE, "xj-roster.xlsx"), 24, rng)
    zw_roster(os.path.join(HERE, "zw-roster.xlsx"), 15, rng)
    jb_roster(os.path.join(HERE, "jb-normal-roster.xlsx"), 15, rng, rolling=False)
    jb_roster(os.path.join(HERE, "jb-rolling-roster.xlsx"), 15, rng, rolling=True)
    jg_roster(os.path.join(HERE, "jg-roster.xlsx"), 15, rng)


if __name__ == "__main__":
    main()
