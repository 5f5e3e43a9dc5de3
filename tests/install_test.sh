#!/bin/sh
# cmake --install puts the program, and nothing else, into bin/ of the
# prefix, where it runs (through RUNNER, when given: wine for a Windows
# build).
#
#   install_test.sh BUILD_FOLDER [PROGRAM_NAME [RUNNER...]]
set -eu
build=$1
name=${2:-vemrafmt}
shift $(($# < 2 ? $# : 2))
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null
installed=$(cd "$prefix" && find . -type f)
if [ "$installed" != "./bin/$name" ]; then
  echo "installed: $installed" >&2
  exit 1
fi
"$@" "$prefix/bin/$name" -version
