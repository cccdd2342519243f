#!/usr/bin/env python3
"""Turns NEWS.md, what each version changed, newest first, into what a release carries:

  news.py notes NEWS.md --version V --time T
      the release notes of version V (Markdown, on standard output);
  news.py debian-changelog NEWS.md --version V --time T --package P --maintainer M --output F
      the Debian changelog of every version, as dpkg-parsechangelog reads it.

NEWS.md holds a "## VERSION" heading for each version, the newest first; a version released
before the newest also gives its day, "## VERSION (YYYY-MM-DD)". Under each heading, one "- "
item for each change, which may go on over lines indented by two spaces. The newest version must
be V, the project's own: a release whose news are not its own is refused. The newest version is
dated T (the commit's time, in seconds since 1970).
"""

import argparse
import datetime
import re
import sys
import textwrap

HEADING = re.compile(r"^## (\S+)(?: \((\d{4}-\d\d-\d\d)\))?\s*$")


class NewsError(Exception):
    pass


def read_entries(path, version, time):
    """Each version's (version, date, items), newest first; the newest is version, dated time."""
    entries = []
    with open(path, encoding="utf-8") as news:
        for number, line in enumerate(news, 1):
            line = line.rstrip("\n")
            heading = HEADING.match(line)
            if line.startswith("## ") and not heading:
                raise NewsError(f"{path}:{number}: a heading is '## VERSION (YYYY-MM-DD)'")
            if heading:
                day = heading.group(2)
                if entries and not day:
                    raise NewsError(f"{path}:{number}: version {heading.group(1)} gives no day")
                when = datetime.datetime.fromisoformat(day) if day else None
                entries.append((heading.group(1), when, []))
            elif entries and line.startswith("- "):
                entries[-1][2].append(line[2:].strip())
            elif entries and line.startswith("  ") and entries[-1][2]:
                entries[-1][2][-1] += " " + line.strip()
            elif entries and line.strip():
                raise NewsError(f"{path}:{number}: an item starts with '- '")
    if not entries:
        raise NewsError(f"{path}: no '## VERSION' heading")
    if entries[0][0] != version:
        raise NewsError(f"{path}: the newest version is {entries[0][0]}, but the project's is "
                        f"{version} (CMakeLists.txt): write its news first")
    newest = datetime.datetime.fromtimestamp(time, datetime.timezone.utc)
    entries[0] = (version, newest, entries[0][2])
    return entries


def notes(entries):
    version, when, items = entries[0]
    lines = [f"# Brackens' Quillon Tool {version}", "", f"Released on {when:%Y-%m-%d}.", ""]
    lines += [textwrap.fill(item, 96, initial_indent="- ", subsequent_indent="  ")
              for item in items]
    zip = f"quillon-tool-{version}-windows-x64.zip"
    lines += ["", "Check what you downloaded against the release's SHA256SUMS before you run it:",
              "`sha256sum -c --ignore-missing SHA256SUMS` on Linux; on Windows,",
              f"`certutil -hashfile {zip} SHA256`, and compare the hash it",
              "prints with the zip's line in SHA256SUMS."]
    return "\n".join(lines) + "\n"


def debian_changelog(entries, package, maintainer):
    text = []
    for version, when, items in entries:
        text += [f"{package} ({version}) unstable; urgency=medium", ""]
        text += [textwrap.fill(item, 78, initial_indent="  * ", subsequent_indent="    ")
                 for item in items]
        stamp = when.replace(tzinfo=datetime.timezone.utc).strftime("%a, %d %b %Y %H:%M:%S %z")
        text += ["", f" -- {maintainer}  {stamp}", ""]
    return "\n".join(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("what", choices=["notes", "debian-changelog"])
    parser.add_argument("news")
    parser.add_argument("--version", required=True)
    parser.add_argument("--time", type=int, required=True)
    parser.add_argument("--package")
    parser.add_argument("--maintainer")
    parser.add_argument("--output")
    args = parser.parse_args()
    try:
        entries = read_entries(args.news, args.version, args.time)
    except (NewsError, OSError) as error:
        print(f"news.py: {error}", file=sys.stderr)
        return 1
    if args.what == "notes":
        sys.stdout.write(notes(entries))
        return 0
    if not (args.package and args.maintainer and args.output):
        parser.error("debian-changelog needs --package, --maintainer and --output")
    # Day and month in English whatever the caller's locale: Python leaves LC_TIME at C.
    try:
        with open(args.output, "w", encoding="utf-8") as out:
            out.write(debian_changelog(entries, args.package, args.maintainer))
    except OSError as error:
        print(f"news.py: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
