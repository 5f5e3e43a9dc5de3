#!/bin/sh
# A real editor as the language server's client: headless Neovim formats a
# file through the server, and the saved bytes must equal what the command
# line makes of the file; a range format must change only its lines.
#   neovim_test.sh VEMRAFMT SOURCE_DIR
# Skipped (status 77) where nvim is missing.
set -u
program=$1
source_dir=$2
if ! command -v nvim >/dev/null 2>&1; then
  echo "nvim not found: install Debian's neovim (.ci/install-deps tests) to run this test"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'root = true\n[*.vem]\nend_of_line = lf\n' > "$work/.editorconfig"
cat > "$work/original.vem" <<'VEM'
// A program with messy indentation and spacing.
proc   Parse ( text$ , pos% )
local  c$,   state=0
  while pos%<=Len( text$ )
        c$=Mid$(text$,pos%,1)
 if c$ = "é" or c$=" "
pos% ++
    end


  end
     end
VEM

status=0
# Runs Neovim on a copy of the original and compares what it saved with the
# command line's result for the same range.
check() {
  name=$1
  range=$2
  shift 2
  cp "$work/original.vem" "$work/$name.vem"
  "$program" -stdin=1 -filename="$work/$name.vem" "$@" < "$work/original.vem" > "$work/$name.expected" 2>/dev/null
  VEMRAFMT=$program VEM_FILE=$work/$name.vem VEM_RANGE=$range \
    timeout 120 nvim --headless --clean -n -c "luafile $source_dir/tests/lsp/neovim_format.lua" \
    > "$work/$name.log" 2>&1
  nvim_status=$?
  if [ $nvim_status -ne 0 ]; then
    echo "FAIL $name: nvim ended with status $nvim_status"
    cat "$work/$name.log"
    status=1
  elif ! cmp -s "$work/$name.vem" "$work/$name.expected"; then
    echo "FAIL $name: the saved file differs from the command line's result"
    diff "$work/$name.expected" "$work/$name.vem" | head -20
    status=1
  else
    echo "ok $name"
  fi
}

check whole ""
check range 3:5 -lines=3:5
# The range format changed something, and not every line.
if cmp -s "$work/range.vem" "$work/original.vem" || cmp -s "$work/range.vem" "$work/whole.vem"; then
  echo "FAIL range: the range format should change some lines and not others"
  status=1
fi
exit $status
