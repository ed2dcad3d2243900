#!/bin/bash
# quelor --help, quelor SUBCOMMAND --help and quelor --version: stdout, exit 0;
# each subcommand's help has its usage, one explained line per option and an
# example of the subcommand itself.
set -u
: "${QUELOR:?path of the quelor tool}"
: "${SOURCE_DIR:?source tree}"
failures=0
tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

out=$("$QUELOR" --help 2>/dev/null) || fail "--help exit $?"
subcommands=$(sed -n '/^subcommands:/,$p' <<<"$out" | awk 'NR > 1 {print $1}')
[ "$(wc -w <<<"$subcommands")" -ge 8 ] || fail "--help lists: $subcommands"
for s in $subcommands; do
  for flag in --help -h; do
    help=$("$QUELOR" "$s" $flag 2>"$tmp") || fail "$s $flag exit $?"
    [ -s "$tmp" ] && fail "$s $flag wrote to stderr"
    grep -q "^usage: quelor $s" <<<"$help" || fail "$s $flag: no usage line"
    grep -q "^example: quelor $s " <<<"$help" || fail "$s $flag: no example"
  done
  # Every option the usage names is explained on a line of its own.
  for option in $(grep -o -- '--[a-z][a-z0-9-]*' <<<"$(sed -n '/^usage:/,/^[^ u]/p' <<<"$help")" | sort -u); do
    [ "$option" = --help ] && continue
    grep -Eq -- "^  $option( [A-Z]|  )[^ ].*|^  $option +[^ ]" <<<"$help" || fail "$s: $option not explained"
  done
done
# --help after other options still answers with the help.
"$QUELOR" export no-such-file --format csv --help | grep -q '^usage: quelor export' || fail "late --help"

version=$("$QUELOR" --version) || fail "--version exit $?"
grep -Eq '^quelor [^ ]+$' <<<"$version" || fail "--version: $version"
if commit=$(git -C "$SOURCE_DIR" rev-parse HEAD 2>/dev/null); then
  grep -qx "commit $commit" <<<"$version" || fail "--version commit: $version, HEAD $commit"
fi

"$QUELOR" --no-such-option >/dev/null 2>&1 && fail "unknown option accepted"
[ "$failures" -eq 0 ] && echo "help: all passed"
exit "$failures"
