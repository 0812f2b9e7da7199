#!/usr/bin/env python3
"""Reads Trelvane's exported Sqlio_Data.csv with Python's csv module and compares it, cell by cell, with
the result table the window held (dumped beside it by export_dump_tool).

Usage: export_csv_check.py EXPORT_DUMP_TOOL REPORT...
"""
import csv
import json
import os
import re
import subprocess
import sys
import tempfile

PLAIN_NUMBER = re.compile(r"[+-]?(\d+(\.\d*)?|\.\d+)([eE][+-]?\d+)?\Z")


def as_written(cell):
    """A cell as the CSV must give it back: a would-be formula carries a leading apostrophe."""
    if cell[:1] in ("=", "+", "-", "@", "\t", "\r") and not PLAIN_NUMBER.match(cell):
        return "'" + cell
    return cell


def record_ends(raw):
    """The byte offsets where records end (outside quotes), checking each ends in CR LF."""
    ends, quoted, i = [], False, 0
    while i < len(raw):
        c = raw[i]
        if c == ord('"'):
            quoted = not quoted
        elif c == ord("\n") and not quoted:
            if i == 0 or raw[i - 1] != ord("\r"):
                raise AssertionError(f"record ending in a bare LF at byte {i}")
            ends.append(i)
        elif c == ord("\r") and not quoted and raw[i + 1: i + 2] != b"\n":
            raise AssertionError(f"record ending in a bare CR at byte {i}")
        i += 1
    if quoted:
        raise AssertionError("the file ends inside a quoted field")
    if not raw.endswith(b"\r\n"):
        raise AssertionError("the last record does not end in CR LF")
    return ends


def check(tool, report):
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([tool, report, folder], check=True)
        with open(os.path.join(folder, "table.json"), encoding="ascii") as dump:
            table = json.load(dump)
        path = os.path.join(folder, "Sqlio_Data.csv")
        with open(path, "rb") as f:
            raw = f.read()
        # latin-1 maps every byte to one character, so the cells' bytes come back unchanged.
        with open(path, newline="", encoding="latin-1") as f:
            records = list(csv.reader(f, strict=True))

    def text(hex_cell):
        return bytes.fromhex(hex_cell).decode("latin-1")

    expected = [[as_written(text(c)) for c in table["titles"]]]
    expected += [[as_written(text(c)) for c in row] for row in table["rows"]]
    if len(records) != len(expected):
        raise AssertionError(f"{report}: {len(records)} records read, {len(expected)} expected")
    if len(record_ends(raw)) != len(expected):
        raise AssertionError(f"{report}: record ends do not match the record count")
    for number, (got, want) in enumerate(zip(records, expected)):
        if got != want:
            raise AssertionError(f"{report}: record {number} differs:\n  read {got!r}\n  want {want!r}")
    return len(table["rows"])


def main():
    tool, reports = sys.argv[1], sys.argv[2:]
    for report in reports:
        rows = check(tool, report)
        print(f"{os.path.basename(report)}: {rows} rows read back cell by cell")
    return 0


if __name__ == "__main__":
    sys.exit(main())
