#!/usr/bin/env python3
"""The release notes of CHANGELOG.md in the forms the packages need.

    releases.py metainfo CHANGELOG.md
        the <release> elements of the AppStream metadata, newest first
    releases.py debian CHANGELOG.md VERSION COMMIT-TIME "NAME <EMAIL>"
        debian/changelog for a build of VERSION: the releases up to it and, for a build between
        releases (VERSION like 1.0.0+5.gab44ca3), an entry of its own first

CHANGELOG.md holds one "## VERSION — YYYY-MM-DD" heading per release, newest first, with the notes
as a "- " list (an item may go on over indented lines). A heading of another shape is an error,
so a release is never dropped silently.
"""
import datetime
import re
import subprocess
import sys
import textwrap
from xml.sax.saxutils import escape

HEADING = re.compile(r"^## (\S+) \u2014 (\d{4}-\d{2}-\d{2})\s*$")
SNAPSHOT = re.compile(r"^(.+)\+(\d+)\.g([0-9a-f]+)$")


class Release:
    def __init__(self, version, date):
        self.version = version
        self.date = date
        self.items = []  # one string per list item, lines joined


def parse(path):
    releases = []
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    for number, line in enumerate(lines, 1):
        where = f"{path}:{number}"
        if line.startswith("## "):
            m = HEADING.match(line)
            if not m:
                sys.exit(f"{where}: a release heading is '## VERSION \u2014 YYYY-MM-DD', not {line!r}")
            try:
                date = datetime.date.fromisoformat(m.group(2))
            except ValueError:
                sys.exit(f"{where}: {m.group(2)} is not a date")
            if any(r.version == m.group(1) for r in releases):
                sys.exit(f"{where}: {m.group(1)} appears twice")
            releases.append(Release(m.group(1), date))
        elif not releases or not line.strip():
            continue
        elif line.startswith("- "):
            releases[-1].items.append(line[2:].strip())
        elif line.startswith(" ") and releases[-1].items:
            releases[-1].items[-1] += " " + line.strip()
        else:
            sys.exit(f"{where}: release notes are a '- ' list; this line is neither an item nor its continuation")
    if not releases:
        sys.exit(f"{path}: no release headings")
    for r in releases:
        if not r.items:
            sys.exit(f"{path}: release {r.version} has no notes")
    return releases


def inline_xml(text):
    """Escapes the text; `code` spans become <code> elements."""
    parts = text.split("`")
    if len(parts) % 2 == 0:
        return escape(text)
    return "".join(escape(p) if i % 2 == 0 else f"<code>{escape(p)}</code>" for i, p in enumerate(parts))


def metainfo(releases):
    out = []
    for r in releases:
        out.append(f'    <release version="{escape(r.version)}" date="{r.date.isoformat()}">')
        out.append("      <description>")
        out.append("        <ul>")
        for item in r.items:
            out.append(f"          <li>{inline_xml(item)}</li>")
        out.append("        </ul>")
        out.append("      </description>")
        out.append("    </release>")
    return "\n".join(out) + "\n"


def version_le(a, b):
    return subprocess.run(["dpkg", "--compare-versions", a, "le", b]).returncode == 0


def rfc2822(when):
    # The day and month names in English whatever the locale, as the changelog format wants.
    t = datetime.datetime.fromtimestamp(when, datetime.timezone.utc)
    day = ("Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun")[t.weekday()]
    month = ("Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec")[t.month - 1]
    return f"{day}, {t.day:02d} {month} {t.year} {t:%H:%M:%S} +0000"


def debian_entry(version, items, maintainer, when):
    text = [f"saltfang ({version}) unstable; urgency=medium", ""]
    for item in items:
        text += textwrap.wrap(item, width=78, initial_indent="  * ", subsequent_indent="    ",
                              break_long_words=False, break_on_hyphens=False)
    text += ["", f" -- {maintainer}  {rfc2822(when)}"]
    return "\n".join(text) + "\n"


def debian(releases, version, commit_time, maintainer):
    snapshot = SNAPSHOT.match(version)
    base = snapshot.group(1) if snapshot else version
    known = [r.version for r in releases]
    if base not in known:
        sys.exit(f"CHANGELOG.md has no release {base} (the version of this build is {version})")
    # Notes written ahead of a release that this build does not contain yet stay out.
    included = [r for r in releases if version_le(r.version, base)]
    entries = []
    # A release's entry is dated at the start of its day (UTC).
    times = [datetime.datetime.combine(r.date, datetime.time(), datetime.timezone.utc).timestamp()
             for r in included]
    for r, t in zip(included, times):
        entries.append(debian_entry(r.version, r.items, maintainer, t))
    if snapshot:
        # The entries' dates must grow: a snapshot committed before the day its base release names
        # (notes written ahead of the tag) is dated just after that release.
        when = max(float(commit_time), times[0] + 1)
        items = [f"Snapshot of commit {snapshot.group(3)}, between releases: not a release itself."]
        entries.insert(0, debian_entry(version, items, maintainer, when))
    return "\n".join(entries)


def main(argv):
    if len(argv) == 3 and argv[1] == "metainfo":
        sys.stdout.write(metainfo(parse(argv[2])))
    elif len(argv) == 6 and argv[1] == "debian":
        sys.stdout.write(debian(parse(argv[2]), argv[3], argv[4], argv[5]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
