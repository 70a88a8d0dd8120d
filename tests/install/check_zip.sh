#!/usr/bin/env bash
# Packs the Windows build's ZIP, checks that it holds the programs, the complete
# dictionary, the licence and the read-me (with CRLF line ends), and plays reader from the
# unpacked folder, where it finds the dictionary beside it.
#
# check_zip.sh BUILD_DIR SCRATCH [EMULATOR...], EMULATOR being the command that runs a
# Windows program here (wine).
set -euo pipefail
build=$1
scratch=$2
shift 2
emulator=("$@")

fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$scratch" && mkdir -p "$scratch"
(cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -G ZIP -B "$scratch/package" > cpack.log) ||
  { cat "$scratch/cpack.log"; fail "cpack"; }
zip=$(ls "$scratch"/package/*.zip)
(cd "$scratch" && cmake -E tar xf "$zip")
folder=$scratch/$(basename "$zip" .zip)
for file in seeker.exe scribe.exe reader.exe dicionario.txt LICENSE.txt README.txt; do
  [ -f "$folder/$file" ] || fail "$file is not in $(basename "$zip")"
done
[ "$(wc -l < "$folder/dicionario.txt")" -eq 4520 ] || fail "the dictionary is not the complete one"
for text in LICENSE.txt README.txt; do
  [ "$(grep -c $'\r$' "$folder/$text")" -eq "$(wc -l < "$folder/$text")" ] ||
    fail "$text has line ends that are not CRLF"
done

# The unpacked reader.exe, started in its own folder, as a double-click starts it.
# The output is read whole before it is searched: grep -q would stop reading at the
# line it seeks, and a program still writing would then fail the pipeline.
(cd "$folder" && printf 'b\nq\n' | "${emulator[@]}" ./reader.exe > "$scratch/played") &&
  grep -qx 'Busca Dicionario - melhor jogada: 0 \[indice buscado: 10597\]' "$scratch/played" ||
  fail "reader.exe did not play from the dictionary beside it"
# Copied to a folder named with characters of no single ANSI code page and started from
# another folder, reader.exe names its own dictionary as a command, which loads it.
unicode="$scratch/João 学生"
cp -r "$folder" "$unicode"
(cd "$scratch" && LC_ALL=C.UTF-8 "${emulator[@]}" "$unicode/reader.exe" < /dev/null > output 2> errors) &&
  fail "reader.exe without a dictionary"
hint='reader: to play from the complete dictionary'
[ "$(wc -l < "$scratch/errors")" -eq 3 ] &&
  grep -q "^$hint, in PowerShell: & '.*' '.*'\$" "$scratch/errors" ||
  fail "reader.exe in $unicode named no dictionary for PowerShell: $(cat "$scratch/errors")"
# The cmd line, its words as cmd.exe reads them: the program as started, then the path.
named=$(sed -n 3p "$scratch/errors")
[ "${named#"$hint, in cmd: "}" != "$named" ] || fail "reader.exe in $unicode named no dictionary for cmd: $named"
eval "set -- ${named#"$hint, in cmd: "}"
named=$2
[ "$(LC_ALL=C.UTF-8 winepath -u "$named")" -ef "$unicode/dicionario.txt" ] ||
  fail "reader.exe in $unicode named $named"
(cd "$scratch" && printf 'b\nq\n' | LC_ALL=C.UTF-8 "${emulator[@]}" "$unicode/reader.exe" "$named" > played) &&
  grep -qx 'Busca Dicionario - melhor jogada: 0 \[indice buscado: 10597\]' "$scratch/played" ||
  fail "reader.exe did not load $named"
# In a folder whose name PowerShell or cmd would run code from, each shell gets its hint
# only where that shell reads it as it is: PowerShell's in single quotes, cmd's in double
# quotes, and none for cmd where a % or a ! would expand.
for name in 'x$(Start-Process calc)y' 'x%PATH%!y!'; do
  rm -rf "${scratch:?}/$name" && cp -r "$folder" "$scratch/$name"
  (cd "$scratch" && "${emulator[@]}" "$scratch/$name/reader.exe" < /dev/null > output 2> errors) &&
    fail "reader.exe without a dictionary"
  powershell=$(grep "^$hint, in PowerShell: & '" "$scratch/errors") &&
    [[ $powershell == *"\\$name\\reader.exe' '"*"\\$name\\dicionario.txt'" ]] ||
    fail "no PowerShell hint in single quotes for $name: $(cat "$scratch/errors")"
  cmd=$(grep "^$hint, in cmd: " "$scratch/errors") || cmd=""
  case $name in
    *%*) [[ -z $cmd ]] || fail "a cmd hint for $name: $cmd" ;;
    *) [[ $cmd == *"\\$name\\dicionario.txt\"" ]] || fail "no cmd hint in double quotes for $name: $cmd" ;;
  esac
done
echo "ZIP: ok"
