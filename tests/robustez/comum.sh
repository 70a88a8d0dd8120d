# Shared by the robustness scripts, each of which runs a program the way a person or a
# shell could abuse it and fails on the first surprise. Sourced with the program and a
# scratch folder as arguments.
set -uo pipefail

program=$1
scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch" && cd "$scratch" || exit 1
# reader needs a dictionary to start; the other programs never look for one.
: > dicionario.txt

# Long enough for a sanitizer build, short enough that a hang fails the test quickly.
limit=60

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# expect_status CASE EXPECTED ACTUAL
expect_status() {
  [[ $3 == "$2" ]] || fail "$1: exit status $3, expected $2"
}

# A sanitizer report, or any other complaint, goes to standard error, kept in `errors`.
expect_no_report() {
  [[ ! -s errors ]] || fail "$1: standard error is not empty:
$(head -c 2000 errors)"
}
