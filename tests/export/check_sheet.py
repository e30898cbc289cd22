"""Reads an .xlsx back with openpyxl and compares it with a JSON description of what it must hold.

Usage: check_sheet.py WORKBOOK.xlsx EXPECTED.json
       check_sheet.py --same WORKBOOK.xlsx REFERENCE.xlsx
The second form compares two workbooks cell by cell: sheet names, merges, extent, column widths,
row heights and every cell's value, type, font size, alignment and borders.
Prints one line per difference and exits 1 when there is any.
"""
import json
import sys

from openpyxl import load_workbook
from openpyxl.utils import get_column_letter

EDGES = {"L": "left", "R": "right", "T": "top", "B": "bottom"}


def differences(path, want):
    book = load_workbook(path)
    sheet = book.worksheets[0]
    found = []

    def check(what, got, expected):
        if got != expected:
            found.append(f"{what}: got {got!r}, want {expected!r}")

    check("sheets", book.sheetnames, want["sheets"])
    if "merged" in want:
        check("merged", sorted(str(r) for r in sheet.merged_cells.ranges), sorted(want["merged"]))
    for key in ("max_row", "max_column"):
        if key in want:
            check(key, getattr(sheet, key), want[key])
    for column, width in want.get("widths", {}).items():
        got = sheet.column_dimensions[column].width
        # The file holds the width plus Excel's cell padding (about 0.71 of a character).
        if not width <= got <= width + 1:
            found.append(f"width {column}: got {got!r}, want {width!r} plus padding")
    for row, least in want.get("min_heights", {}).items():
        got = sheet.row_dimensions[int(row)].height
        if got is None or got < least:
            found.append(f"height of row {row}: got {got!r}, want at least {least!r}")
    for ref, cell_want in want.get("cells", {}).items():
        cell = sheet[ref]
        if "value" in cell_want:
            check(f"{ref} value", cell.value, cell_want["value"])
        if "type" in cell_want:
            check(f"{ref} type", cell.data_type, cell_want["type"])
        if "size" in cell_want:
            check(f"{ref} font size", cell.font.sz, cell_want["size"])
        if "align" in cell_want:
            check(f"{ref} alignment", cell.alignment.horizontal, cell_want["align"])
        if "border" in cell_want:
            color = cell_want.get("border_color", "FF000000")
            for letter, edge in EDGES.items():
                side = getattr(cell.border, edge)
                got = (side.style, side.color.rgb if side.color is not None else None)
                expected = ("thin", color) if letter in cell_want["border"] else (None, None)
                check(f"{ref} {edge} border", got, expected)
    return found


def cell_look(cell):
    sides = []
    for edge in EDGES.values():
        side = getattr(cell.border, edge)
        sides.append((side.style, side.color.rgb if side.color is not None else None))
    return {
        "value": cell.value,
        "type": cell.data_type,
        "font size": cell.font.sz,
        "bold": cell.font.b,
        "alignment": (cell.alignment.horizontal, cell.alignment.vertical),
        "borders": sides,
    }


def same(path, reference_path):
    book, reference = load_workbook(path), load_workbook(reference_path)
    found = []

    def check(what, got, expected):
        if got != expected:
            found.append(f"{what}: got {got!r}, reference {expected!r}")

    check("sheets", book.sheetnames, reference.sheetnames)
    sheet, ref = book.worksheets[0], reference.worksheets[0]
    check("merged", sorted(str(r) for r in sheet.merged_cells.ranges), sorted(str(r) for r in ref.merged_cells.ranges))
    check("max_row", sheet.max_row, ref.max_row)
    check("max_column", sheet.max_column, ref.max_column)
    columns = max(sheet.max_column, ref.max_column)
    rows = max(sheet.max_row, ref.max_row)
    for c in range(1, columns + 2):
        letter = get_column_letter(c)
        check(f"width {letter}", sheet.column_dimensions[letter].width, ref.column_dimensions[letter].width)
    for r in range(1, rows + 2):
        check(f"height of row {r}", sheet.row_dimensions[r].height, ref.row_dimensions[r].height)
        for c in range(1, columns + 2):
            got, want = cell_look(sheet.cell(r, c)), cell_look(ref.cell(r, c))
            for key in want:
                check(f"{get_column_letter(c)}{r} {key}", got[key], want[key])
    return found


if __name__ == "__main__":
    if sys.argv[1] == "--same":
        problems = same(sys.argv[2], sys.argv[3])
    else:
        with open(sys.argv[2], encoding="utf-8") as f:
            problems = differences(sys.argv[1], json.load(f))
    print("\n".join(problems))
    sys.exit(1 if problems else 0)
