#!/usr/bin/python3
"""Makes the .xls fixtures of the write tests with writers independent of Quvela.

xlwt_write.xls (python3-xlwt): every cell form a roster holds, over a row-block boundary,
with formulas, merged cells, widths and heights and a second sheet.
xlwt_empty_first.xls: a first sheet without cells before a second one.
handmade_index.xls: a stream assembled record by record with the row-block index
(INDEX, DBCELL) that Excel writes and xlwt and LibreOffice do not, two sheets each with
an index, and a document-summary stream beside the workbook.
lo_<roster>.xls: LibreOffice's export of the example rosters (formulas with results).
lo_xj_roster_macros.xls: that roster's streams in a container that also holds a macro
storage (class id, modification time, nested storage and streams), as Excel keeps VBA.

Run from anywhere: /usr/bin/python3 make_xls_write_fixtures.py   (needs soffice on PATH)
"""
import os
import struct
import subprocess
import sys
import tempfile

import xlrd.compdoc
import xlwt

from make_xls_fixtures import END, FATSECT, FREE, HERE, NOSTREAM, out, rec, write_cfb

EXAMPLES = os.path.join(HERE, '..', '..', '..', 'examples')


def make_xlwt_write():
    wb = xlwt.Workbook(encoding='utf-8')
    ws = wb.add_sheet('花名册')
    boxed = xlwt.easyxf('borders: left thin, right thin, top thin, bottom thin')
    money = xlwt.easyxf(num_format_str='#,##0.00')
    ws.write(0, 0, '序号')
    ws.write(0, 1, '姓名')
    ws.write(0, 2, '薪级')
    ws.write(0, 3, '工资')
    ws.write(0, 4, '空格一')
    ws.write(0, 5, '空格二')
    ws.write(0, 6, '合计')
    ws.write(0, 7, '备注')
    for r in range(1, 41):
        ws.write(r, 0, r)                      # RK integer
        ws.write(r, 1, '人员%02d' % r)          # LABELSST
        ws.write(r, 2, r % 65)                 # RK
        ws.write(r, 3, 1000.1 + r, money)      # NUMBER, formatted
        ws.write(r, 4, '', boxed)              # blanks with a format: MULBLANK
        ws.write(r, 5, '', boxed)
        ws.write(r, 6, xlwt.Formula('C%d+D%d' % (r + 1, r + 1)))
        ws.write(r, 7, '文字')
    ws.write(41, 0, '合计')
    ws.write(41, 3, xlwt.Formula('SUM(D2:D41)'))
    ws.write(41, 6, xlwt.Formula('SUM(G2:G41)'))
    ws.write_merge(43, 43, 0, 3, '合并单元格', boxed)
    ws.col(1).width = 5000
    ws.row(2).height_mismatch = True
    ws.row(2).height = 500
    other = wb.add_sheet('第二页')
    other.write(0, 0, '另一张表')
    other.write(1, 0, 12345)
    for r in range(2, 40):
        other.write(r, 1, r * 3)
    other.write(40, 1, xlwt.Formula("'花名册'!C5*2"))  # reads the first sheet
    other.write(41, 1, xlwt.Formula('SUM(B3:B40)'))    # reads its own sheet only
    wb.save(out('xlwt_write.xls'))


def make_xlwt_empty_first():
    wb = xlwt.Workbook(encoding='utf-8')
    wb.add_sheet('空表')
    wb.add_sheet('第二页').write(0, 0, '有内容')
    wb.save(out('xlwt_empty_first.xls'))


def cell(row, col, xf):
    return struct.pack('<HHH', row, col, xf)


def make_handmade_index():
    bof_globals = rec(0x0809, struct.pack('<HHHHII', 0x0600, 0x0005, 0x0DBB, 0x07CC, 0, 0x06))
    bof_sheet = rec(0x0809, struct.pack('<HHHHII', 0x0600, 0x0010, 0x0DBB, 0x07CC, 0, 0x06))
    eof = rec(0x000A)
    font = rec(0x0031, struct.pack('<HHHHHBBBB', 200, 0, 0x7FFF, 400, 0, 0, 0, 0, 0) + b'\x05\x00Arial')
    xfs = b''
    for i in range(16):
        xfs += rec(0x00E0, struct.pack('<HHHBBBBIIH', 0, 0, 0xFFF5, 0x20, 0, 0, 0, 0, 0, 0x20C0))
    xfs += rec(0x00E0, struct.pack('<HHHBBBBIIH', 0, 0, 0x0001, 0x20, 0, 0, 0, 0, 0, 0x20C0))  # 16
    xfs += rec(0x00E0, struct.pack('<HHHBBBBIIH', 0, 2, 0x0001, 0x20, 0, 0, 0, 0, 0, 0x20C0))  # 17 0.00

    def sheet_name(name):
        raw = name.encode('utf-16-le')
        return struct.pack('<BBBB', 0, 0, len(raw) // 2, 1) + raw

    def row_record(r, first, last):
        return rec(0x0208, struct.pack('<HHHHHHHH', r, first, last, 0xFF, 0, 0, 0x0100, 0x0F))

    def sheet(base, rows, columns):
        """A sheet at stream position base: rows is a list of (row, [cell records])."""
        blocks = []
        for i in range(0, len(rows), 32):
            blocks.append(rows[i:i + 32])
        head = bof_sheet
        index_len = 4 + 16 + 4 * len(blocks)
        pos = base + len(head) + index_len
        defcolwidth = rec(0x0055, struct.pack('<H', 8))
        colinfo = rec(0x007D, struct.pack('<HHHHHH', 2, 2, 4000, 17, 0, 0))
        dims = rec(0x0200, struct.pack('<IIHHH', rows[0][0], rows[-1][0] + 1, 0, columns, 0))
        ibxf = pos
        middle = defcolwidth + colinfo + dims
        pos += len(middle)
        body = b''
        dbcells = []
        for block in blocks:
            start = pos + len(body)
            rows_bytes = b''.join(row_record(r, 0, columns) for r, _ in block)
            cells = b''
            firsts = []
            for r, records in block:
                firsts.append(start + len(rows_bytes) + len(cells))
                cells += b''.join(records)
            db_pos = start + len(rows_bytes) + len(cells)
            offsets = []
            ref = start + 20
            for f in firsts:
                offsets.append(f - ref)
                ref = f
            dbcell = rec(0x00D7, struct.pack('<I', db_pos - start) + struct.pack('<%dH' % len(offsets), *offsets))
            dbcells.append(db_pos)
            body += rows_bytes + cells + dbcell
        index = rec(0x020B, struct.pack('<IIII', 0, rows[0][0], rows[-1][0] + 1, ibxf)
                    + struct.pack('<%dI' % len(dbcells), *dbcells))
        assert len(index) == index_len
        window2 = rec(0x023E, struct.pack('<HHHHHHHH', 0x06B6, 0, 0, 0x40, 0, 0, 0, 0))
        return head + index + middle + body + window2 + eof

    rows1 = []
    for r in range(0, 45):
        records = [rec(0x027E, cell(r, 0, 16) + struct.pack('<I', (r << 2) | 2)),
                   rec(0x0203, cell(r, 1, 17) + struct.pack('<d', r + 0.5))]
        if r % 7 == 3:
            records.append(rec(0x0201, cell(r, 2, 17)))
        if r == 44:
            # An array formula {=7} over C45: the cell refers to the ARRAY record after it.
            tail = struct.pack('<HIH', 0, 0, 5) + b'\x01' + struct.pack('<HH', 44, 2)
            records.append(rec(0x0006, cell(r, 2, 16) + struct.pack('<d', 7) + tail))
            records.append(rec(0x0221, struct.pack('<HHBBHIH', 44, 44, 2, 2, 0, 0, 3) + b'\x1e\x07\x00'))
        rows1.append((r, records))
    rows2 = [(r, [rec(0x0203, cell(r, 0, 16) + struct.pack('<d', r * 2.0))]) for r in range(0, 40)]

    def globals_with(positions):
        return (bof_globals + rec(0x0042, struct.pack('<H', 1200)) + rec(0x0022, struct.pack('<H', 0))
                + font * 5 + xfs
                + b''.join(rec(0x0085, struct.pack('<I', p) + sheet_name(n))
                           for p, n in zip(positions, ['索引', '第二页']))
                + eof)

    glob_len = len(globals_with([0, 0]))
    s1 = sheet(glob_len, rows1, 3)
    s2 = sheet(glob_len + len(s1), rows2, 1)
    stream = globals_with([glob_len, glob_len + len(s1)]) + s1 + s2
    summary = b'\xfe\xff' + bytes(range(1, 200))
    with open(out('handmade_index.xls'), 'wb') as f:
        f.write(write_cfb([('Workbook', stream), ('\x05DocumentSummaryInformation', summary)]))


def make_libreoffice_rosters():
    with tempfile.TemporaryDirectory() as tmp:
        for name in ['xj-roster', 'zw-roster', 'jb-normal-roster', 'jb-rolling-roster', 'jg-roster']:
            subprocess.run(['soffice', '--headless', '--convert-to', 'xls', '--outdir', tmp,
                            os.path.join(EXAMPLES, name + '.xlsx')],
                           check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            with open(os.path.join(tmp, name + '.xls'), 'rb') as f:
                data = f.read()
            with open(out('lo_' + name.replace('-', '_') + '.xls'), 'wb') as f:
                f.write(data)


def write_cfb_tree(tree):
    """A compound file of 512-byte sectors from a tree of entries:
    (name, bytes) for a stream, (name, [children], clsid, mtime) for a storage. Streams
    under 4096 bytes go to the mini stream, as the format requires."""
    ss = 512
    flat = []  # [name, kind, data, clsid, mtime, children-indexes]

    def add(node):
        index = len(flat)
        if isinstance(node[1], list):
            flat.append([node[0], 1, None, node[2], node[3], []])
            flat[index][5] = [add(child) for child in node[1]]
        else:
            flat.append([node[0], 2, node[1], b'\0' * 16, 0, []])
        return index

    root_children = [add(node) for node in tree]
    mini = bytearray()
    minifat = []
    big = []
    start = {}
    for i, e in enumerate(flat):
        if e[1] != 2:
            continue
        data = e[2]
        if len(data) < 4096:
            n = (len(data) + 63) // 64
            first = len(mini) // 64
            minifat += [first + k + 1 if k < n - 1 else END for k in range(n)]
            mini += data + b'\0' * (n * 64 - len(data))
            start[i] = first if n else END
        else:
            big.append(i)

    def sectors(n):
        return (n + ss - 1) // ss

    entries = len(flat) + 1
    dir_n = sectors(entries * 128)
    minifat_n = sectors(len(minifat) * 4)
    mini_n = sectors(len(mini))
    big_n = sum(sectors(len(flat[i][2])) for i in big)
    fat_n = 1
    while fat_n + dir_n + minifat_n + mini_n + big_n > fat_n * (ss // 4):
        fat_n += 1
    fat = [FREE] * (fat_n * ss // 4)
    for k in range(fat_n):
        fat[k] = FATSECT
    nxt = fat_n

    def allocate(count):
        nonlocal nxt
        if count == 0:
            return END
        first = nxt
        for k in range(count):
            fat[first + k] = first + k + 1 if k < count - 1 else END
        nxt += count
        return first

    dir_start = allocate(dir_n)
    minifat_start = allocate(minifat_n)
    mini_start = allocate(mini_n)
    for i in big:
        start[i] = allocate(sectors(len(flat[i][2])))

    def entry(name, kind, first, size, child, right, clsid=b'\0' * 16, mtime=0):
        raw = name.encode('utf-16-le') + b'\0\0'
        return (raw.ljust(64, b'\0') + struct.pack('<HBBIII', len(raw), kind, 1, NOSTREAM, right, child)
                + clsid + struct.pack('<IQQ', 0, 0, mtime) + struct.pack('<IQ', first, size))

    def chain_of(children):
        # Siblings as a chain of right links: the directory's tree at its plainest.
        return {c: (children[k + 1] + 1 if k + 1 < len(children) else NOSTREAM) for k, c in enumerate(children)}

    right = {}
    right.update(chain_of(root_children))
    for e in flat:
        right.update(chain_of(e[5]))
    directory = entry('Root Entry', 5, mini_start, len(mini), root_children[0] + 1 if root_children else NOSTREAM,
                      NOSTREAM)
    for i, e in enumerate(flat):
        if e[1] == 1:
            directory += entry(e[0], 1, 0, 0, e[5][0] + 1 if e[5] else NOSTREAM, right[i], e[3], e[4])
        else:
            directory += entry(e[0], 2, start[i], len(e[2]), NOSTREAM, right[i])
    directory = directory.ljust(dir_n * ss, b'\0')
    header = b'\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1' + b'\0' * 16
    header += struct.pack('<HHHHH', 0x3E, 3, 0xFFFE, 9, 6) + b'\0' * 6
    header += struct.pack('<IIIIIIIII', 0, fat_n, dir_start, 0, 4096, minifat_start, minifat_n, END, 0)
    header += struct.pack('<109I', *(list(range(fat_n)) + [FREE] * (109 - fat_n)))
    body = struct.pack('<%dI' % len(fat), *fat) + directory
    body += struct.pack('<%dI' % len(minifat), *minifat).ljust(minifat_n * ss, b'\xff')
    body += bytes(mini).ljust(mini_n * ss, b'\0')
    for i in big:
        body += flat[i][2].ljust(sectors(len(flat[i][2])) * ss, b'\0')
    return header + body


def make_macro_container():
    with open(out('lo_xj_roster.xls'), 'rb') as f:
        doc = xlrd.compdoc.CompDoc(f.read())
    streams = [(name, bytes(doc.get_named_stream(name))) for name in
               ['Workbook', '\x05SummaryInformation', '\x05DocumentSummaryInformation', '\x01CompObj']]
    vba_clsid = bytes(range(0x10, 0x20))
    macros = ('_VBA_PROJECT_CUR', [('PROJECT', b'ID="{00000000-0000-0000-0000-000000000000}"\r\n' * 3),
                                   ('VBA', [('dir', bytes(range(256)) * 3), ('Module1', b'\x01' * 5000)],
                                    b'\0' * 16, 0)],
              vba_clsid, 132224078450000000)
    with open(out('lo_xj_roster_macros.xls'), 'wb') as f:
        f.write(write_cfb_tree(streams + [macros]))


def main():
    make_xlwt_write()
    make_xlwt_empty_first()
    make_handmade_index()
    if '--no-libreoffice' not in sys.argv:
        make_libreoffice_rosters()
    make_macro_container()


if __name__ == '__main__':
    main()
