#!/usr/bin/env bash
# Builds the Debian packages libfolio-dev and folio-designer from the
# default preset's build into build/default/packages/ and lists their files.
# Install them with
#   sudo apt install ./build/default/packages/libfolio-dev_*.deb ./build/default/packages/folio-designer_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
folio_install_packages
folio_configure default
cmake --build --preset default
rm -f build/default/packages/*.deb
cpack --config build/default/CPackConfig.cmake
for deb in build/default/packages/*.deb; do
  echo
  dpkg-deb --field "$deb" Package Version Depends
  dpkg-deb --contents "$deb" | awk '{print "  " $6}'
done
