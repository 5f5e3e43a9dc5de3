#!/bin/sh
# Ctrl-C during a save of the Windows program: the run's new file goes and
# the file keeps its old bytes; during a write in place the run finishes
# the file and removes its backup first. wine turns SIGINT into the
# console's Ctrl-C, which a Windows process alone cannot send here (wine
# gives no console to generate it for).
#
#   sh tests/windows_interrupt_test.sh RUNNER PREFIX PROGRAM
set -eu
runner=$1
prefix=$2
program=$3
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Runs the program on f.vem, sends SIGINT as soon as a name matching the
# pattern appears beside it, and waits for it; fails when none appears
# within a minute.
interrupt_save() {
  "$runner" "$prefix" "$program" "Z:$folder/f.vem" > "$folder/console" 2>&1 &
  run=$!
  waited=0
  until ls -a "$folder" | grep -q -e "$1"; do
    waited=$((waited + 1))
    [ "$waited" -lt 12000 ] || fail "no new file appeared: $(cat "$folder/console")"
    sleep 0.005
  done
  kill -INT "$run"
  wait "$run" || true
}

# 60 MB, so that the save takes long enough to be interrupted.
yes 'x=1' | head -n 15000000 > "$folder/f.vem"
cp "$folder/f.vem" "$folder/old"

# Renamed into place, interrupted while the new file is written: the old
# bytes stay, and no new file is left.
interrupt_save '^\.vemrafmt-'
cmp -s "$folder/f.vem" "$folder/old" || fail "the file changed though the save was interrupted"
! ls -a "$folder" | grep -q '^\.vemrafmt-' || fail "a new file was left: $(ls -a "$folder")"

# In place (a second link), interrupted as the backup is put in place and
# the write over the file begins: the write is finished, the backup gone.
ln "$folder/f.vem" "$folder/g.vem"
interrupt_save '^f\.vem\.vemrafmt-backup$'
! ls -a "$folder" | grep -q -e '^\.vemrafmt-' -e '\.vemrafmt-backup$' ||
  fail "a new file or backup was left: $(ls -a "$folder")"
yes 'x = 1' | head -n 15000000 | sed 's/$/\r/' > "$folder/new"
cmp -s "$folder/f.vem" "$folder/new" || fail "the write in place was not finished"
echo "interrupted saves left nothing behind"
