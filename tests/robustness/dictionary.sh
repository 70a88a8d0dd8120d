#!/usr/bin/env bash
# reader with dictionary files that are large, endless, or that exist but cannot be read.
#
# dictionary.sh READER SCRATCH
source "$(dirname "$0")/common.sh"

# 10 MiB of one valid line repeated, then one more rule for the same key: the last wins.
yes '10597 4' | head -n $((10 * 1024 * 1024 / 8)) > dicionario.txt
printf '10597 0\n' >> dicionario.txt
printf 'b\nq\n' | timeout $limit "$program" > output 2> errors
expect_status "10 MB dictionary" 0 $?
expect_no_report "10 MB dictionary"
grep -qxF 'Busca Dicionario - melhor jogada: 0 [indice buscado: 10597]' output ||
  fail "10 MB dictionary: the last rule did not win"

# The usual dicionario.txt must be a regular file: a folder, and a FIFO with no writer
# (which would make a plain open wait for ever), are refused at once. One that opens but
# cannot be read is refused at its first read (EIO).
printf "Nao foi possivel abrir o arquivo de jogadas 'dicionario.txt'.\n" > expected
for kind in folder fifo memory; do
  rm -rf dicionario.txt
  case $kind in
    folder) mkdir dicionario.txt ;;
    # (Windows has no FIFOs; node, which runs the web build here, opens only by waiting.)
    fifo) [[ $target_system == Windows || $target_system == Emscripten ]] && continue
      mkfifo dicionario.txt ;;
    memory) ln -s /proc/self/mem dicionario.txt ;;
  esac
  printf 'q\n' | timeout 5 "$program" > output 2> errors
  expect_status "unreadable dictionary ($kind)" 1 $?
  expect_reason "unreadable dictionary ($kind)" dicionario.txt
  cmp -s output expected || fail "unreadable dictionary ($kind): $(cat output)"
done

# A file named on the command line is read whatever it is: a pipe, and endless bytes
# that are no dictionary, refused at the first, at once.
rm -rf dicionario.txt
if [[ $target_system != Windows ]]; then
  printf 'b\nq\n' | "$program" <(printf '10597 4\n') > output 2> errors
  grep -qxF 'Busca Dicionario - melhor jogada: 4 [indice buscado: 10597]' output ||
    fail "a dictionary from a pipe: $(cat output errors)"
fi
printf "Arquivo de jogadas '/dev/zero' invalido na linha 1.\n" > expected
printf 'q\n' | timeout 5 "$program" /dev/zero > output 2> errors
expect_status "/dev/zero as the dictionary" 1 $?
cmp -s output expected || fail "/dev/zero as the dictionary: $(cat output)"

# No dictionary and no file named: the reason, then this build's complete dictionary as a
# command for each shell (Windows: PowerShell, then cmd), which plays. The command names
# the program as it was started; where that is this program, the command is pasted into
# bash, else (an emulator runs it) the path it names is given to this program.
rm -rf dicionario.txt
"$program" < /dev/null > output 2> errors
expect_status "no dictionary" 1 $?
hint="reader: to play from the complete dictionary"
prefixes=("$hint: ")
[[ $target_system == Windows ]] && prefixes=("$hint, in PowerShell: & " "$hint, in cmd: ")
[[ $(wc -l < errors) == $((1 + ${#prefixes[@]})) ]] || fail "no dictionary: not one hint a shell: $(cat errors)"
for i in "${!prefixes[@]}"; do
  [[ $(sed -n "$((i + 2))p" errors) == "${prefixes[i]}"* ]] || fail "no dictionary: no hint for ${prefixes[i]}: $(cat errors)"
done
command=$(tail -n 1 errors)
command=${command#*: *: }
if [[ $target_system == Windows ]]; then
  # cmd's words: the path is the last one, in double quotes when it needs them.
  [[ $command == *'"' ]] && path=${command%'"'} && path=${path##*'"'} || path=${command##* }
  printf 'b\nq\n' | "$program" "$path" > output 2> errors
else
  eval "set -- $command"
  if [[ $1 == "$program" ]]; then
    printf 'b\nq\n' | bash -c "$command" > output 2> errors
  else
    printf 'b\nq\n' | "$program" "$2" > output 2> errors
  fi
fi
grep -qxF 'Busca Dicionario - melhor jogada: 0 [indice buscado: 10597]' output ||
  fail "the hint, $command, did not play"

# Each reason on standard error is the one for its case: the system's words for a file that
# is missing (on Linux, whose words are known), the line for one that is no dictionary, and
# how to save again a file a Windows editor wrote with a byte-order mark.
# expect_errors CASE EXPECTED: standard error is exactly EXPECTED.
expect_errors() {
  [[ $(cat errors) == "$2" ]] || fail "$1: standard error is not '$2' but:
$(head -c 2000 errors)"
}
name=$(basename "$program" .exe)
if [[ $target_system != Windows ]]; then
  "$program" missing.txt < /dev/null > output 2> errors
  expect_errors "a missing file" "$name: missing.txt: No such file or directory"
fi
printf 'x\n' > invalid.txt
"$program" invalid.txt < /dev/null > output 2> errors
expect_errors "an invalid file" "$name: invalid.txt: not a dictionary (line 1)"
printf '\xef\xbb\xbf10597 0\n' > bom.txt
"$program" bom.txt < /dev/null > output 2> errors
expect_status "a UTF-8 file with a byte-order mark" 1 $?
expect_errors "a UTF-8 file with a byte-order mark" "$name: bom.txt: not a dictionary (line 1): it begins with a UTF-8 byte-order mark; save it as plain text (UTF-8 without BOM)"
# UTF-16 with a mark, and without one in either byte order.
for utf16 in '\xff\xfe1\x000\x005\x009\x007\x00 \x000\x00\r\x00\n\x00' \
  '1\x000\x005\x009\x007\x00 \x000\x00\r\x00\n\x00' '\x001\x000\x005\x009\x007\x00 \x000\x00\n'; do
  printf "$utf16" > utf16.txt
  "$program" utf16.txt < /dev/null > output 2> errors
  expect_status "a UTF-16 file" 1 $?
  expect_errors "a UTF-16 file" "$name: utf16.txt: not a dictionary (line 1): it is UTF-16 text; save it as plain text (in PowerShell: ... | Out-File -Encoding ascii FILE)"
done

# With standard input closed, the dictionary is opened as descriptor 0, loaded, and closed
# again: the command loop then finds no standard input and says so. (node, which runs the
# web build, opens /dev/null in place of a closed standard stream.)
if [[ $target_system != Windows && $target_system != Emscripten ]]; then
  printf '10597 0\n' > small.txt
  "$program" small.txt <&- > output 2> errors
  expect_status "standard input closed" 1 $?
  expect_reason "standard input closed" "standard input"
  if grep -q '^Nao foi' output; then fail "standard input closed: the dictionary was not loaded"; fi
fi
