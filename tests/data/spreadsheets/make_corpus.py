#!/usr/bin/python3
"""Writes one parts job and one stocks job through every spreadsheet writer Debian has, into corpus/.

Needs libreoffice-calc-nogui (soffice), gnumeric (ssconvert), python3-openpyxl, python3-xlsxwriter,
python3-odf and python3-xlwt; the files it writes are committed, so the tests need none of them. Each job
also stands as a text list (corpus/parts.txt, corpus/stocks.txt): a workbook that reads must give the same
rows. The full jobs hold a formula with its stored result, a number stored as text, a label merged over two
rows, two equal rows one after the other (which OpenDocument writers keep as one repeated row) and a
boolean priority. Excel 97-2003 and CSV files are also written from a plain job (values only), since FreeXL
reads no formula and CSV keeps no merged cell. Hostile files for the bounds go to hostile/.
"""
import os
import re
import shutil
import subprocess
import tempfile
import zipfile
import zlib

import openpyxl
import xlsxwriter
import xlwt
from odf.opendocument import OpenDocumentSpreadsheet
from odf.table import CoveredTableCell, Table, TableCell, TableRow
from odf.text import P

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus")
HOSTILE = os.path.join(HERE, "hostile")

# (label, length, quantity); a length "=..." is a formula, a str a number stored as text; None as label:
# merged with the label above.
PARTS = [("P1", 1200, 4), ("Rail", "=600*2", 4), ("Rail", "=600*2", 4), ("P2", 850.5, 2), ("P3", "300", 10),
         ("Tube", 500, 3), (None, 700, 2)]
# (label, length, quantity, cost, priority); True is a boolean priority.
STOCKS = [("Bar", 6000, 5, "=25/2", "Yes"), ("Short", 3000, 2, 6, "No"), ("Remnant", 2500, 1, 0, True)]


def value_of(cell):
    """What a cell shows: a formula's result, a boolean's priority word."""
    if isinstance(cell, str) and cell.startswith("="):
        return eval(cell[1:])
    if cell is True:
        return "Yes"
    return cell


def text(v):
    v = value_of(v)
    if isinstance(v, str):
        return v
    return str(int(v)) if float(v).is_integer() else str(v)


def full_rows(rows):
    """Rows with merged labels filled, as the job means them."""
    out, last = [], None
    for row in rows:
        label = row[0] if row[0] is not None else last
        last = label
        out.append((label,) + tuple(row[1:]))
    return out


def plain(rows):
    return [tuple(value_of(v) for v in row) for row in full_rows(rows)]


def out(name):
    return os.path.join(OUT, name)


def write_text_lists():
    with open(out("parts.txt"), "w", newline="") as f:
        f.writelines("\t".join(text(v) for v in row) + "\r\n" for row in full_rows(PARTS))
    with open(out("stocks.txt"), "w", newline="") as f:
        f.writelines("\t".join(text(v) for v in row) + "\r\n" for row in STOCKS)


def xlsxwriter_book(name, rows, options=None):
    if options:
        # Rows written as they go can't be merged afterwards: the label is written out.
        rows = full_rows(rows)
    book = xlsxwriter.Workbook(out(name), options or {})
    sheet = book.add_worksheet("Job")
    for r, row in enumerate(rows):
        for c, v in enumerate(row):
            if v is None:
                continue
            if isinstance(v, str) and v.startswith("="):
                sheet.write_formula(r, c, v, None, value_of(v))
            elif isinstance(v, bool):
                sheet.write_boolean(r, c, v)
            elif isinstance(v, str):
                sheet.write_string(r, c, v)
            else:
                sheet.write_number(r, c, v)
    for r, row in enumerate(rows):
        if row[0] is None:
            sheet.merge_range(r - 1, 0, r, 0, rows[r - 1][0])
    book.close()


def openpyxl_book(name, rows):
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "Job"
    for r, row in enumerate(rows, start=1):
        for c, v in enumerate(row, start=1):
            if v is not None:
                sheet.cell(row=r, column=c, value=v)
    for r, row in enumerate(rows, start=1):
        if row[0] is None:
            sheet.merge_cells(start_row=r - 1, start_column=1, end_row=r, end_column=1)
    book.save(out(name))


def odf_cell(v, **extra):
    if isinstance(v, str) and v.startswith("="):
        cell = TableCell(valuetype="float", value=value_of(v), formula="of:" + v, **extra)
        cell.addElement(P(text=text(v)))
    elif isinstance(v, bool):
        cell = TableCell(valuetype="boolean", booleanvalue="true" if v else "false", **extra)
        cell.addElement(P(text="TRUE" if v else "FALSE"))
    elif isinstance(v, str):
        cell = TableCell(valuetype="string", **extra)
        cell.addElement(P(text=v))
    else:
        cell = TableCell(valuetype="float", value=v, **extra)
        cell.addElement(P(text=text(v)))
    return cell


def odf_book(name, rows):
    """Equal neighbouring rows are written once, repeated; a label merged over two rows spans them."""
    doc = OpenDocumentSpreadsheet()
    table = Table(name="Job")
    r = 0
    while r < len(rows):
        repeat = 1
        while r + repeat < len(rows) and rows[r + repeat] == rows[r]:
            repeat += 1
        row = TableRow(numberrowsrepeated=repeat) if repeat > 1 else TableRow()
        for c, v in enumerate(rows[r]):
            if v is None:
                row.addElement(CoveredTableCell())
            elif c == 0 and r + 1 < len(rows) and rows[r + 1][0] is None:
                row.addElement(odf_cell(v, numberrowsspanned=2))
            else:
                row.addElement(odf_cell(v))
        table.addElement(row)
        r += repeat
    doc.spreadsheet.addElement(table)
    doc.save(out(name))


def xlwt_book(name, rows):
    book = xlwt.Workbook()
    sheet = book.add_sheet("Job")
    for r, row in enumerate(rows):
        for c, v in enumerate(row):
            sheet.write(r, c, v)
    book.save(out(name))


def convert(tool, source, target):
    """LibreOffice or Gnumeric writes source again as target (a file name in corpus/)."""
    with tempfile.TemporaryDirectory() as work:
        if tool == "libreoffice":
            kind, _, filter_name = target.partition("|")
            ext = os.path.splitext(kind)[1][1:]
            subprocess.run(["soffice", "--headless", "-env:UserInstallation=file://" + work + "/profile",
                            "--convert-to", ext + (":" + filter_name if filter_name else ""), "--outdir", work,
                            source], check=True, capture_output=True)
            shutil.move(os.path.join(work, os.path.splitext(os.path.basename(source))[0] + "." + ext), out(kind))
        else:
            kind, _, exporter = target.partition("|")
            subprocess.run(["ssconvert", "-T", exporter, source, out(kind)], check=True, capture_output=True)


def rewrite(source, target, change):
    """A copy of an .xlsx package with its parts changed, for the writers' variants Debian has none of."""
    with zipfile.ZipFile(out(source)) as z:
        entries = {n: z.read(n) for n in z.namelist()}
    change(entries)
    with zipfile.ZipFile(out(target), "w", zipfile.ZIP_DEFLATED) as z:
        for n, data in entries.items():
            z.writestr(n, data)


def strict(entries):
    """Strict Office Open XML names its namespaces and relationship types differently."""
    pairs = [(b"http://schemas.openxmlformats.org/spreadsheetml/2006/main",
              b"http://purl.oclc.org/ooxml/spreadsheetml/main"),
             (b"http://schemas.openxmlformats.org/officeDocument/2006/relationships",
              b"http://purl.oclc.org/ooxml/officeDocument/relationships")]
    for n in entries:
        for a, b in pairs:
            entries[n] = entries[n].replace(a, b)


def prefixed(entries):
    """The main namespace under the prefix x:, as some generators write it."""
    for n in entries:
        if n.startswith("xl/") and n.endswith(".xml") and b"spreadsheetml/2006/main" in entries[n]:
            data = entries[n].replace(b'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"',
                                      b'xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"')
            entries[n] = re.sub(rb"<(/?)([A-Za-z]+[ >/])", rb"<\1x:\2", data)


def phonetic(entries):
    """Shared strings with rich text runs and phonetic readings, as Japanese Excel writes them."""
    def runs(match):
        t = match.group(1)
        return (b"<si><r><t>" + t[:1] + b"</t></r><r><rPr><b/></rPr><t>" + t[1:] +
                b"</t></r><rPh sb=\"0\" eb=\"1\"><t>yomi</t></rPh><phoneticPr fontId=\"1\"/></si>")
    entries["xl/sharedStrings.xml"] = re.sub(rb"<si><t>([^<]+)</t></si>", runs, entries["xl/sharedStrings.xml"])


def hostile():
    """Files that claim or unpack to far more than a list needs."""
    os.makedirs(HOSTILE, exist_ok=True)
    base = out("xlsxwriter_parts.xlsx")
    # 300 MB of blanks inside the sheet: valid XML that unpacks beyond the budget.
    with zipfile.ZipFile(base) as z:
        entries = {n: z.read(n) for n in z.namelist()}
    head, tail = entries["xl/worksheets/sheet1.xml"].split(b"<sheetData>", 1)
    write_bomb(os.path.join(HOSTILE, "bomb.xlsx"), entries, "xl/worksheets/sheet1.xml",
               [head + b"<sheetData>"] + [b" " * (1 << 20)] * 300 + [tail])
    # The same, 8 MB, a seed that the fuzzer can run many times a second.
    write_bomb(os.path.join(HOSTILE, "small_bomb.xlsx"), entries, "xl/worksheets/sheet1.xml",
               [head + b"<sheetData>"] + [b" " * (1 << 20)] * 8 + [tail])
    # A sheet whose headers claim 4 GB.
    claims = os.path.join(HOSTILE, "claims_4gb.xlsx")
    shutil.copy(base, claims)
    with open(claims, "r+b") as f:
        data = bytearray(f.read())
        for sig, offset in ((b"PK\x03\x04", 22), (b"PK\x01\x02", 24)):
            for m in re.finditer(re.escape(sig), bytes(data)):
                data[m.start() + offset:m.start() + offset + 4] = (0xFFFFFFF0).to_bytes(4, "little")
        f.seek(0)
        f.write(data)

    # The largest dimensions a sheet may have, and a cell at their far corner.
    def huge(e):
        s = e["xl/worksheets/sheet1.xml"]
        s = re.sub(rb'<dimension ref="[^"]*"/>', b'<dimension ref="A1:XFD1048576"/>', s)
        e["xl/worksheets/sheet1.xml"] = s.replace(
            b"</sheetData>", b'<row r="1048576"><c r="XFD1048576"><v>1</v></c></row></sheetData>')
    rewrite("xlsxwriter_parts.xlsx", os.path.join(HOSTILE, "huge_dimension.xlsx"), huge)
    # One row of a part repeated as often as a sheet has rows.
    doc = OpenDocumentSpreadsheet()
    table = Table(name="Job")
    row = TableRow(numberrowsrepeated=1048576)
    for v in ("P1", 1200, 4):
        row.addElement(odf_cell(v))
    table.addElement(row)
    doc.spreadsheet.addElement(table)
    doc.save(os.path.join(HOSTILE, "repeated_rows.ods"))


def write_bomb(path, entries, name, pieces):
    """A package whose member `name` is deflated from pieces streamed one after the other, so that a huge
    member is never held whole; zipfile writes the others, the big one is added with its raw stream."""
    compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
    deflated, crc, size = b"", 0, 0
    for piece in pieces:
        deflated += compressor.compress(piece)
        crc, size = zlib.crc32(piece, crc), size + len(piece)
    deflated += compressor.flush()
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for n, data in entries.items():
            if n != name:
                z.writestr(n, data)
        z.writestr(zipfile.ZipInfo(name), b"")
    with open(path, "rb") as f:
        data = bytearray(f.read())
    # The last member is the empty placeholder, stored: its data is replaced by the raw stream.
    local = data.rfind(b"PK\x03\x04")
    start = local + 30 + int.from_bytes(data[local + 26:local + 28], "little") + \
        int.from_bytes(data[local + 28:local + 30], "little")
    central = data.find(b"PK\x01\x02", start)
    shift = len(deflated) - (central - start)
    data[start:central] = deflated
    # Method, CRC, packed and unpacked size; the central directory has them two bytes further on.
    cd = data.rfind(b"PK\x01\x02")
    for at, width, value in ((8, 2, 8), (14, 4, crc), (18, 4, len(deflated)), (22, 4, size)):
        data[local + at:local + at + width] = value.to_bytes(width, "little")
        data[cd + at + 2:cd + at + 2 + width] = value.to_bytes(width, "little")
    end = data.rfind(b"PK\x05\x06")
    offset = int.from_bytes(data[end + 16:end + 20], "little") + shift
    data[end + 16:end + 20] = offset.to_bytes(4, "little")
    with open(path, "wb") as f:
        f.write(data)


def main():
    os.makedirs(OUT, exist_ok=True)
    write_text_lists()
    for job, rows in (("parts", PARTS), ("stocks", STOCKS)):
        xlsxwriter_book("xlsxwriter_%s.xlsx" % job, rows)
        xlsxwriter_book("xlsxwriter_%s_inline.xlsx" % job, rows, {"constant_memory": True})
        openpyxl_book("openpyxl_%s.xlsx" % job, [tuple(value_of(v) if isinstance(v, str) and v.startswith("=")
                                                       else v for v in row) for row in rows])
        odf_book("odfpy_%s.ods" % job, rows)
        xlwt_book("xlwt_%s.xls" % job, plain(rows))
        xlwt_book("plain_%s.xls" % job, plain(rows))  # the source of the converters' plain files
        source = out("xlsxwriter_%s.xlsx" % job)
        plain_source = out("plain_%s.xls" % job)
        for target in ("libreoffice_%s.xlsx", "libreoffice_%s.ods", "libreoffice_%s_formulas.xls|MS Excel 97"):
            convert("libreoffice", source, target % job)
        for target in ("libreoffice_%s.xls|MS Excel 97", "libreoffice_%s.csv"):
            convert("libreoffice", plain_source, target % job)
        for target in ("gnumeric_%s.xlsx|Gnumeric_Excel:xlsx2", "gnumeric_%s.ods|Gnumeric_OpenCalc:odf",
                       "gnumeric_%s_formulas.xls|Gnumeric_Excel:excel_biff8"):
            convert("gnumeric", source, target % job)
        for target in ("gnumeric_%s.xls|Gnumeric_Excel:excel_biff8", "gnumeric_%s_biff5.xls|Gnumeric_Excel:excel_biff7",
                       "gnumeric_%s.csv|Gnumeric_stf:stf_csv"):
            convert("gnumeric", plain_source, target % job)
        os.remove(plain_source)
        rewrite("xlsxwriter_%s.xlsx" % job, "variant_%s_strict.xlsx" % job, strict)
        rewrite("xlsxwriter_%s.xlsx" % job, "variant_%s_prefixed.xlsx" % job, prefixed)
        rewrite("xlsxwriter_%s.xlsx" % job, "variant_%s_phonetic.xlsx" % job, phonetic)
    # openpyxl stores no formula results: the row of such a formula is refused.
    book = openpyxl.Workbook()
    book.active.append(["P1", 1200, 4])
    book.active.append(["Rail", "=600*2", 4])
    book.save(out("openpyxl_formula_without_result.xlsx"))
    hostile()


if __name__ == "__main__":
    main()
