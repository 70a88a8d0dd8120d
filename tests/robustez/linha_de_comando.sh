#!/usr/bin/env bash
# The command line: --help and --version answer and end the program, anything else is
# refused with one line on standard error and status 2. None of them starts a game, and
# reader never looks for its dictionary (there is none in the folder).
#
# linha_de_comando.sh PROGRAM SCRATCH VERSION
source "$(dirname "$0")/comum.sh"
version=$3
name=$(basename "$program")
rm -f dicionario.txt

"$program" --help < /dev/null > output 2> errors
expect_status "--help" 0 $?
expect_no_report "--help"
[[ $(head -n 1 output) == "Usage: $name [--help | --version]" ]] || fail "--help: $(head -n 1 output)"
grep -q 'Comandos validos' output && fail "--help started a game"

"$program" --version < /dev/null > output 2> errors
expect_status "--version" 0 $?
expect_no_report "--version"
[[ $(cat output) == "$name (velha) $version" ]] || fail "--version: $(cat output)"

# The argument named, after the one that may stand alone.
for args in "--bogus" "-h" "help" "--help extra" "--version --help" "--bogus --help"; do
  read -r -a words <<< "$args"
  named=${words[0]}
  [[ $named == --help || $named == --version ]] && named=${words[1]}
  "$program" "${words[@]}" < /dev/null > output 2> errors
  expect_status "$args" 2 $?
  [[ ! -s output ]] || fail "$args: standard output is not empty: $(head -c 200 output)"
  [[ $(wc -l < errors) == 1 ]] || fail "$args: not one line on standard error: $(head -c 500 errors)"
  grep -qF "'$named'" errors || fail "$args: '$named' is not named: $(cat errors)"
  grep -qF -- "--help" errors || fail "$args: --help is not pointed at: $(cat errors)"
done

# An answer that cannot be written is a failure, as in the game.
"$program" --help > /dev/full 2> errors
expect_status "--help to a full disk" 1 $?
