#!/usr/bin/env bash
# Checks that every C++ source of the project follows .clang-format and
# names the files that do not (clang-format -i FILE puts one right).
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -d '' files < <(git ls-files -z '*.h' '*.hpp' '*.cpp' '*.cc')
else
  mapfile -d '' files < <(find . -path ./build -prune -o -type f \
    \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \) -print0)
fi
clang-format --dry-run -Werror "${files[@]}"
echo "format: ${#files[@]} files follow .clang-format"
