#!/usr/bin/env python3
# The .fods that LibreOffice Calc, with Czech settings, made of a
# --decimal-comma table, checked against the table: usage: fods csv.
# Every numeric column of the table's first row came out of the import as
# a number, equal to the table's value; the point number and the code too.
import sys
import xml.etree.ElementTree as ET
TABLE = "urn:oasis:names:tc:opendocument:xmlns:table:1.0"
OFFICE = "urn:oasis:names:tc:opendocument:xmlns:office:1.0"
TEXT = "urn:oasis:names:tc:opendocument:xmlns:text:1.0"
rows = ET.parse(sys.argv[1]).getroot().iter("{%s}table-row" % TABLE)
next(rows)
cells = []
for cell in next(rows).iter("{%s}table-cell" % TABLE):
    repeat = int(cell.get("{%s}number-columns-repeated" % TABLE, "1"))
    cells += [cell] * min(repeat, 100)
fields = open(sys.argv[2], encoding="ascii").read().split("\n")[1].split(";")
for i, field in enumerate(fields):
    cell = cells[i]
    kind = cell.get("{%s}value-type" % OFFICE)
    if i == len(fields) - 1:
        shown = "".join(cell.find("{%s}p" % TEXT).itertext())
        assert kind == "string" and shown == field, (i, kind, shown, field)
        continue
    value = cell.get("{%s}value" % OFFICE)
    assert kind == "float", (i, field, kind)
    assert float(value) == float(field.replace(",", ".")), (i, field, value)
print("LibreOffice Calc (cs-CZ) reads all %d numeric columns of the first row as numbers, equal to the table" % (len(fields) - 1))
