#!/usr/bin/env python3
"""The brief check finds briefs the dots of a range cut short, and only those."""

import os
import shutil
import sys
import tempfile
import unittest

SOURCE_ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(SOURCE_ROOT, "scripts"))
import check_doc_briefs  # noqa: E402


def row(brief, more=True):
    """One member row's brief cell, as Doxygen writes it."""
    link = '  <a href="classX.html#a1">More...</a>' if more else ""
    return f'<td class="mdescLeft">&#160;</td><td class="mdescRight">{brief}{link}<br /></td>'


class BriefCheck(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.dir)

    def write(self, name, *rows):
        with open(os.path.join(self.dir, name), "w", encoding="utf-8") as f:
            f.write("<table>\n" + "\n".join(rows) + "\n</table>\n")

    def test_finds_only_cut_briefs(self):
        cases = [
            ("a whole sentence", row("The item at Index."), False),
            ("a brief with no more to say", row("How many items.", more=False), False),
            ("a range written with 'to'", row("Raises EListError outside 0 to Count - 1."), False),
            ("a range written without spaces", row("Index, 0..Count-1."), False),
            ("a number inside the brief", row("Ratio 0.75 by default."), False),
            ("a brief cut after '0 .'", row("Raises EListError outside 0 ."), True),
            ("a brief ending in two dots", row("The range Min.."), True),
            ("a link and an entity before the cut",
             row('Raises <a class="el" href="E.html">EListError</a> outside&#160;0 .'), True),
        ]
        for name, cell, cut in cases:
            with self.subTest(name):
                self.write("page.html", cell)
                self.assertEqual(bool(check_doc_briefs.stumps(self.dir)), cut)

    def test_names_a_brief_once_with_its_pages(self):
        stump = row("The child at Index; raises EListError outside 0 .")
        self.write("classA.html", stump, row("Fine."))
        self.write("classB.html", stump)
        self.write("notes.txt", stump)
        found = check_doc_briefs.stumps(self.dir)
        self.assertEqual(found, {
            "The child at Index; raises EListError outside 0 .": ["classA.html", "classB.html"]})
        self.assertEqual(check_doc_briefs.main(["", self.dir]), 1)

    def test_a_whole_reference_passes(self):
        self.write("classA.html", row("The item at Index (0 to Count - 1)."))
        self.assertEqual(check_doc_briefs.main(["", self.dir]), 0)


if __name__ == "__main__":
    unittest.main()
