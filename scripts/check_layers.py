#!/usr/bin/env python3
"""Fails when an include reaches up a layer.

Each source folder has a rank; a file may include project headers of its own folder or of a
folder of lower rank, never of a higher one or of a sibling of the same rank. The core folders
include no Qt module that needs a window, and the text library includes neither Qt nor a database
client.
"""
import re
import subprocess
import sys

RANKS = [  # (folder prefix, rank), most specific first
    ("text/", 0),
    ("data/ado/", 1),
    ("data/", 2),
    ("workspace/ui/", 9),
    ("workspace/", 3),
    ("export/", 4),
    ("platform/", 5),
    ("ui/", 6),
    ("grid/db/", 8),
    ("grid/demo/", 8),
    ("grid/", 6),
    ("resources/", 7),
    ("app/", 10),
]
CORE_MAX = 4
WINDOW_MODULES = re.compile(r"#include <(QtWidgets|QtGui|QtPrintSupport|QWidget|QApplication|QPainter|QFont|QColor|QPixmap|QImage|QIcon|QGuiApplication)\b")
TEXT_FORBIDDEN = re.compile(r"#include <(Q\w+|sqlite3\.h|sql\.h|sqlext\.h|libpq-fe\.h|mysql\.h|mariadb/\S+)>")
INCLUDE = re.compile(r'#include "([^"]+)"')


def folder_of(path):
    for prefix, rank in RANKS:
        if path.startswith(prefix):
            return prefix, rank
    return None, None


def main():
    files = subprocess.run(["git", "ls-files", "*.cpp", "*.h", "*.in"], capture_output=True, text=True,
                           check=True).stdout.split()
    faults = []
    for path in files:
        folder, rank = folder_of(path)
        if folder is None:
            continue  # tests, benchmarks and tools may use any layer
        with open(path, encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if m:
                    target, target_rank = folder_of(m.group(1))
                    if target is not None and target != folder and target_rank >= rank:
                        faults.append(f"{path}:{number}: {folder} includes {m.group(1)} of a layer above or beside it")
                if rank <= CORE_MAX and WINDOW_MODULES.match(line):
                    faults.append(f"{path}:{number}: core code includes a window module: {line.strip()}")
                if rank == 0 and TEXT_FORBIDDEN.match(line):
                    faults.append(f"{path}:{number}: the text library includes {line.strip()}")
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) reach up a layer", file=sys.stderr)
        return 1
    print(f"Layers: {len(files)} files checked, no include reaches up")
    return 0


if __name__ == "__main__":
    sys.exit(main())
