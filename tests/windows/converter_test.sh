#!/usr/bin/env bash
# Runs the Windows converter under Wine against the Linux one and wants the same bytes and exit
# status: each corpus both ways in both encodings through named files and through pipes, and
# -check and -inplace over a tree with non-ASCII names. Usage:
#   tests/windows/converter_test.sh LINUX_BUILD WINDOWS_BUILD
# Wine's prefix and locale come from the caller. Prints "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
linux=$(realpath "$1")/src/cli/propdesk-native2ascii
windows=$(realpath "$2")/src/cli/propdesk-native2ascii.exe
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
passed=0
failed=0

# expect NAME LINUX_STATUS WINDOWS_STATUS FILE_FROM_LINUX FILE_FROM_WINDOWS
expect() {
  if [[ $2 == "$3" ]] && cmp -s "$4" "$5"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $1 (exit $2 on Linux, $3 on Windows)" >&2
    cmp "$4" "$5" >&2
  fi
}

python3 "$root/bench/make_corpus.py" --out corpus --megabytes 1 >/dev/null
cp "$root"/tests/data/*.properties "$root"/examples/*.properties corpus/
printf 'a=\\u65E5\\u672C\r\nb=\\\\u0041 \\u00e9\nc=caf\xc3\xa9\n' >corpus/mixed-ends-utf8.properties
printf '\xef\xbb\xbfk=\\u3042\n' >corpus/bom.properties

for input in corpus/*; do
  for options in "" "-reverse" "-encoding UTF-8" "-reverse -encoding UTF-8" "-reverse -keepsyntax"; do
    name="$options ${input#corpus/}"
    # shellcheck disable=SC2086 # the options are separate words
    "$linux" $options "$input" linux.out 2>/dev/null
    linuxStatus=$?
    # shellcheck disable=SC2086
    wine "$windows" $options "$input" windows.out 2>/dev/null
    expect "$name (files)" "$linuxStatus" $? linux.out windows.out
    # shellcheck disable=SC2086
    "$linux" $options <"$input" >linux.out 2>/dev/null
    linuxStatus=$?
    # shellcheck disable=SC2086
    wine "$windows" $options <"$input" >windows.out 2>/dev/null
    expect "$name (pipes)" "$linuxStatus" $? linux.out windows.out
  done
done

# The same tree for each converter; names in several scripts, one with 0x5C as a trail byte in
# code page 932 (ソ).
make_tree() {
  mkdir -p "$1/café/深い" "$1/ソ表"
  printf 'a=\\u65e5\n' >"$1/日本.properties"
  printf 'b=\x93\xfa\r\n' >"$1/café/深い/ネイティブ.properties"
  printf 'c=\\u65e5 \x96\x7b\n' >"$1/ソ表/混在.properties"
  printf '\x93\xfa' >"$1/ソ表/メモ.txt"
}
for side in linux windows; do make_tree "$side-tree"; done
"$linux" -check linux-tree >linux.out 2>/dev/null
linuxStatus=$?
wine "$windows" -check windows-tree >windows.raw 2>/dev/null
windowsStatus=$?
# The Windows converter may join names with a backslash.
sed 's|^windows-tree|linux-tree|; s|\\|/|g' windows.raw | sort >windows.out
sort -o linux.out linux.out
expect "-check on a tree" "$linuxStatus" "$windowsStatus" linux.out windows.out
"$linux" -inplace linux-tree -include '*.properties' -include '*.txt' 2>/dev/null
linuxStatus=$?
wine "$windows" -inplace windows-tree -include '*.properties' -include '*.txt' 2>/dev/null
windowsStatus=$?
diff -r linux-tree windows-tree >tree.diff
expect "-inplace on a tree" "$linuxStatus" "$windowsStatus" tree.diff /dev/null

# A failure is reported with a reason a person can read, and leaves the output alone.
printf 'old' >kept
wine "$windows" missing-input kept 2>reason.txt
windowsStatus=$?
printf 'old' >expected-kept
expect "a missing input" 1 "$windowsStatus" expected-kept kept
grep -q "cannot read 'missing-input': ." reason.txt || { failed=$((failed + 1)); echo "FAIL: reason: $(cat reason.txt)" >&2; }

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
