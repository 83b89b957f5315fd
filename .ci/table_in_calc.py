#!/usr/bin/env python3
# The .fods that LibreOffice Calc, with Czech settings, made of a
# --decimal-comma table, checked against the table: usage: fods csv.
# In every row, each numeric column came out of the import as a number
# equal to the table's value (the point number too), each empty one empty,
# and the last column, the rest of the line, as its text.
import sys
import xml.etree.ElementTree as ET
TABLE = "urn:oasis:names:tc:opendocument:xmlns:table:1.0"
OFFICE = "urn:oasis:names:tc:opendocument:xmlns:office:1.0"
TEXT = "urn:oasis:names:tc:opendocument:xmlns:text:1.0"
rows = list(ET.parse(sys.argv[1]).getroot().iter("{%s}table-row" % TABLE))
lines = open(sys.argv[2], encoding="ascii").read().split("\n")[1:]
lines = [line for line in lines if line]
numbers = 0
for row, line in zip(rows[1:], lines):
    cells = []
    for cell in row.iter("{%s}table-cell" % TABLE):
        repeat = int(cell.get("{%s}number-columns-repeated" % TABLE, "1"))
        cells += [cell] * min(repeat, 100)
    fields = line.split(";")
    for i, field in enumerate(fields):
        cell = cells[i] if i < len(cells) else None
        kind = None if cell is None else cell.get("{%s}value-type" % OFFICE)
        if field == "":
            assert kind is None, (line, i, kind)
        elif i == len(fields) - 1:
            shown = "".join(cell.find("{%s}p" % TEXT).itertext())
            assert kind == "string" and shown == field, (line, i, kind, shown, field)
        else:
            value = cell.get("{%s}value" % OFFICE)
            assert kind == "float", (line, i, field, kind)
            assert float(value) == float(field.replace(",", ".")), (line, i, field, value)
            numbers += 1
assert len(lines) > 0 and len(rows) > len(lines), (len(rows), len(lines))
print("LibreOffice Calc (cs-CZ) reads all %d numeric cells of %d rows as numbers, equal to the table"
      % (numbers, len(lines)))
