#!/bin/sh
# Whole runs of the program that use none of the options for editors and
# pipes, as one transcript: each command line, what it printed on standard
# output, and its exit status. The test of the default runs compares the
# transcript with default_runs.txt, byte for byte; the folder the runs
# work in shows as DIR.
#
#   default_runs.sh PROGRAM EXAMPLES_FOLDER EMPTY_FOLDER
set -u
program=$1
examples=$2
cd "$3" || exit 1
dir=$(pwd -P)

run() {
  printf '$ vemrafmt %s\n' "$*"
  { "$program" "$@" 2> /dev/null; printf '[status %d]\n' $?; } | sed "s|$dir|DIR|g"
}

# No project settings file above the folder takes part.
printf 'root = true\n' > .editorconfig
mkdir -p src/lib
cp "$examples/messy.vem" src/a.vem
cp "$examples/loops.vem" src/lib/b.vem
cp "$examples/shapes.formatted.vem" src/c.vem

run
run -tabs=1 -x=1 - -TabWidth=4
run -check=1 src/a.vem
run -diff=1 src/a.vem
run -check=1 src/a.vem src/c.vem
run src/a.vem
run -tabwidth=4 -tabs=1 -extralines=1 src/lib/b.vem out.vem
run -check=1 -files=1 -ext=vem src
run -diff=1 -files=1 src
run -files=1 -jobs=1 src missing.vem
run missing.vem
run -tabwidth=wide src/a.vem -tabs=1
run src/a.vem src/lib/b.vem src/c.vem
run src/a.vem no/such/folder/out.vem
run -jobs=0 -files=1 src
