#!/usr/bin/env bash
# Fails, naming each place, when a tracked C++ file differs from what clang-format (Debian's, with
# the repository's .clang-format) makes of it. `make format` mends them.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run --Werror "${files[@]}"
echo "clang-format: ${#files[@]} files as formatted"
