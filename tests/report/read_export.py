#!/usr/bin/python3
"""Reads an export file with Python's own readers and prints every field of
every record as one line: INDEX <TAB> KEY <TAB> the value as JSON (ASCII).

Usage: read_export.py csv|json|jsonl FILE
Exits 1 with a message when the file does not parse (or a record's keys
differ from the first's)."""

import csv
import io
import json
import sys


def main():
    kind, path = sys.argv[1], sys.argv[2]
    with open(path, "rb") as f:
        data = f.read()
    text = data.decode("utf-8")  # strict: the file must be UTF-8
    if kind == "csv":
        records = list(csv.DictReader(io.StringIO(text, newline=""), strict=True))
    elif kind == "json":
        records = json.loads(text)
        assert isinstance(records, list)
    else:
        records = [json.loads(line) for line in text.split("\n") if line != ""]
    keys = None
    for i, record in enumerate(records):
        if keys is None:
            keys = list(record.keys())
        elif list(record.keys()) != keys:
            print("record %d has other keys" % i, file=sys.stderr)
            sys.exit(1)
        for key, value in record.items():
            print("%d\t%s\t%s" % (i, key, json.dumps(value, ensure_ascii=True)))


if __name__ == "__main__":
    main()
