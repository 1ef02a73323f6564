#!/usr/bin/python3
"""Makes the .xls fixtures of the reader tests with writers independent of the reader.

Writers: xlwt (python3-xlwt), LibreOffice (libreoffice-calc-nogui, converting an .xlsx
made by python3-xlsxwriter), a small compound-file writer below (to vary sector sizes,
the sector index and the mini stream around real workbook streams) and a few workbook
streams assembled record by record for record forms the other writers never use.
Each fixture is read back with python3-xlrd, an independent reader, and its cells are
stored beside it as <name>.cells.tsv, which the tests compare with.

Run from anywhere: /usr/bin/python3 make_xls_fixtures.py   (needs soffice on PATH)
"""
import datetime
import os
import struct
import subprocess
import sys
import tempfile

import xlrd
import xlrd.compdoc
import xlsxwriter
import xlwt

HERE = os.path.dirname(os.path.abspath(__file__))


def out(name):
    return os.path.join(HERE, name)


# ---------------------------------------------------------------------------------
# xlwt workbooks

def make_xlwt_cells():
    wb = xlwt.Workbook(encoding='utf-8')
    # The first sheet in workbook order is not called Sheet1; a later one is.
    ws = wb.add_sheet('花名册')
    other = wb.add_sheet('Sheet1')
    other.write(0, 0, '不是第一张表')

    date = xlwt.easyxf(num_format_str='YYYY-MM-DD')
    date_cn = xlwt.easyxf(num_format_str='yyyy"年"m"月"d"日"')
    datetime_fmt = xlwt.easyxf(num_format_str='M/D/YY h:mm')
    builtin_14 = xlwt.easyxf(num_format_str='M/D/YY')
    money = xlwt.easyxf(num_format_str='#,##0.00')
    quoted = xlwt.easyxf(num_format_str='0.0"d"')

    rows = [
        ['姓名', '工资', '薪级', '日期', '备注'],
        ['张三', 1200, 15, datetime.date(2024, 1, 31), '  有空格  '],
        ['李四', 1234.5, -7, datetime.date(1900, 2, 28), 'ASCII text'],
        ['王五', 0.1 + 0.2, 536870911, datetime.date(2000, 3, 1), '𠀀 outside BMP'],
        ['赵六', 12.34, 536870912, datetime.datetime(2023, 12, 31, 8, 30), ''],
    ]
    styles = {3: date}
    for r, row in enumerate(rows):
        for c, value in enumerate(row):
            if value == '':
                continue
            if c == 3 and r == 4:
                ws.write(r, c, value, datetime_fmt)
            elif c in styles and r > 0:
                ws.write(r, c, value, styles[c])
            else:
                ws.write(r, c, value)
    ws.write(5, 0, True)
    ws.write(5, 1, False)
    ws.row(5).set_cell_error(2, '#DIV/0!')
    ws.row(5).set_cell_error(3, 0x2A)
    ws.write(6, 0, 45000, date_cn)
    ws.write(6, 1, 45000, builtin_14)
    ws.write(6, 2, 1234.5, money)
    ws.write(6, 3, 3, quoted)
    ws.write(7, 0, 1e-5)
    ws.write(7, 1, -0.005)
    ws.write(7, 2, 123456789012.0)
    # Blank cells with a style: present in the file, empty to read.
    ws.write(8, 0, '', money)
    ws.write(8, 1, '', money)
    ws.write(8, 2, '', money)
    ws.write(9, 255, 'IV 列')
    ws.write(65535, 0, '最后一行')
    wb.save(out('xlwt_cells.xls'))


def make_xlwt_1904():
    wb = xlwt.Workbook(encoding='utf-8')
    wb.dates_1904 = True
    ws = wb.add_sheet('1904')
    date = xlwt.easyxf(num_format_str='yyyy-mm-dd')
    ws.write(0, 0, 0, date)       # 1904-01-01
    ws.write(0, 1, 43000, date)   # 2021-09-24 in the 1904 system
    ws.write(0, 2, 43000)         # a plain number stays as it is
    wb.save(out('xlwt_1904.xls'))


def make_xlwt_long_strings():
    wb = xlwt.Workbook(encoding='utf-8')
    ws = wb.add_sheet('长文本')
    # Enough distinct strings to fill several CONTINUE records; Chinese and Latin ones
    # alternate so that records break inside both one- and two-byte strings.
    for i in range(1500):
        if i % 2:
            ws.write(i, 0, '第%d行：机关事业单位工作人员工资变动审批' % i)
        else:
            ws.write(i, 0, 'Row %d: staff wage change approval, Latin-1 text é' % i)
    ws.write(0, 1, '长' * 9000)
    ws.write(1, 1, 'x' * 20000)
    ws.write(2, 1, ('混合 mixed ' * 1500))
    wb.save(out('xlwt_long_strings.xls'))


def make_xlwt_small():
    wb = xlwt.Workbook(encoding='utf-8')
    ws = wb.add_sheet('小表')
    ws.write(0, 0, '一')
    ws.write(0, 1, 2)
    ws.write(1, 0, 3.5)
    wb.save(out('xlwt_small_for_cfb.tmp.xls'))


def make_xlwt_builtin_cn_dates():
    """Built-in ids 27-36 and 50-58 that Chinese Excel writes without FORMAT records."""
    wb = xlwt.Workbook(encoding='utf-8')
    styles = wb._Workbook__styles
    ids = [27, 31, 36, 50, 57, 58]
    for i in ids:
        styles._num_formats['builtin-%d' % i] = i
    ws = wb.add_sheet('中文日期')
    for c, i in enumerate(ids):
        ws.write(0, c, 45000 + c, xlwt.easyxf(num_format_str='builtin-%d' % i))
    ws.write(1, 0, 45000, xlwt.easyxf(num_format_str='0.00'))
    wb.save(out('xlwt_builtin_cn_dates.xls'))


# ---------------------------------------------------------------------------------
# LibreOffice: formulas with their results, as Excel stores them

def make_libreoffice():
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, 'lo_formulas.xlsx')
        wb = xlsxwriter.Workbook(src)
        ws = wb.add_worksheet('工资表')
        wb.add_worksheet('Sheet1').write(0, 0, 'second')
        cn_date = wb.add_format({'num_format': 'yyyy"年"m"月"d"日"'})
        cn_builtin = wb.add_format({'num_format': 31})
        iso = wb.add_format({'num_format': 'yyyy-mm-dd'})
        ws.write_row(0, 0, ['姓名', '岗位工资', '薪级工资', '合计', '说明', '日期'])
        people = [('张三', 1200, 345), ('李四', 980, 421.5), ('王五', 1530, 0.25)]
        for i, (name, post, grade) in enumerate(people, start=1):
            ws.write_string(i, 0, name)
            ws.write_number(i, 1, post)
            ws.write_number(i, 2, grade)
            ws.write_formula(i, 3, '=B%d+C%d' % (i + 1, i + 1), None, post + grade)
            ws.write_formula(i, 4, '=A%d&"的工资"' % (i + 1), None, name + '的工资')
        ws.write_formula(4, 0, '=1>0', None, True)
        ws.write_formula(4, 1, '=1/0', None, '#DIV/0!')
        ws.write_formula(4, 2, '=""', None, '')
        ws.write_formula(4, 3, '=NA()', None, '#N/A')
        ws.write_formula(4, 4, '=REPT("长",3000)', None, '长' * 3000)
        ws.write_formula(4, 5, '=DATE(2024,2,29)', iso, 45351)
        ws.write_boolean(5, 0, False)
        ws.write_number(5, 1, 45000, cn_date)
        ws.write_number(5, 2, 45001, cn_builtin)
        ws.write_datetime(5, 3, datetime.datetime(2024, 5, 6, 7, 8, 9),
                          wb.add_format({'num_format': 'yyyy-mm-dd hh:mm:ss'}))
        # A row of numbers side by side: stored as one MULRK record.
        ws.write_row(6, 0, [1, 2.5, -3, 0.5, 1e9, 0.25, 100000.01])
        # A shared-string table over 8224 bytes, so that it runs on in CONTINUE records.
        for r in range(8, 608):
            ws.write_string(r, 0, '工作人员%04d 的备注文字' % r)
        wb.close()
        subprocess.run(['soffice', '--headless', '--convert-to', 'xls', '--outdir', tmp, src],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(os.path.join(tmp, 'lo_formulas.xls'), 'rb') as f:
            data = f.read()
    with open(out('lo_formulas.xls'), 'wb') as f:
        f.write(data)


# ---------------------------------------------------------------------------------
# A compound-file writer, to wrap workbook streams in the container forms real writers
# use less often: 4096-byte sectors, extra DIFAT sectors, streams in the mini stream.

FREE, END, FATSECT, DIFSECT, NOSTREAM = 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFD, 0xFFFFFFFC, 0xFFFFFFFF


def write_cfb(streams, sector_size=512, min_fat_sectors=1):
    ss = sector_size
    per_fat = ss // 4
    mini = bytearray()
    minifat = []
    entries = []  # name, type, start, size
    big = []
    for name, data in streams:
        if len(data) < 4096:
            n = (len(data) + 63) // 64
            first = len(mini) // 64
            for i in range(n):
                minifat.append(first + i + 1 if i < n - 1 else END)
            mini += data + b'\0' * (n * 64 - len(data))
            entries.append([name, 2, first if n else END, len(data)])
        else:
            entries.append([name, 2, None, len(data)])
            big.append((len(entries) - 1, data))

    def sectors_for(n):
        return (n + ss - 1) // ss

    dir_sectors = sectors_for((len(entries) + 1) * 128)
    minifat_sectors = sectors_for(len(minifat) * 4)
    mini_sectors = sectors_for(len(mini))
    big_sectors = sum(sectors_for(len(d)) for _, d in big)
    content = dir_sectors + minifat_sectors + mini_sectors + big_sectors
    fat_n = max(min_fat_sectors, 1)
    while True:
        difat_n = 0 if fat_n <= 109 else -(-(fat_n - 109) // (per_fat - 1))
        if (fat_n + difat_n + content) <= fat_n * per_fat:
            break
        fat_n += 1

    fat = [FREE] * (fat_n * per_fat)
    next_sector = 0
    fat_list = list(range(next_sector, next_sector + fat_n))
    for s in fat_list:
        fat[s] = FATSECT
    next_sector += fat_n
    difat_list = list(range(next_sector, next_sector + difat_n))
    for s in difat_list:
        fat[s] = DIFSECT
    next_sector += difat_n

    def allocate(count):
        nonlocal next_sector
        if count == 0:
            return END
        first = next_sector
        for i in range(count):
            fat[first + i] = first + i + 1 if i < count - 1 else END
        next_sector += count
        return first

    dir_start = allocate(dir_sectors)
    minifat_start = allocate(minifat_sectors)
    mini_start = allocate(mini_sectors)
    body = {}
    for index, data in big:
        entries[index][2] = allocate(sectors_for(len(data)))
        body[entries[index][2]] = data

    def entry(name, kind, start, size, child=NOSTREAM, right=NOSTREAM):
        raw = name.encode('utf-16-le') + b'\0\0'
        return (raw.ljust(64, b'\0') + struct.pack('<HBBIII', len(raw), kind, 1, NOSTREAM, right, child)
                + b'\0' * 36 + struct.pack('<IQ', start, size))

    directory = entry('Root Entry', 5, mini_start, len(mini), child=1 if entries else NOSTREAM)
    for i, (name, kind, start, size) in enumerate(entries):
        directory += entry(name, kind, start, size, right=i + 2 if i + 1 < len(entries) else NOSTREAM)
    directory = directory.ljust(dir_sectors * ss, b'\0')

    header = b'\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1' + b'\0' * 16
    header += struct.pack('<HHHHH', 0x3E, 3 if ss == 512 else 4, 0xFFFE, 9 if ss == 512 else 12, 6)
    header += b'\0' * 6
    header += struct.pack('<IIIIIIIII', dir_sectors if ss == 4096 else 0, fat_n, dir_start, 0, 4096,
                          minifat_start, minifat_sectors, difat_list[0] if difat_list else END, difat_n)
    head_difat = fat_list[:109] + [FREE] * (109 - min(109, fat_n))
    header += struct.pack('<109I', *head_difat)
    header = header.ljust(ss, b'\0')

    sectors = []
    fat_bytes = struct.pack('<%dI' % len(fat), *fat)
    for i in range(fat_n):
        sectors.append(fat_bytes[i * ss:(i + 1) * ss])
    rest = fat_list[109:]
    for d in range(difat_n):
        chunk = rest[d * (per_fat - 1):(d + 1) * (per_fat - 1)]
        chunk += [FREE] * (per_fat - 1 - len(chunk))
        nxt = difat_list[d + 1] if d + 1 < difat_n else END
        sectors.append(struct.pack('<%dI' % per_fat, *(chunk + [nxt])))
    for i in range(dir_sectors):
        sectors.append(directory[i * ss:(i + 1) * ss])
    mf = struct.pack('<%dI' % len(minifat), *minifat).ljust(minifat_sectors * ss, b'\xff')
    for i in range(minifat_sectors):
        sectors.append(mf[i * ss:(i + 1) * ss])
    mini_padded = bytes(mini).ljust(mini_sectors * ss, b'\0')
    for i in range(mini_sectors):
        sectors.append(mini_padded[i * ss:(i + 1) * ss])
    for _, data in big:
        padded = data.ljust(sectors_for(len(data)) * ss, b'\0')
        for i in range(sectors_for(len(data))):
            sectors.append(padded[i * ss:(i + 1) * ss])
    return header + b''.join(sectors)


def workbook_stream(path):
    with open(path, 'rb') as f:
        doc = xlrd.compdoc.CompDoc(f.read())
    data = doc.get_named_stream('Workbook')
    # Drop the zero padding after the last record, so small streams fit the mini stream.
    pos = 0
    end = 0
    while pos + 4 <= len(data):
        rtype, length = struct.unpack_from('<HH', data, pos)
        pos += 4 + length
        if rtype == 0x000A:
            end = pos
    return bytes(data[:end])


def make_container_variants():
    stream = workbook_stream(out('xlwt_cells.xls'))
    with open(out('cfb_4096_sectors.xls'), 'wb') as f:
        f.write(write_cfb([('Workbook', stream)], sector_size=4096))
    with open(out('cfb_difat.xls'), 'wb') as f:
        f.write(write_cfb([('Workbook', stream)], min_fat_sectors=110))
    small = workbook_stream(out('xlwt_small_for_cfb.tmp.xls'))
    assert len(small) < 4096, len(small)
    with open(out('cfb_mini_stream.xls'), 'wb') as f:
        # Lower-case name and a second stream before it: found by name, not by position.
        f.write(write_cfb([('\x05SummaryInformation', b'\0' * 200), ('workbook', small)]))
    os.remove(out('xlwt_small_for_cfb.tmp.xls'))
    with open(out('encrypted_package.xlsx'), 'wb') as f:
        f.write(write_cfb([('EncryptionInfo', b'\x04\x00\x04\x00' + b'\0' * 300),
                           ('EncryptedPackage', bytes(range(256)) * 20)]))


# ---------------------------------------------------------------------------------
# Workbook streams assembled record by record

def rec(rtype, data=b''):
    return struct.pack('<HH', rtype, len(data)) + data


def rk(value_bits):
    return struct.pack('<I', value_bits)


def rk_float(value, times100=False):
    bits = struct.unpack('<Q', struct.pack('<d', value * 100 if times100 else value))[0]
    assert bits & 0x3FFFFFFFF == 0, value
    return (bits >> 32) | (1 if times100 else 0)


def make_handmade():
    bof_globals = rec(0x0809, struct.pack('<HHHHII', 0x0600, 0x0005, 0x0DBB, 0x07CC, 0, 0x06))
    bof_sheet = rec(0x0809, struct.pack('<HHHHII', 0x0600, 0x0010, 0x0DBB, 0x07CC, 0, 0x06))
    bof_chart = rec(0x0809, struct.pack('<HHHHII', 0x0600, 0x0020, 0x0DBB, 0x07CC, 0, 0x06))
    eof = rec(0x000A)
    font = rec(0x0031, struct.pack('<HHHHHBBBB', 200, 0, 0x7FFF, 400, 0, 0, 0, 0, 0) + b'\x05\x00Arial')
    xfs = b''
    for i in range(16):
        xfs += rec(0x00E0, struct.pack('<HHHBBBBIIH', 0, 0, 0xFFF5, 0x20, 0, 0, 0, 0, 0, 0x20C0))
    xfs += rec(0x00E0, struct.pack('<HHHBBBBIIH', 0, 0, 0x0001, 0x20, 0, 0, 0, 0, 0, 0x20C0))   # 16 General
    xfs += rec(0x00E0, struct.pack('<HHHBBBBIIH', 0, 14, 0x0001, 0x20, 0, 0, 0, 0, 0, 0x20C0))  # 17 date
    xfs += rec(0x00E0, struct.pack('<HHHBBBBIIH', 0, 164, 0x0001, 0x20, 0, 0, 0, 0, 0, 0x20C0))  # 18 custom
    xfs += rec(0x00E0, struct.pack('<HHHBBBBIIH', 0, 14, 0x0001, 0x20, 0, 0, 0, 0, 0, 0x20C0))  # 19 date
    code = '0.00"元"'.encode('utf-16-le')
    fmt = rec(0x041E, struct.pack('<HHB', 164, len(code) // 2, 1) + code)
    # Id 14 redefined as a number format: a FORMAT record overrides the built-in meaning.
    code14 = b'0.0'
    fmt14 = rec(0x041E, struct.pack('<HHB', 14, len(code14), 0) + code14)

    def sheet_name(name, kind):
        raw = name.encode('utf-16-le')
        return struct.pack('<BBBB', 0, kind, len(raw) // 2, 1) + raw

    # A shared-string table whose second string breaks between records: the second part
    # opens with a fresh option byte and switches from one- to two-byte characters.
    s1 = 'shared'
    sst_first = struct.pack('<II', 3, 3)
    sst_first += struct.pack('<HB', len(s1), 0) + s1.encode('latin-1')
    s2a, s2b = 'abc', '中文'
    # A rich-text run count and a phonetic block that the reader must skip.
    sst_first += struct.pack('<HBHI', len(s2a) + len(s2b), 0x0C, 1, 6) + s2a.encode('latin-1')
    sst_cont = b'\x01' + s2b.encode('utf-16-le') + struct.pack('<HH', 0, 1) + b'\0' * 6
    sst_cont += struct.pack('<HB', 1, 1) + '末'.encode('utf-16-le')
    sst = rec(0x00FC, sst_first) + rec(0x003C, sst_cont)

    def cell(row, col, xf):
        return struct.pack('<HHH', row, col, xf)

    body = b''
    body += rec(0x0200, struct.pack('<IIHHH', 0, 20, 0, 10, 0))  # DIMENSIONS
    body += rec(0x00FD, cell(0, 0, 16) + struct.pack('<I', 0))
    body += rec(0x00FD, cell(0, 1, 16) + struct.pack('<I', 1))
    body += rec(0x00FD, cell(0, 2, 16) + struct.pack('<I', 2))
    label = 'LABEL 记录'.encode('utf-16-le')
    body += rec(0x0204, cell(1, 0, 16) + struct.pack('<HB', len(label) // 2, 1) + label)
    body += rec(0x0204, cell(1, 1, 16) + struct.pack('<HB', 5, 0) + b'plain')
    # The four RK forms.
    body += rec(0x027E, cell(2, 0, 16) + rk(rk_float(0.5)))
    body += rec(0x027E, cell(2, 1, 16) + rk(rk_float(0.005, True)))
    body += rec(0x027E, cell(2, 2, 16) + rk(((-123) << 2 & 0xFFFFFFFF) | 2))
    body += rec(0x027E, cell(2, 3, 16) + rk(((-12345) << 2 & 0xFFFFFFFF) | 3))
    body += rec(0x027E, cell(2, 4, 17) + rk((45000 << 2) | 2))
    body += rec(0x027E, cell(2, 5, 18) + rk((45000 << 2) | 2))
    body += rec(0x027E, cell(2, 6, 19) + rk((45000 << 2) | 2))
    # MULRK over columns 0-3 of row 3, MULBLANK after it.
    body += rec(0x00BD, struct.pack('<HH', 3, 0) + b''.join(
        struct.pack('<H', 16) + rk(v) for v in [(1 << 2) | 2, (250 << 2) | 3, rk_float(-2.0), (7 << 2) | 2])
        + struct.pack('<H', 3))
    body += rec(0x00BE, struct.pack('<HHHHHH', 3, 4, 16, 16, 16, 6))
    body += rec(0x0201, cell(3, 7, 16))
    # An embedded chart is a substream of its own inside the sheet; cells in it are not ours.
    body += bof_chart + rec(0x0203, cell(3, 8, 16) + struct.pack('<d', 99)) + eof
    # FORMULA results: number, a string continued over two records, boolean, error, empty.
    formula_tail = struct.pack('<HIH', 0, 0, 0)
    body += rec(0x0006, cell(4, 0, 16) + struct.pack('<d', 42.25) + formula_tail)
    body += rec(0x0006, cell(4, 1, 16) + struct.pack('<BBBBBBH', 0, 0, 0, 0, 0, 0, 0xFFFF) + formula_tail)
    body += rec(0x04BC, b'\0' * 10)  # SHRFMLA between a formula and its STRING
    part1, part2 = 'split ', '字符串'
    body += rec(0x0207, struct.pack('<HB', len(part1) + len(part2), 0) + part1.encode('latin-1'))
    body += rec(0x003C, b'\x01' + part2.encode('utf-16-le'))
    body += rec(0x0006, cell(4, 2, 16) + struct.pack('<BBBBBBH', 1, 0, 1, 0, 0, 0, 0xFFFF) + formula_tail)
    body += rec(0x0006, cell(4, 3, 16) + struct.pack('<BBBBBBH', 2, 0, 0x07, 0, 0, 0, 0xFFFF) + formula_tail)
    body += rec(0x0006, cell(4, 4, 16) + struct.pack('<BBBBBBH', 3, 0, 0, 0, 0, 0, 0xFFFF) + formula_tail)
    body += rec(0x0006, cell(4, 5, 17) + struct.pack('<d', 45001) + formula_tail)
    body += rec(0x0205, cell(5, 0, 16) + struct.pack('<BB', 1, 0))
    body += rec(0x0205, cell(5, 1, 16) + struct.pack('<BB', 0x2A, 1))
    body += rec(0x0205, cell(5, 2, 16) + struct.pack('<BB', 0x1D, 1))
    # A cell written twice keeps the later value.
    body += rec(0x0203, cell(6, 0, 16) + struct.pack('<d', 1.0))
    body += rec(0x0203, cell(6, 0, 16) + struct.pack('<d', 2.0))
    body += rec(0x0203, cell(7, 1, 16) + struct.pack('<d', -1.5e300))

    def globals_with(sheets):
        return (bof_globals + rec(0x0042, struct.pack('<H', 1200)) + rec(0x0022, struct.pack('<H', 0))
                + font * 5 + fmt14 + fmt + xfs + b''.join(rec(0x0085, s) for s in sheets) + sst + eof)

    # Two passes: the sheet offsets in BOUNDSHEET depend on the length of the globals.
    names = [('图表', 2), ('数据', 0), ('宏', 1)]
    placeholder = globals_with([struct.pack('<I', 0) + sheet_name(n, k)[0:] for n, k in names])
    sheet_stream = bof_sheet + body + eof
    other_sheet = bof_sheet + rec(0x0203, cell(0, 0, 16) + struct.pack('<d', 7)) + eof
    chart_stream = bof_chart + eof
    offsets = [len(placeholder), len(placeholder) + len(chart_stream),
               len(placeholder) + len(chart_stream) + len(sheet_stream)]
    glob = globals_with([struct.pack('<I', off) + sheet_name(n, k) for off, (n, k) in zip(offsets, names)])
    assert len(glob) == len(placeholder)
    stream = glob + chart_stream + sheet_stream + other_sheet
    with open(out('handmade_records.xls'), 'wb') as f:
        f.write(write_cfb([('Workbook', stream.ljust(4096, b'\0'))]))


def patch_encrypted():
    with open(out('xlwt_small_enc.tmp.xls'), 'wb') as f:
        pass
    wb = xlwt.Workbook(encoding='utf-8')
    wb.add_sheet('加密').write(0, 0, 'secret')
    wb.save(out('xlwt_small_enc.tmp.xls'))
    with open(out('xlwt_small_enc.tmp.xls'), 'rb') as f:
        data = f.read()
    os.remove(out('xlwt_small_enc.tmp.xls'))
    # CODEPAGE 1200 becomes a FILEPASS record of the same length (XOR obfuscation).
    codepage = b'\x42\x00\x02\x00\xb0\x04'
    assert data.count(codepage) == 1
    data = data.replace(codepage, b'\x2f\x00\x02\x00\x00\x00')
    with open(out('encrypted.xls'), 'wb') as f:
        f.write(data)
    try:
        xlrd.open_workbook(out('encrypted.xls'))
    except xlrd.XLRDError as e:
        assert 'encrypted' in str(e).lower(), e
    else:
        raise AssertionError('xlrd read the encrypted fixture')


# ---------------------------------------------------------------------------------
# The cells as xlrd reads them

def dump_cells(name):
    book = xlrd.open_workbook(out(name))
    sheet = book.sheet_by_index(0)
    lines = ['# first sheet %s; date1904 %d' % (sheet.name, book.datemode)]
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
                continue
            if cell.ctype == xlrd.XL_CELL_TEXT:
                if cell.value == '':
                    continue  # an empty formula text; both readers treat it as empty
                kind, value = 's', cell.value.replace('\\', '\\\\').replace('\t', '\\t').replace('\n', '\\n')
            elif cell.ctype == xlrd.XL_CELL_NUMBER:
                kind, value = 'n', repr(cell.value)
            elif cell.ctype == xlrd.XL_CELL_DATE:
                kind, value = 'd', repr(cell.value)
            elif cell.ctype == xlrd.XL_CELL_BOOLEAN:
                kind, value = 'b', str(int(cell.value))
            elif cell.ctype == xlrd.XL_CELL_ERROR:
                kind, value = 'e', xlrd.error_text_from_code[cell.value]
            else:
                raise AssertionError(cell)
            lines.append('%d\t%d\t%s\t%s' % (r + 1, c + 1, kind, value))
    with open(out(name + '.cells.tsv'), 'w', encoding='utf-8') as f:
        f.write('\n'.join(lines) + '\n')


def main():
    make_xlwt_cells()
    make_xlwt_1904()
    make_xlwt_long_strings()
    make_xlwt_small()
    make_xlwt_builtin_cn_dates()
    make_container_variants()
    make_handmade()
    patch_encrypted()
    if '--no-libreoffice' not in sys.argv:
        make_libreoffice()
    for name in ['xlwt_cells.xls', 'xlwt_1904.xls', 'xlwt_long_strings.xls', 'xlwt_builtin_cn_dates.xls',
                 'cfb_difat.xls', 'cfb_mini_stream.xls', 'handmade_records.xls',
                 'lo_formulas.xls']:
        dump_cells(name)
    # xlrd places the sectors of every file 512 bytes in, which is wrong for 4096-byte
    # sectors (the header takes a whole sector); this file holds the stream of xlwt_cells.
    with open(out('xlwt_cells.xls.cells.tsv'), encoding='utf-8') as f:
        cells = f.read()
    with open(out('cfb_4096_sectors.xls.cells.tsv'), 'w', encoding='utf-8') as f:
        f.write(cells)


if __name__ == '__main__':
    main()
