#!/usr/bin/env bash
# Builds the project afresh in a folder of its own, installs it into a prefix there, plays
# a short session with each installed program, renders the manual pages, uninstalls, and
# builds, lists and lints the Debian package. Nothing of the build tree under test is touched:
# its install manifest stays whatever its user's last install wrote.
#
# check_install.sh SOURCE_DIR [cmake configure arguments...]
set -euo pipefail
source=$1
shift

fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in groff man dpkg-deb dpkg-shlibdeps file gzip; do
  command -v "$tool" > /dev/null || fail "$tool is not installed, and this test needs it"
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# With BUILD_SHARED_LIBS=ON, as a packager may configure it: the project's libraries are
# static whatever it says, so the installed programs still need nothing from the build.
cmake -S "$source" -B "$tmp/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DVELHA_BENCH=OFF -DBUILD_SHARED_LIBS=ON "$@" > "$tmp/configure.log" ||
  { cat "$tmp/configure.log"; fail "configure"; }
cmake --build "$tmp/build" > "$tmp/build.log" || { tail -n 40 "$tmp/build.log"; fail "build"; }

prefix=$tmp/prefix
cmake --install "$tmp/build" --prefix "$prefix" > /dev/null
bin=$prefix/bin
data=$prefix/share/velha
for program in seeker scribe reader; do
  [ -x "$bin/$program" ] || fail "$program is not installed in bin/"
done

printf 'b\nq\n' | "$bin/seeker" | grep -qx 'Busca Max Min - melhor jogada: 0 \[empate estimado\]' ||
  fail "installed seeker did not play"
[ "$(printf 'b\ni\nq\n' | "$bin/scribe" | wc -l)" -eq 2423 ] || fail "installed scribe listing"
[ "$(wc -l < "$data/dicionario.txt")" -eq 4520 ] || fail "installed dictionary"
# From any folder, with the installed dictionary's path: both sides play from it.
elsewhere=$tmp/elsewhere
mkdir -p "$elsewhere"
replies=$(cd "$elsewhere" && printf 'b\nb\nq\n' | "$bin/reader" "$data/dicionario.txt" | grep '^Busca')
[ "$replies" = 'Busca Dicionario - melhor jogada: 0 [indice buscado: 10597]
Busca Dicionario - melhor jogada: 4 [indice buscado: 10606]' ] ||
  fail "installed reader did not play both sides from the installed dictionary: $replies"
# Without it, where there is no dicionario.txt, standard error names it as a command.
(cd "$elsewhere" && "$bin/reader" < /dev/null > /dev/null 2> errors) && fail "reader without a dictionary"
grep -qxF "reader: to play from the complete dictionary: reader $data/dicionario.txt" \
  "$elsewhere/errors" || fail "reader does not name the installed dictionary: $(cat "$elsewhere/errors")"
"$bin/reader" --help | grep -qF "$data/dicionario.txt" || fail "reader --help does not name it"

for page in seeker scribe reader; do
  file=$prefix/share/man/man6/$page.6.gz
  [ -f "$file" ] || fail "manual page $page.6.gz is not installed"
  warnings=$(gzip -dc "$file" | groff -ww -z -man 2>&1)
  [ -z "$warnings" ] || fail "$page.6: $warnings"
  rendered=$(MANWIDTH=80 man -l "$file" 2>&1)
  grep -q '^NAME' <<< "$rendered" || fail "$page.6 does not render"
  grep -q '@' <<< "$rendered" && fail "$page.6 has an unconfigured @...@"
done
MANWIDTH=200 man -l "$prefix/share/man/man6/reader.6.gz" | grep -qF "$data/dicionario.txt" ||
  fail "reader.6 does not name the installed dictionary, $data/dicionario.txt"
grep -q '^License: Expat' "$prefix/share/doc/velha/copyright" || fail "copyright file"
gzip -dc "$prefix/share/doc/velha/changelog.gz" | head -n 1 | grep -q '^velha (' || fail "changelog"

# The uninstall target removes the install and the folders it made, and no more: a fresh
# prefix is left empty, and a file of the user's stays, with the folders that hold it.
cmake --build "$tmp/build" --target uninstall > /dev/null || fail "uninstall"
[ -z "$(find "$prefix" -mindepth 1)" ] || fail "uninstall left $(find "$prefix" -mindepth 1)"
cmake --install "$tmp/build" --prefix "$prefix" > /dev/null
echo mine > "$data/notes.txt"
cmake --build "$tmp/build" --target uninstall > /dev/null || fail "uninstall"
[ "$(find "$prefix" -mindepth 1)" = "$prefix/share
$prefix/share/velha
$prefix/share/velha/notes.txt" ] || fail "uninstall around a user's file left $(find "$prefix" -mindepth 1)"
cmake --build "$tmp/build" --target uninstall > "$tmp/again.log" 2>&1 &&
  fail "uninstall without an install record succeeded"
grep -q 'Nothing to uninstall' "$tmp/again.log" || fail "uninstall did not say why it refused"

(cd "$tmp" && cpack --config "$tmp/build/CPackConfig.cmake" -B "$tmp/package" > /dev/null)
deb=$(ls "$tmp"/package/*.deb)
contents=$(dpkg-deb -c "$deb")
for path in ./usr/games/seeker ./usr/games/scribe ./usr/games/reader \
  ./usr/share/man/man6/seeker.6.gz ./usr/share/man/man6/scribe.6.gz \
  ./usr/share/man/man6/reader.6.gz ./usr/share/velha/dicionario.txt \
  ./usr/share/doc/velha/copyright ./usr/share/doc/velha/changelog.gz; do
  grep -q " $path\$" <<< "$contents" || fail "$path is not in the package"
done
grep -q ' ./usr/bin/' <<< "$contents" && fail "the package has programs outside /usr/games"
dpkg-deb -f "$deb" Depends | grep -q libc6 || fail "package dependencies were not computed"
# The package's reader, unpacked, finds the package's dictionary from its own folder.
dpkg-deb -x "$deb" "$tmp/unpacked"
(cd "$elsewhere" && "$tmp/unpacked/usr/games/reader" < /dev/null > /dev/null 2> errors) &&
  fail "the package's reader without a dictionary"
grep -qxF "reader: to play from the complete dictionary: reader $tmp/unpacked/usr/share/velha/dicionario.txt" \
  "$elsewhere/errors" || fail "the package's reader does not name the package's dictionary"

if command -v lintian > /dev/null; then
  # As root lintian says it should not run as root; that notice is not about the package.
  report=$(lintian "$deb" 2>&1 | grep -v 'running with root privileges' || true)
  grep -E '^[EW]: ' <<< "$report" && fail "lintian: errors or warnings in the package"
else
  echo "lintian is not installed: the package was not linted"
fi
echo "installed programs, manual pages and package: ok"
