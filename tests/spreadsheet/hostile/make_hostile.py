#!/usr/bin/python3
"""Makes the hostile and broken workbook files of the reader tests, deterministically.

Files named fail_* must be refused when opened (WorkbookOpenError); files named opens_*
are odd but sound and must open, with the text "ok" in A1. Every file stays small on
disk; some inflate to gigabytes. Needs only the standard library.

Run from anywhere: /usr/bin/python3 make_hostile.py
"""
import bz2
import os
import struct
import warnings
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
DATE = (2024, 1, 1, 0, 0, 0)

MAIN = 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'
RELS = 'http://schemas.openxmlformats.org/package/2006/relationships'
DOC = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'


def out(name):
    return os.path.join(HERE, name)


def write(name, data):
    with open(out(name), 'wb') as f:
        f.write(data)


# ---------------------------------------------------------------------------------
# Packages

def content_types():
    return ('<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/'
            'package/2006/content-types"><Default Extension="rels" ContentType="application/'
            'vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" '
            'ContentType="application/xml"/></Types>')


def package_rels(target='xl/workbook.xml'):
    return ('<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="%s"><Relationship Id="rId1" '
            'Type="%s/officeDocument" Target="%s"/></Relationships>' % (RELS, DOC, target))


def workbook(sheets='<sheet name="S" sheetId="1" r:id="rId1"/>'):
    return ('<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="%s" xmlns:r="%s"><sheets>%s</sheets>'
            '</workbook>' % (MAIN, DOC, sheets))


def workbook_rels(extra=''):
    return ('<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="%s"><Relationship Id="rId1" '
            'Type="%s/worksheet" Target="worksheets/sheet1.xml"/>%s</Relationships>' % (RELS, DOC, extra))


def sheet(rows='<row r="1"><c r="A1" t="inlineStr"><is><t>ok</t></is></c></row>', before='', after=''):
    return ('<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="%s">%s<sheetData>%s</sheetData>%s'
            '</worksheet>' % (MAIN, before, rows, after))


def parts(**changes):
    """The parts of a one-sheet package; a keyword replaces (or with None drops) one."""
    p = {
        '[Content_Types].xml': content_types(),
        '_rels/.rels': package_rels(),
        'xl/workbook.xml': workbook(),
        'xl/_rels/workbook.xml.rels': workbook_rels(),
        'xl/worksheets/sheet1.xml': sheet(),
    }
    names = {'types': '[Content_Types].xml', 'rels': '_rels/.rels', 'book': 'xl/workbook.xml',
             'book_rels': 'xl/_rels/workbook.xml.rels', 'sheet': 'xl/worksheets/sheet1.xml'}
    for key, value in changes.items():
        name = names.get(key, key)
        if value is None:
            p.pop(name, None)
        else:
            p[name] = value
    return p


def zip_bytes(entries, method=zipfile.ZIP_DEFLATED):
    """entries: list of (name, bytes-or-str) or dict."""
    if isinstance(entries, dict):
        entries = list(entries.items())
    path = out('.building.zip')
    warnings.filterwarnings('ignore', 'Duplicate name', UserWarning)
    with zipfile.ZipFile(path, 'w') as z:
        for name, data in entries:
            info = zipfile.ZipInfo(name, DATE)
            info.compress_type = method
            info.external_attr = 0o644 << 16
            z.writestr(info, data.encode('utf-8') if isinstance(data, str) else data)
    with open(path, 'rb') as f:
        data = f.read()
    os.remove(path)
    return data


def xlsx(name, **changes):
    write(name, zip_bytes(parts(**changes)))


def raw_zip_entry(name, payload, method, crc, comp_size, size):
    """One local entry plus its central record, for entries zipfile will not write."""
    name = name.encode('utf-8')
    local = struct.pack('<IHHHHHIIIHH', 0x04034B50, 20, 0, method, 0, 0x5821, crc, comp_size, size,
                        len(name), 0) + name + payload
    central = lambda offset: struct.pack('<IHHHHHHIIIHHHHHII', 0x02014B50, 20, 20, 0, method, 0, 0x5821,
                                         crc, comp_size, size, len(name), 0, 0, 0, 0, 0, offset) + name
    return local, central


def raw_zip(entries):
    """entries: list of (name, payload, method, crc, comp_size, size)."""
    body = b''
    centrals = b''
    for entry in entries:
        local, central = raw_zip_entry(*entry)
        centrals += central(len(body))
        body += local
    end = struct.pack('<IHHHHIIH', 0x06054B50, 0, 0, len(entries), len(entries), len(centrals), len(body), 0)
    return body + centrals + end


def deflate_raw(chunks):
    d = zlib.compressobj(9, zlib.DEFLATED, -15)
    data = b''.join(d.compress(c) for c in chunks) + d.flush()
    return data


def make_packages():
    write('fail_empty.xlsx', b'')
    write('fail_text_renamed.xlsx', '姓名,工资\n张三,1200\n'.encode('gbk'))
    write('fail_html_named.xls', b'<html><body><table><tr><td>1200</td></tr></table></body></html>')
    write('fail_binary_noise.xlsx', bytes((i * 7919 + 13) % 251 for i in range(4000)))
    good = zip_bytes(parts())
    write('fail_truncated_zip.xlsx', good[:len(good) // 2])
    write('fail_zip_no_central_directory.xlsx', good[:good.rfind(b'PK\x01\x02')])
    write('fail_zip_empty_archive.xlsx', struct.pack('<IHHHHIIH', 0x06054B50, 0, 0, 0, 0, 0, 0, 0))
    write('fail_zip_duplicate_names.xlsx',
          zip_bytes(list(parts().items()) + [('xl/worksheets/sheet1.xml', sheet())]))
    write('fail_zip_parent_folder_name.xlsx', zip_bytes(list(parts().items()) + [('../../evil.xml', '<a/>')]))

    # Declared sizes and checksums that do not match the data.
    body = sheet().encode()
    packed = deflate_raw([body])
    entries = [(n, d.encode(), 8) for n, d in parts().items() if n != 'xl/worksheets/sheet1.xml']
    raw = [(n, deflate_raw([d]), m, zlib.crc32(d), len(deflate_raw([d])), len(d)) for n, d, m in entries]
    write('opens_zip_size_understated.xlsx',
          raw_zip(raw + [('xl/worksheets/sheet1.xml', packed, 8, zlib.crc32(body), len(packed), 10)]))
    write('fail_zip_crc_wrong.xlsx',
          raw_zip(raw + [('xl/worksheets/sheet1.xml', packed, 8, zlib.crc32(body) ^ 0x5A5A, len(packed),
                          len(body))]))
    # 77 is no method at all; 99 would be WinZip's encryption, refused for its missing
    # extra field before the method is looked at.
    write('fail_zip_unknown_method.xlsx',
          raw_zip(raw + [('xl/worksheets/sheet1.xml', body, 77, zlib.crc32(body), len(body), len(body))]))

    # Zip bombs. bzip2 squeezes runs of one byte far beyond deflate's 1:1032.
    head = ('<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="%s"><sheetData>' % MAIN).encode()
    c = bz2.BZ2Compressor(9)
    spaces = b' ' * (1 << 24)
    gigs = c.compress(head) + b''.join(c.compress(spaces) for _ in range(128)) + c.flush()
    gig_size = len(head) + 128 * len(spaces)  # 2 GiB of blanks
    crc = zlib.crc32(head)
    for _ in range(128):
        crc = zlib.crc32(spaces, crc)
    write('fail_bomb_bzip2_2gib.xlsx',
          raw_zip(raw + [('xl/worksheets/sheet1.xml', gigs, 12, crc, len(gigs), gig_size)]))
    # Elements a reader passes over, 1.5 GiB of them: no token is long, only the whole.
    c = bz2.BZ2Compressor(9)
    elements = (b'<x/>' + b' ' * 251) * (1 << 16)  # 16 MiB
    packed = c.compress(head) + b''.join(c.compress(elements) for _ in range(96)) + c.flush()
    crc = zlib.crc32(head)
    for _ in range(96):
        crc = zlib.crc32(elements, crc)
    write('fail_bomb_bzip2_elements.xlsx',
          raw_zip(raw + [('xl/worksheets/sheet1.xml', packed, 12, crc, len(packed), len(head) + 96 * len(elements))]))
    # One value 24 MiB long.
    value = b'9' * (24 << 20)
    data = head + b'<row r="1"><c r="A1"><v>' + value + b'</v></c></row></sheetData></worksheet>'
    packed = deflate_raw([data])
    write('fail_bomb_long_value.xlsx',
          raw_zip(raw + [('xl/worksheets/sheet1.xml', packed, 8, zlib.crc32(data), len(packed), len(data))]))
    # Shared strings that inflate to gigabytes of one text.
    sst_head = ('<?xml version="1.0"?><sst xmlns="%s" count="1" uniqueCount="1"><si><t>' % MAIN).encode()
    c = bz2.BZ2Compressor(9)
    letters = b'a' * (1 << 24)
    sst = c.compress(sst_head) + b''.join(c.compress(letters) for _ in range(128)) + c.flush()
    crc = zlib.crc32(sst_head)
    for _ in range(128):
        crc = zlib.crc32(letters, crc)
    sst_rel = '<Relationship Id="rId2" Type="%s/sharedStrings" Target="sharedStrings.xml"/>' % DOC
    raw_rel = [r for r in raw if r[0] != 'xl/_rels/workbook.xml.rels']
    rels = workbook_rels(sst_rel).encode()
    raw_rel.append(('xl/_rels/workbook.xml.rels', deflate_raw([rels]), 8, zlib.crc32(rels),
                    len(deflate_raw([rels])), len(rels)))
    write('fail_bomb_shared_strings.xlsx',
          raw_zip(raw_rel + [('xl/worksheets/sheet1.xml', deflate_raw([body]), 8, zlib.crc32(body),
                              len(deflate_raw([body])), len(body)),
                             ('xl/sharedStrings.xml', sst, 12, crc, len(sst), len(sst_head) + 128 * len(letters))]))

    # Missing parts.
    xlsx('fail_missing_workbook.xlsx', book=None)
    xlsx('fail_missing_sheet_part.xlsx', sheet=None)
    xlsx('fail_missing_package_rels_and_workbook.xlsx', rels=None, book=None)
    xlsx('fail_no_sheets.xlsx', book=workbook(''))
    xlsx('fail_sheet_relationship_missing.xlsx', book_rels=workbook_rels().replace('rId1', 'rId7'))
    xlsx('fail_workbook_outside_package.xlsx', rels=package_rels('../../workbook.xml'), book=None)

    # Broken XML.
    xlsx('fail_xml_mismatched_tags.xlsx', sheet=sheet('<row r="1"><c r="A1"><v>1</v></row>'))
    xlsx('fail_xml_unclosed.xlsx', sheet=sheet()[:-30])
    xlsx('fail_xml_broken_workbook.xlsx', book=workbook()[:-20])
    xlsx('fail_xml_broken_rels.xlsx', book_rels='<Relationships><Relationship Id="rId1"')
    xlsx('fail_xml_garbage_sheet.xlsx', sheet='\x00\x01 this is no xml')
    xlsx('fail_xml_entity_expansion.xlsx', sheet='<?xml version="1.0"?><!DOCTYPE w [<!ENTITY a "aaaaaaaaaa">'
         + ''.join('<!ENTITY %s "%s">' % (chr(98 + i), ('&%s;' % chr(97 + i)) * 10) for i in range(9))
         + ']><worksheet xmlns="%s"><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>&j;</t></is></c>'
           '</row></sheetData></worksheet>' % MAIN)
    xlsx('fail_xml_external_entity.xlsx', sheet='<?xml version="1.0"?><!DOCTYPE w [<!ENTITY e SYSTEM '
         '"file:///etc/passwd">]><worksheet xmlns="%s"><sheetData><row r="1"><c r="A1" t="inlineStr"><is>'
         '<t>&e;</t></is></c></row></sheetData></worksheet>' % MAIN)
    xlsx('fail_xml_deep_nesting.xlsx', sheet=sheet('<row r="1"><c r="A1"><v>1</v></c></row>',
                                                    after='<a>' * 100000 + '</a>' * 100000))
    xlsx('fail_xml_utf16.xlsx', sheet=sheet().replace('UTF-8', 'UTF-16').encode('utf-16'))
    xlsx('fail_xml_invalid_utf8_text.xlsx',
         sheet=sheet('<row r="1"><c r="A1" t="inlineStr"><is><t>ok</t></is></c></row>').encode()
         .replace(b'<t>ok</t>', b'<t>\xff\xfe\xc0\x80</t>'))
    xlsx('fail_xml_unknown_entity.xlsx',
         sheet=sheet('<row r="1"><c r="A1" t="inlineStr"><is><t>&nbsp;</t></is></c></row>'))

    # Absurd references.
    for name, rows in [
        ('column_past_xfd', '<row r="1"><c r="XFE1"><v>1</v></c></row>'),
        ('row_past_last', '<row r="1048577"><c r="A1048577"><v>1</v></c></row>'),
        ('cell_row_past_last', '<row r="1"><c r="XFD1048577"><v>1</v></c></row>'),
        ('row_eleven_digits', '<row r="1"><c r="A99999999999"><v>1</v></c></row>'),
        ('row_attribute_huge', '<row r="99999999999999999999"><c><v>1</v></c></row>'),
        ('row_zero', '<row r="0"><c r="A0"><v>1</v></c></row>'),
        ('row_negative', '<row r="-1"><c><v>1</v></c></row>'),
        ('reference_garbage', '<row r="1"><c r="1A"><v>1</v></c></row>'),
        ('columns_past_xfd_without_r', '<row r="1">' + '<c/>' * 16385 + '</row>'),
        ('rows_past_last_without_r', '<row/>' * 1048577),
    ]:
        xlsx('fail_ref_%s.xlsx' % name, sheet=sheet(rows))

    # Odd but sound: claims that must not be believed, nor refused.
    xlsx('opens_dimension_whole_sheet.xlsx', sheet=sheet(before='<dimension ref="A1:XFD1048576"/>'))
    xlsx('opens_merge_whole_sheet.xlsx', sheet=sheet(after='<mergeCells count="1"><mergeCell ref="A1:XFD1048576"/>'
                                                           '</mergeCells>'))
    xlsx('opens_shared_string_count_claim.xlsx',
         sheet=sheet('<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>4000000000</v></c></row>'),
         book_rels=workbook_rels(sst_rel),
         **{'xl/sharedStrings.xml': '<sst xmlns="%s" count="4294967295" uniqueCount="4294967295"><si><t>ok</t>'
                                    '</si></sst>' % MAIN})
    xlsx('opens_dangling_relationships.xlsx',
         book_rels=workbook_rels(sst_rel + '<Relationship Id="rId3" Type="%s/styles" Target="nowhere.xml"/>'
                                 '<Relationship Id="rId4" Type="%s/hyperlink" Target="http://x/" '
                                 'TargetMode="External"/>' % (DOC, DOC)))
    xlsx('opens_style_index_huge.xlsx', sheet=sheet('<row r="1"><c r="A1" t="inlineStr" s="4294967295"><is><t>ok'
                                                    '</t></is></c><c r="B1" s="99999999999999"><v>1</v></c></row>'))


# ---------------------------------------------------------------------------------
# Compound files and BIFF8 streams

FREE, END, FATSECT = 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFD


def dir_entry(name, kind, start, size, child=FREE, right=FREE):
    encoded = (name + '\0').encode('utf-16-le')
    return (encoded.ljust(64, b'\0') + struct.pack('<HBBIII', len(encoded), kind, 1, FREE, right, child)
            + b'\0' * 36 + struct.pack('<IQ', start, size))


def cfb(streams, patch=None):
    """A version-3 compound file of 512-byte sectors: FAT in sector 0, directory in 1,
    each stream (padded to at least 4096 bytes, so none is in the mini stream) after."""
    fat = [FATSECT, END]
    data = b''
    starts = []
    sizes = []
    for name, payload in streams:
        payload = payload.ljust(max(4096, (len(payload) + 511) // 512 * 512), b'\0')
        first = len(fat)
        count = len(payload) // 512
        starts.append(first)
        sizes.append(len(payload))
        fat += list(range(first + 1, first + count)) + [END]
        data += payload
    assert len(fat) <= 128
    entries = [dir_entry('Root Entry', 5, END, 0, child=1 if streams else FREE)]
    for i, (name, payload) in enumerate(streams):
        entries.append(dir_entry(name, 2, starts[i], sizes[i], right=i + 2 if i + 1 < len(streams) else FREE))
    directory = b''.join(entries).ljust(512, b'\0')
    assert len(directory) == 512
    fields = {'fat': fat, 'directory': directory}
    if patch:
        patch(fields)
    fat_sector = b''.join(struct.pack('<I', v) for v in fields['fat']).ljust(512, b'\xff')
    header = (b'\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1' + b'\0' * 16 + struct.pack('<HHHHH', 0x3E, 3, 0xFFFE, 9, 6)
              + b'\0' * 10 + struct.pack('<IIIIIIII', 1, 1, 0, 4096, END, 0, END, 0)
              + struct.pack('<I', 0) + b'\xff' * (109 * 4 - 4))
    assert len(header) == 512
    return header + fat_sector + fields['directory'] + data


def rec(rtype, payload=b''):
    return struct.pack('<HH', rtype, len(payload)) + payload


def bof(kind):
    return rec(0x0809, struct.pack('<HHHHII', 0x0600, kind, 0x0DBB, 0x07CC, 0, 0x0006))


def boundsheet(offset, name='S', kind=0):
    encoded = name.encode('latin-1')
    return rec(0x0085, struct.pack('<IBBBB', offset, 0, kind, len(encoded), 0) + encoded)


def label_sst(row, col, index):
    return rec(0x00FD, struct.pack('<HHHI', row, col, 15, index))


def sst(strings, total=None, unique=None):
    body = b''.join(struct.pack('<HB', len(s), 0) + s.encode('latin-1') for s in strings)
    return rec(0x00FC, struct.pack('<II', total if total is not None else len(strings),
                                   unique if unique is not None else len(strings)) + body)


def workbook_stream(globals_records, sheet_records):
    """Globals with one BOUNDSHEET pointing at the sheet substream after them."""
    placeholder = boundsheet(0)
    head = bof(0x0005) + b''.join(globals_records)
    offset = len(head) + len(placeholder) + 4
    return head + boundsheet(offset) + rec(0x000A) + bof(0x0010) + b''.join(sheet_records) + rec(0x000A)


def make_compound_files():
    good_stream = workbook_stream([sst(['ok'])], [label_sst(0, 0, 0)])
    write('opens_handmade_biff.xls', cfb([('Workbook', good_stream)]))
    write('fail_cfb_truncated_header.xls', cfb([('Workbook', good_stream)])[:300])
    write('fail_cfb_truncated_stream.xls', cfb([('Workbook', good_stream)])[:1536 + 1000])
    write('fail_cfb_encrypted_package.xlsx', cfb([('EncryptionInfo', b'\x04\x00\x04\x00\x24\x00\x00\x00' + b'\0' * 200),
                                                  ('EncryptedPackage', struct.pack('<Q', 5000) + bytes(range(256)) * 20)]))
    write('fail_cfb_no_workbook_stream.xls', cfb([('Other', good_stream)]))
    # Excel 5.0/95 names its stream Book; the records, not the name, tell the version.
    write('opens_cfb_book_stream_of_biff8.xls', cfb([('Book', good_stream)]))

    def self_loop(fields):
        fields['fat'][2] = 2

    def long_loop(fields):
        fields['fat'][9] = 3

    def directory_loop(fields):
        fields['fat'][1] = 1

    def start_beyond(fields):
        d = bytearray(fields['directory'])
        struct.pack_into('<I', d, 128 + 116, 0x00FFFFF0)
        fields['directory'] = bytes(d)

    def size_huge(fields):
        d = bytearray(fields['directory'])
        struct.pack_into('<Q', d, 128 + 120, 0xFFFFFFFF)
        fields['directory'] = bytes(d)

    def sibling_loop(fields):
        d = bytearray(fields['directory'])
        struct.pack_into('<I', d, 128 + 72, 1)  # the stream is its own right sibling
        fields['directory'] = bytes(d)

    def fat_claims(fields):
        fields['fat'][0] = 2  # the FAT sector is not marked as one

    for name, patch in [('sector_self_loop', self_loop), ('sector_loop', long_loop),
                        ('directory_loop', directory_loop), ('stream_start_beyond_file', start_beyond),
                        ('stream_size_huge', size_huge), ('directory_sibling_loop', sibling_loop)]:
        write('fail_cfb_%s.xls' % name, cfb([('Workbook', good_stream.ljust(5000, b'\0'))], patch))
    data = bytearray(cfb([('Workbook', good_stream)]))
    struct.pack_into('<I', data, 0x2C, 0x7FFFFFFF)  # FAT sector count
    write('fail_cfb_fat_count_huge.xls', bytes(data))
    # The header lists 109 FAT sectors and each DIFAT sector 127 more: a count above 236
    # needs a second DIFAT sector, and a file with room for that many, or the count alone
    # is refused. The chain starts at the FAT sector, whose last word, the FAT entry of
    # sector 127, points back at it.
    def difat_back_to_fat(fields):
        fat = fields['fat']
        fat.extend([FREE] * (127 - len(fat)))
        fat.append(0)

    data = bytearray(cfb([('Workbook', good_stream)], difat_back_to_fat) + b'\0' * (240 * 512))
    struct.pack_into('<I', data, 0x2C, 240)
    struct.pack_into('<II', data, 0x44, 0, 5)
    write('fail_cfb_difat_loop.xls', bytes(data))
    data = bytearray(cfb([('Workbook', good_stream)]))
    struct.pack_into('<H', data, 0x1E, 30)  # sector shift
    write('fail_cfb_sector_shift.xls', bytes(data))

    # BIFF records with lengths and offsets beyond their stream.
    for name, stream in [
        ('record_past_stream', bof(0x0005) + struct.pack('<HH', 0x00FC, 0x2000) + b'\0' * 10),
        ('boundsheet_offset_past_stream', bof(0x0005) + boundsheet(0x7FFFFFF0) + rec(0x000A)),
        ('boundsheet_offset_into_globals', bof(0x0005) + boundsheet(0) + rec(0x000A)),
        ('boundsheet_offset_at_chart', workbook_stream([], []).replace(bof(0x0010), bof(0x0020))),
        ('sst_string_past_record', workbook_stream([rec(0x00FC, struct.pack('<IIHB', 1, 1, 60000, 0) + b'abc')],
                                                   [label_sst(0, 0, 0)])),
        ('sst_count_claims_without_strings', workbook_stream([sst(['ok'], 0x7FFFFFFF, 0x7FFFFFFF)[:12]],
                                                             [label_sst(0, 0, 0)])),
        ('no_bof', rec(0x0085, b'\0' * 8) + rec(0x000A)),
        ('bof_biff5', rec(0x0809, struct.pack('<HHHH', 0x0500, 5, 0, 0)) + rec(0x000A)),
        ('filepass', bof(0x0005) + rec(0x002F, struct.pack('<HHH', 0, 0x1234, 0x5678)) + boundsheet(100)
         + rec(0x000A)),
        ('only_chart_sheet', workbook_stream([], []).replace(struct.pack('<BBBB', 0, 0, 1, 0) + b'S',
                                                             struct.pack('<BBBB', 0, 2, 1, 0) + b'S')),
        ('continue_without_sst', workbook_stream([rec(0x003C, b'x' * 100) * 3], [label_sst(0, 0, 0)])),
    ]:
        write('fail_biff_%s.xls' % name, cfb([('Workbook', stream)]))


def main():
    for name in os.listdir(HERE):
        if name.startswith(('fail_', 'opens_')):
            os.remove(out(name))
    make_packages()
    make_compound_files()


if __name__ == '__main__':
    main()
