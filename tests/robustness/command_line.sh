#!/usr/bin/env bash
# The command line: --help and --version answer and end the program, reader takes the
# path of its dictionary, anything else is refused with one line on standard error and
# status 2. None of them starts a game, and reader never looks for its dictionary (there is
# none in the folder) unless given a path.
#
# command_line.sh PROGRAM SCRATCH VERSION
source "$(dirname "$0")/common.sh"
version=$3
name=$(basename "$program")
rm -f dicionario.txt

"$program" --help < /dev/null > output 2> errors
expect_status "--help" 0 $?
expect_no_report "--help"
usage="Usage: $name [--help | --version]"
[[ $name == seeker ]] && usage="Usage: seeker [--why]"
[[ $name == reader ]] && usage="Usage: reader [--why] [[--] FILE]"
[[ $(head -n 1 output) == "$usage" ]] || fail "--help: $(head -n 1 output)"
grep -q 'Comandos validos' output && fail "--help started a game"
# With standard input closed, as a service manager may start it. (node, which runs the web
# build, opens /dev/null in place of a closed standard stream.)
if [[ $target_system != Windows && $target_system != Emscripten ]]; then
  "$program" --help <&- > output 2> errors
  expect_status "--help without standard input" 0 $?
  [[ $(head -n 1 output) == "$usage" ]] || fail "--help without standard input: $(head -n 1 output)"
fi

"$program" --version < /dev/null > output 2> errors
expect_status "--version" 0 $?
expect_no_report "--version"
[[ $(cat output) == "$name (velha) $version" ]] || fail "--version: $(cat output)"

# Each case is "arguments|the argument the refusal names": the first that cannot be
# accepted, which is the one after an option that must stand alone, or after reader's file.
refused=("--bogus|--bogus" "-h|-h" "--help extra|extra" "--version --help|--help"
  "--bogus --help|--bogus" "-|-")
if [[ $name == reader ]]; then
  refused+=("one two|two" "-- one two|two" "one --help|--help" "--why -x|-x" "one --why|--why")
else
  refused+=("help|help" "--|--" "-- x|--")
fi
# --why comes before any file, and never with --help or --version.
if [[ $name == scribe ]]; then
  refused+=("--why|--why")
else
  refused+=("--help --why|--why" "--why --version|--version")
fi
for case in "${refused[@]}"; do
  args=${case%|*}
  named=${case#*|}
  read -r -a words <<< "$args"
  "$program" "${words[@]}" < /dev/null > output 2> errors
  expect_status "$args" 2 $?
  [[ ! -s output ]] || fail "$args: standard output is not empty: $(head -c 200 output)"
  [[ $(wc -l < errors) == 1 ]] || fail "$args: not one line on standard error: $(head -c 500 errors)"
  grep -qF "'$named'" errors || fail "$args: '$named' is not named: $(cat errors)"
  grep -qF -- "--help" errors || fail "$args: --help is not pointed at: $(cat errors)"
done

# --why said twice is said once, not refused (reader then finds no dictionary here).
if [[ $name != scribe ]]; then
  "$program" --why --why < /dev/null > output 2> errors
  [[ $? != 2 ]] || fail "--why --why was refused: $(cat errors)"
fi

# An answer that cannot be written is a failure, as in the game.
"$program" --help > /dev/full 2> errors
expect_status "--help to a full disk" 1 $?

# reader's file: named in its messages as given, a name that begins with '-' after "--".
if [[ $name == reader ]]; then
  for args in "-- -missing" "missing"; do
    read -r -a words <<< "$args"
    file=${words[-1]}
    "$program" "${words[@]}" < /dev/null > output 2> errors
    expect_status "reader $args" 1 $?
    [[ $(cat output) == "Nao foi possivel abrir o arquivo de jogadas '$file'." ]] ||
      fail "reader $args: $(cat output)"
    expect_reason "reader $args" "$file"
  done
fi
