#!/usr/bin/env python3
"""Rewrites a zip so that the same files give the same bytes: its entries sorted by name, each
dated TIME (seconds since 1970, as UTC: a zip's times have no zone) and given the mode 644, or
755 for a folder or a program, with no extra fields (owners, other times).

Usage: sort-zip.py TIME ZIP
"""

import datetime
import os
import sys
import zipfile


def main():
    time, path = int(sys.argv[1]), sys.argv[2]
    when = datetime.datetime.fromtimestamp(time, datetime.timezone.utc).timetuple()[:6]
    with zipfile.ZipFile(path) as original:
        entries = [(info, original.read(info)) for info in original.infolist()]
    entries.sort(key=lambda entry: entry[0].filename)
    sorted_path = path + ".sorted"
    with zipfile.ZipFile(sorted_path, "w") as out:
        for info, data in entries:
            entry = zipfile.ZipInfo(info.filename, when)
            entry.create_system = 3  # Unix, whose modes the field below holds
            executable = info.is_dir() or (info.external_attr >> 16) & 0o100
            entry.external_attr = (0o40755 if info.is_dir() else 0o100755 if executable
                                   else 0o100644) << 16
            if info.is_dir():
                entry.external_attr |= 0x10  # the folder flag of MS-DOS, which Windows reads
            entry.compress_type = zipfile.ZIP_STORED if info.is_dir() else zipfile.ZIP_DEFLATED
            out.writestr(entry, data, compresslevel=9)
    os.replace(sorted_path, path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
