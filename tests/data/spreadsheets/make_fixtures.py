#!/usr/bin/python3
"""Writes the workbook fixtures of the spreadsheet tests into this folder.

Needs python3-xlwt (.xls), python3-openpyxl (.xlsx) and python3-odf (.ods). The files it writes are
committed; run it again only to change them. crafted.xls is not made here: it is an input that the
fuzzer found to overrun FreeXL, kept as it was found.
"""
import datetime
import os
import re
import zipfile

import openpyxl
import xlwt
from odf.config import ConfigItem, ConfigItemMapEntry, ConfigItemMapIndexed, ConfigItemSet
from odf.opendocument import OpenDocumentSpreadsheet
from odf.table import Table, TableCell, TableRow
from odf.text import P

HERE = os.path.dirname(os.path.abspath(__file__))

# One job, written in every format: whole numbers and a fraction.
PARTS = [("P1", 1200, 4), ("P2", 850.5, 2), ("P3", 300, 10)]
STOCKS = [("Bar", 6000, 5, 12.5), ("Short", 3000, 2, 6)]


def path(name):
    return os.path.join(HERE, name)


def write_xls(name, sheets):
    """sheets: list of (title, {(row, col): value}) with rows and columns from 0."""
    book = xlwt.Workbook()
    for title, cells in sheets:
        sheet = book.add_sheet(title)
        for (row, col), value in cells.items():
            sheet.write(row, col, value)
    book.save(path(name))


def write_xlsx(name, sheets, active=0, as_excel=True):
    book = openpyxl.Workbook()
    book.remove(book.active)
    for index, (title, cells) in enumerate(sheets):
        sheet = book.create_sheet(title)
        sheet.sheet_view.tabSelected = index == active
        for (row, col), value in cells.items():
            sheet.cell(row=row + 1, column=col + 1, value=value)
    book.active = active
    book.save(path(name))
    if as_excel:
        excel_like(name)


def excel_like(name, patch=None):
    """Rewrites an openpyxl workbook the way Excel writes one: relative part names and shared strings
    instead of inline ones (Orcus 0.17 reads neither absolute part names nor inline strings)."""
    with zipfile.ZipFile(path(name)) as z:
        entries = {n: z.read(n) for n in z.namelist()}
    strings = []

    def shared(match):
        strings.append(match.group(2))
        return b'<c r="%s" t="s"><v>%d</v></c>' % (match.group(1), len(strings) - 1)

    for n in entries:
        if n.startswith("xl/worksheets/"):
            entries[n] = re.sub(rb'<c r="(\w+)" t="inlineStr"><is><t>(.*?)</t></is></c>', shared, entries[n])
    rels = "xl/_rels/workbook.xml.rels"
    entries[rels] = entries[rels].replace(b'Target="/xl/', b'Target="')
    if strings:
        items = b"".join(b"<si><t>%s</t></si>" % s for s in strings)
        entries["xl/sharedStrings.xml"] = (
            b'<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="%d" uniqueCount="%d">'
            b"%s</sst>" % (len(strings), len(strings), items))
        entries[rels] = entries[rels].replace(
            b"</Relationships>",
            b'<Relationship Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/'
            b'sharedStrings" Target="sharedStrings.xml" Id="rIdS"/></Relationships>')
        types = "[Content_Types].xml"
        entries[types] = entries[types].replace(
            b"</Types>",
            b'<Override PartName="/xl/sharedStrings.xml" ContentType="application/'
            b'vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/></Types>')
    if patch:
        patch(entries)
    with zipfile.ZipFile(path(name), "w", zipfile.ZIP_DEFLATED) as z:
        for n, data in entries.items():
            z.writestr(n, data)


def write_ods(name, sheets, active=None):
    doc = OpenDocumentSpreadsheet()
    if active is not None:
        # The view settings name the active table, as LibreOffice writes them.
        item = ConfigItem(name="ActiveTable", type="string")
        item.addText(sheets[active][0])
        entry = ConfigItemMapEntry()
        entry.addElement(item)
        views = ConfigItemMapIndexed(name="Views")
        views.addElement(entry)
        view_settings = ConfigItemSet(name="ooo:view-settings")
        view_settings.addElement(views)
        doc.settings.addElement(view_settings)
    for title, cells in sheets:
        table = Table(name=title)
        last_row = max((r for r, _ in cells), default=-1)
        for r in range(last_row + 1):
            row = TableRow()
            last_col = max((c for rr, c in cells if rr == r), default=-1)
            for c in range(last_col + 1):
                value = cells.get((r, c))
                if value is None:
                    row.addElement(TableCell())
                elif isinstance(value, str):
                    cell = TableCell(valuetype="string")
                    cell.addElement(P(text=value))
                    row.addElement(cell)
                else:
                    cell = TableCell(valuetype="float", value=value)
                    cell.addElement(P(text=str(value)))
                    row.addElement(cell)
            table.addElement(row)
        doc.spreadsheet.addElement(table)
    doc.save(path(name))


def grid(rows, first_row=0):
    return {(first_row + r, c): v for r, values in enumerate(rows) for c, v in enumerate(values)}


def text_number(value):
    return str(int(value)) if float(value).is_integer() else str(value)


def main():
    # The same job in every format.
    parts, stocks = grid(PARTS), grid(STOCKS)
    for ext, writer in (("xls", write_xls), ("xlsx", write_xlsx), ("ods", write_ods)):
        writer("job_parts." + ext, [("Parts", parts)])
        writer("job_stocks." + ext, [("Stocks", stocks)])
    with open(path("job_parts.txt"), "w", newline="") as f:
        f.writelines("%s\t%s\t%s\r\n" % (l, text_number(n), q) for l, n, q in PARTS)
    with open(path("job_stocks.txt"), "w", newline="") as f:
        f.writelines("%s\t%s\t%s\t%s\r\n" % (l, text_number(n), q, text_number(c)) for l, n, q, c in STOCKS)
    # CSV: a header row, quoted fields, commas for parts and semicolons for stocks.
    with open(path("job_parts.csv"), "w", newline="") as f:
        f.write('"Label","Length","Qty"\r\n')
        f.writelines('"%s",%s,%s\r\n' % (l, text_number(n), q) for l, n, q in PARTS)
    with open(path("job_stocks.csv"), "w", newline="") as f:
        f.write("Label;Length;Qty;Cost\n")
        f.writelines("%s;%s;%s;%s\n" % (l, text_number(n), q, text_number(c)) for l, n, q, c in STOCKS)

    # The edge cases of the imports.
    write_xls("header_row.xls", [("Parts", grid([("Label", "Length", "Qty")] + PARTS))])
    write_xls("empty_qty.xls", [("Parts", grid([("A", 100, 1), ("B", 200, ""), ("C", 300, 3)]))])
    write_xls("three_columns.xls", [("Stocks", grid([(l, n, q) for l, n, q, _ in STOCKS]))])
    write_xls("empty.xls", [("Empty", {})])
    write_ods("second_active.ods", [("First", grid([("Wrong", 1, 1)])), ("Second", parts)], active=1)
    write_xlsx("row20.xlsx", [("Parts", grid(PARTS, first_row=19))])
    write_xlsx("second_active.xlsx", [("First", grid([("Wrong", 1, 1)])), ("Second", parts)], active=1)
    write_xlsx("openpyxl_as_is.xlsx", [("Parts", parts)], as_excel=False)
    write_xlsx("date_qty.xlsx", [("Parts", grid([("A", 100, datetime.date(2024, 1, 31))]))])
    write_xlsx("bool_length.xlsx", [("Parts", grid([("A", True, 2)]))])

    # A formula with its stored result: openpyxl stores none, so the result is put in afterwards.
    def stored_result(entries):
        sheet = "xl/worksheets/sheet1.xml"
        entries[sheet] = re.sub(rb"<f>2\*3</f>(<v\s*/>|<v></v>)?", b"<f>2*3</f><v>6</v>", entries[sheet])
        assert b"<v>6</v>" in entries[sheet]

    write_xlsx("formula.xlsx", [("Parts", {(0, 0): "F", (0, 1): 600, (0, 2): "=2*3"})])
    excel_like("formula.xlsx", stored_result)

    # Damaged workbooks: a cut-off archive and a compound file with garbage.
    with open(path("job_parts.xlsx"), "rb") as f:
        data = f.read()
    with open(path("damaged.xlsx"), "wb") as f:
        f.write(data[: len(data) // 2])
    with open(path("job_parts.xls"), "rb") as f:
        data = bytearray(f.read())
    data[512:1024] = b"\xff" * 512
    with open(path("damaged.xls"), "wb") as f:
        f.write(bytes(data))


if __name__ == "__main__":
    main()
