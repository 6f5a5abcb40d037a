#!/usr/bin/env python3
"""Finds briefs of the generated API reference that were cut short.

A brief ends at the first period followed by a space, so a range written
"0 .. Count - 1" ends it after "0 ." and the member list shows a stump.
The check reads the member lists of the HTML Doxygen wrote and names every
brief that ends in a lone period or in two of them ("0 to Count - 1", or
"0..Count-1", keeps the brief whole).

Usage: check_doc_briefs.py HTML_DIR   (exit status 1 and one line per stump)
"""

import html
import os
import re
import sys

# The brief column of a member list: its text up to the "More..." link or
# the line break Doxygen puts after it.
BRIEF = re.compile(r'class="mdescRight">(.*?)(?:<a href="[^"]*">More|<br />)', re.S)
TAG = re.compile(r"<[^>]+>")
STUMP = re.compile(r"(\s\.|\.\.)$")


def briefs(page):
    """The briefs of one HTML page, as plain text."""
    for match in BRIEF.finditer(page):
        yield html.unescape(TAG.sub("", match.group(1))).strip()


def stumps(html_dir):
    """Every brief cut short, with the pages that show it (an inherited
    member's brief shows on every descendant's page)."""
    found = {}
    for name in sorted(os.listdir(html_dir)):
        if not name.endswith(".html"):
            continue
        with open(os.path.join(html_dir, name), encoding="utf-8") as f:
            for text in briefs(f.read()):
                if STUMP.search(text):
                    found.setdefault(text, []).append(name)
    return found


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[-1])
        return 2
    result = stumps(argv[1])
    for text, pages in sorted(result.items()):
        more = f" and {len(pages) - 1} more pages" if len(pages) > 1 else ""
        print(f"{pages[0]}{more}: brief cut short at the dots: \"{text}\"")
    return 1 if result else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
