#!/usr/bin/python3
"""Prints what python3-xlrd, an independent reader, finds in an .xls workbook.

dump_xlrd.py FILE cells      one line a sheet, merged range, column and row format, cell
dump_xlrd.py FILE container  one line a storage or stream of the compound file, by path,
                             in name order: type, class id, modification time, size and a
                             digest of the contents (streams read by xlrd)
dump_xlrd.py FILE structure  checks the sheet positions, the row-block index (INDEX and
                             DBCELL) and DIMENSIONS of every sheet against the records;
                             prints "ok" or what is wrong
"""
import hashlib
import struct
import sys

import xlrd
import xlrd.compdoc

CELLS = {0x0201, 0x00BE, 0x0203, 0x027E, 0x00BD, 0x0204, 0x00FD, 0x00D6, 0x0205, 0x0006}


def cells(path):
    book = xlrd.open_workbook(path, formatting_info=True)
    for index, sheet in enumerate(book.sheets()):
        print('sheet\t%d\t%s\t%d\t%d' % (index, sheet.name, sheet.nrows, sheet.ncols))
        for merged in sorted(sheet.merged_cells):
            print('merged\t%d\t%s' % (index, merged))
        for column, info in sorted(sheet.colinfo_map.items()):
            print('column\t%d\t%d\t%d\t%d\t%d' % (index, column, info.width, info.xf_index, info.hidden))
        for row, info in sorted(sheet.rowinfo_map.items()):
            print('rowinfo\t%d\t%d\t%d\t%d' % (index, row, info.height, info.has_default_height))
        for r in range(sheet.nrows):
            for c in range(sheet.row_len(r)):
                cell = sheet.cell(r, c)
                if cell.ctype == xlrd.XL_CELL_EMPTY:
                    continue
                value = repr(cell.value) if cell.ctype != xlrd.XL_CELL_TEXT else cell.value
                print('cell\t%d\t%d\t%d\t%d\t%s\t%d' % (index, r + 1, c + 1, cell.ctype, value, cell.xf_index))


def records(stream, start):
    pos = start
    while pos + 4 <= len(stream):
        rtype, length = struct.unpack_from('<HH', stream, pos)
        yield pos, rtype, stream[pos + 4:pos + 4 + length]
        pos += 4 + length


def structure(path):
    with open(path, 'rb') as f:
        doc = xlrd.compdoc.CompDoc(f.read())
    stream = doc.get_named_stream('Workbook')
    sheets = []
    for pos, rtype, data in records(stream, 0):
        if rtype == 0x0085:
            sheets.append(struct.unpack_from('<I', data, 0)[0])
        if rtype == 0x000A:
            break
    problems = []
    for number, start in enumerate(sheets):
        at = {}
        order = []
        depth = 0
        for pos, rtype, data in records(stream, start):
            if rtype == 0x0809:
                depth += 1
            elif rtype == 0x000A:
                depth -= 1
                if depth == 0:
                    break
            elif depth == 1:
                at[pos] = (rtype, data)
                order.append(pos)
        if struct.unpack_from('<H', stream, start)[0] != 0x0809:
            problems.append('sheet %d: no BOF at %d' % (number, start))
            continue
        rows = set()
        columns = set()
        for pos in order:
            rtype, data = at[pos]
            if rtype in CELLS:
                row, col = struct.unpack_from('<HH', data, 0)
                last = struct.unpack_from('<H', data, len(data) - 2)[0] if rtype in (0x00BD, 0x00BE) else col
                rows.add(row)
                columns.update(range(col, last + 1))
        for pos in order:
            rtype, data = at[pos]
            if rtype == 0x0200 and rows:
                r0, r1, c0, c1 = struct.unpack_from('<IIHH', data, 0)
                if min(rows) < r0 or max(rows) >= r1 or min(columns) < c0 or max(columns) >= c1:
                    problems.append('sheet %d: DIMENSIONS %s do not cover the cells' % (number, (r0, r1, c0, c1)))
            if rtype == 0x020B:
                _, r0, r1, ibxf = struct.unpack_from('<IIII', data, 0)
                if rows and (min(rows) < r0 or max(rows) >= r1):
                    problems.append('sheet %d: INDEX rows %d-%d do not cover the cells' % (number, r0, r1))
                if ibxf not in at or at[ibxf][0] != 0x0055:
                    problems.append('sheet %d: INDEX does not point at DEFCOLWIDTH' % number)
                dbcells = struct.unpack_from('<%dI' % ((len(data) - 16) // 4), data, 16)
                seen = [p for p in order if at[p][0] == 0x00D7]
                if list(dbcells) != seen:
                    problems.append('sheet %d: INDEX lists %s, DBCELLs at %s' % (number, dbcells, seen))
                for db in dbcells:
                    if db not in at or at[db][0] != 0x00D7:
                        continue
                    ddata = at[db][1]
                    first_row = db - struct.unpack_from('<I', ddata, 0)[0]
                    if first_row not in at or at[first_row][0] != 0x0208:
                        problems.append('sheet %d: DBCELL at %d does not lead to a ROW' % (number, db))
                        continue
                    ref = first_row + 20
                    previous_row = -1
                    for off in struct.unpack_from('<%dH' % ((len(ddata) - 4) // 2), ddata, 4):
                        ref += off
                        if ref not in at or at[ref][0] not in CELLS:
                            problems.append('sheet %d: DBCELL at %d: offset to %d is no cell' % (number, db, ref))
                            break
                        row = struct.unpack_from('<H', at[ref][1], 0)[0]
                        if row <= previous_row:
                            problems.append('sheet %d: DBCELL at %d: rows out of order' % (number, db))
                        previous_row = row
                        # The first cell of its row: no cell of the same row just before it.
    print('\n'.join(problems) if problems else 'ok')


def container(path):
    with open(path, 'rb') as f:
        data = f.read()
    doc = xlrd.compdoc.CompDoc(data)
    ss = 1 << struct.unpack_from('<H', data, 0x1E)[0]
    fat_sectors = struct.unpack_from('<109I', data, 0x4C)[:struct.unpack_from('<I', data, 0x2C)[0]]
    fat = []
    for sector in fat_sectors:
        fat += struct.unpack_from('<%dI' % (ss // 4), data, (sector + 1) * ss)
    raw = b''
    sector = struct.unpack_from('<I', data, 0x30)[0]
    while sector < 0xFFFFFFF0:
        raw += data[(sector + 1) * ss:(sector + 2) * ss]
        sector = fat[sector]
    lines = []

    def walk(index, prefix):
        if index == 0xFFFFFFFF or index * 128 >= len(raw):
            return
        e = raw[index * 128:(index + 1) * 128]
        length, kind = struct.unpack_from('<HB', e, 64)
        left, right, child = struct.unpack_from('<III', e, 68)
        name = e[:max(length - 2, 0)].decode('utf-16-le')
        mtime = struct.unpack_from('<Q', e, 108)[0]
        size = struct.unpack_from('<I', e, 120)[0]
        qname = prefix + name
        if kind == 2:
            digest = hashlib.sha1(bytes(doc.get_named_stream(qname))).hexdigest()[:16]
            lines.append('stream\t%r\t%d\t%s' % (qname, size, digest))
        elif kind == 1:
            lines.append('storage\t%r\t%s\t%d' % (qname, e[80:96].hex(), mtime))
            walk(child, qname + '/')
        walk(left, prefix)
        walk(right, prefix)

    root = raw[:128]
    lines.append('root\t%s' % root[80:96].hex())
    walk(struct.unpack_from('<I', root, 76)[0], '')
    print('\n'.join(sorted(lines)))


if __name__ == '__main__':
    {'cells': cells, 'structure': structure, 'container': container}[sys.argv[2]](sys.argv[1])
