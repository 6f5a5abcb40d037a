#!/usr/bin/env bash
# Builds the API reference with Doxygen into build/docs/html/ from the public
# headers docs/Doxyfile lists. A public class, member or event without its
# brief, or a parameter documented under a name it does not have, fails the
# run: the reference of those headers stays whole.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
folio_install_packages
rm -rf build/docs
doxygen docs/Doxyfile
echo "API reference: $PWD/build/docs/html/index.html"
