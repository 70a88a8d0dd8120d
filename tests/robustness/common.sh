# Shared by the robustness scripts, each of which runs a program the way a person or a
# shell could abuse it and fails on the first surprise. Sourced with the program and a
# scratch folder as arguments. TARGET_SYSTEM, in the environment, is the system the
# program was built for (CMake's name for it: Linux, Windows...).
set -uo pipefail

program=$1
scratch=$2
target_system=${TARGET_SYSTEM:-Linux}
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

# expect_reason CASE WHAT: a program that ends with a failure says why, in one line on
# standard error: its name, what failed and the system's reason (whose words vary by
# system). Never "Invalid argument", which is what Windows' C library says for the
# system's errors it has no name for.
expect_reason() {
  local name
  name=$(basename "$program" .exe)
  [[ $(wc -l < errors) == 1 ]] && grep -qE "^$name: $2: .+" errors &&
    ! grep -q ': Invalid argument$' errors ||
    fail "$1: expected one line '$name: $2: <the system's reason>' on standard error, got:
$(head -c 2000 errors)"
}
