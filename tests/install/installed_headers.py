"""What an installed include tree must hold: the project's public headers
only, each of whose own includes is installed too."""

import os
import re

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)
# Folders of the source tree whose headers are nobody's business outside it.
NOT_INSTALLED = ("tests", "bench", "fuzz", "apps", "examples", "package")
# Headers of the libraries' inner workings (PRIVATE_HEADERS in CMake).
PRIVATE = ("folio/FolioAccessible.h", "folio/FolioFields.h", "folio/FolioItemLayout.h",
           "folio/FolioPrimitives.h", "folio/FolioRecords.h", "samples/SamplesAccessible.h",
           "samples/SampleStrings.h")


def check_include_tree(include_root):
    """Raises AssertionError naming every fault of the tree below
    include_root (the folder that holds framework/, folio/, ...)."""
    headers = set()
    for folder, _, files in os.walk(include_root):
        for name in files:
            headers.add(os.path.relpath(os.path.join(folder, name), include_root))
    faults = []
    if "folio/Folio.h" not in headers:
        faults.append("folio/Folio.h is not installed")
    for header in sorted(headers):
        if header.split("/")[0] in NOT_INSTALLED or header in PRIVATE:
            faults.append(f"{header} is installed but is not a public header")
        with open(os.path.join(include_root, header), encoding="utf-8") as file:
            for included in INCLUDE.findall(file.read()):
                if included not in headers:
                    faults.append(f"{header} includes {included}, which is not installed")
    if faults:
        raise AssertionError("the installed headers are not whole:\n  " + "\n  ".join(faults))
    return len(headers)
