#!/usr/bin/python3
"""Writes the expected SQL Server data script of the sample database (sqlserver_data.sql).

Each rule below was written from the statement templates and literal rules of the SQL Server
target, not from the generator's code, so that the two can be held against each other:

  per table:  "DELETE FROM <table>;"  (data only, drop/zap on)
              "SET IDENTITY_INSERT <table> ON;" ... "OFF;" around the rows of a table that has an
              autonumber column (autonumbers on)
              "INSERT INTO <table> (<c1>,<c2>,...) VALUES (<l1>,<l2>,...);" per row
              an empty line
  names:      delimited with [ ] only when they hold a space
  literals:   NULL; strings quoted, ' doubled, TAB/LF/CR joined in as '+CHAR(9)+', N'' when the text
              holds characters beyond ASCII; dates 'YYYY-MM-DD HH:MM:SS'; booleans 1 or 0; numbers in
              full with a '.' point (decimals with their column's scale, currency without trailing
              zeros, doubles as the shortest text that reads back); binary values 0x and hex digits
  file:       every line feed stored as CR LF

Usage: derive_sqlserver_data.py <Shop.db> > sqlserver_data.sql
"""
import sqlite3
import sys

TABLES = ["Categories", "Customers", "Products", "Orders", "Order Details", "Notes"]
AUTONUMBER = {"Categories", "Customers", "Products", "Orders"}  # INTEGER PRIMARY KEY AUTOINCREMENT


def name(n):
    return "[" + n + "]" if " " in n else n


def string_literal(text):
    opening = "N'" if any(ord(c) > 127 for c in text) else "'"
    out = opening
    for c in text:
        if c in "\x00\x08\x09\x0a\x0d\x1a":
            out += "'+CHAR(%d)+" % ord(c) + opening
        elif c == "'":
            out += "''"
        else:
            out += c
    return out + "'"


def literal(declared, value):
    if value is None:
        return "NULL"
    declared = declared.upper()
    if declared.startswith("VARCHAR") or declared == "TEXT":
        return string_literal(value)
    if declared in ("DATE", "DATETIME"):
        return "'" + (value if len(value) > 10 else value + " 00:00:00") + "'"
    if declared == "BOOLEAN":
        return "1" if value else "0"
    if declared.startswith("DECIMAL"):
        scale = int(declared.split(",")[1].rstrip(")"))
        return "%.*f" % (scale, value)
    if declared == "MONEY":
        return ("%.4f" % value).rstrip("0").rstrip(".")
    if declared == "REAL":
        text = repr(float(value))
        return text[:-2] if text.endswith(".0") else text
    if declared == "BLOB":
        return "0x" + value.hex().upper()
    return str(value)  # INTEGER, SMALLINT


def main():
    db = sqlite3.connect(sys.argv[1])
    out = []
    for table in TABLES:
        columns = [(row[1], row[2]) for row in db.execute('PRAGMA table_info("%s")' % table)]
        out.append("DELETE FROM %s;" % name(table))
        if table in AUTONUMBER:
            out.append("SET IDENTITY_INSERT %s ON;" % name(table))
        head = "INSERT INTO %s (%s) VALUES (" % (name(table), ",".join(name(c) for c, _ in columns))
        for row in db.execute('SELECT * FROM "%s"' % table):
            out.append(head + ",".join(literal(t, v) for (_, t), v in zip(columns, row)) + ");")
        if table in AUTONUMBER:
            out.append("SET IDENTITY_INSERT %s OFF;" % name(table))
        out.append("")
    sys.stdout.buffer.write(("\n".join(out) + "\n").replace("\n", "\r\n").encode("utf-8"))


main()
