#!/usr/bin/env bash
# Installs a build with `cmake --install` into a folder of its own and checks what it installed.
# Usage: install_tree_test.sh BUILD_DIR DESIGN.tvl
set -euo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$1" --prefix /usr >/dev/null
"$(dirname "$0")/install_check.sh" "$root/usr" "$2"
