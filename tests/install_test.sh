#!/bin/sh
# cmake --install puts the program, and nothing else, into bin/ of the
# prefix, where it runs.
#
#   install_test.sh BUILD_FOLDER
set -eu
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" > /dev/null
installed=$(cd "$prefix" && find . -type f)
if [ "$installed" != "./bin/vemrafmt" ]; then
  echo "installed: $installed" >&2
  exit 1
fi
"$prefix/bin/vemrafmt" -version
