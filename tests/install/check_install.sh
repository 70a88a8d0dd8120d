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

# A prefix that the install creates, named with bytes a shell or CMake could misread.
prefix="$tmp/p sp\$x\"q'[y]"
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
# Without it, where there is no dicionario.txt, standard error names it as a command that,
# pasted into a shell, plays from it.
(cd "$elsewhere" && "$bin/reader" < /dev/null > /dev/null 2> errors) && fail "reader without a dictionary"
hint="reader: to play from the complete dictionary: "
[ "$(wc -l < "$elsewhere/errors")" -eq 2 ] && command=$(sed -n 2p "$elsewhere/errors") &&
  [ "${command#"$hint"}" != "$command" ] || fail "reader does not name the installed dictionary: $(cat "$elsewhere/errors")"
replies=$(cd "$elsewhere" && printf 'b\nq\n' | PATH="$bin:$PATH" bash -c "${command#"$hint"}" | grep '^Busca')
[ "$replies" = 'Busca Dicionario - melhor jogada: 0 [indice buscado: 10597]' ] ||
  fail "the hint, ${command#"$hint"}, did not play when pasted into bash"
"$bin/reader" --help | grep -qF "${command#"$hint"reader }" || fail "reader --help does not name it"
# An installation without its dictionary names none, whatever lies where a build tree
# keeps one.
mv "$data/dicionario.txt" "$tmp/dicionario.txt"
printf '10597 4\n' > "$prefix/dicionario.txt"
(cd "$elsewhere" && "$bin/reader" < /dev/null > /dev/null 2> errors) && fail "reader without a dictionary"
[ "$(wc -l < "$elsewhere/errors")" -eq 1 ] || fail "reader named a dictionary not installed: $(cat "$elsewhere/errors")"
"$bin/reader" --help | grep -q 'No complete dictionary was found' ||
  fail "reader --help named a dictionary not installed"
rm "$prefix/dicionario.txt"
mv "$tmp/dicionario.txt" "$data/dicionario.txt"

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

# The uninstall target removes what the last install wrote and the folders it created, and
# nothing of the user's, whatever the paths hold: a fresh prefix goes entirely.
uninstall() { cmake --build "$tmp/build" --target uninstall > "$tmp/uninstall.log" 2>&1; }
install_into() { cmake --install "$tmp/build" --prefix "$1" > /dev/null; }
uninstall || fail "uninstall: $(cat "$tmp/uninstall.log")"
[ ! -e "$prefix" ] || fail "uninstall left $(find "$prefix")"
# A user's file, in a folder the install made and in the prefix ([ ] are no pattern).
install_into "$prefix"
echo mine > "$data/notes.txt"
echo mine > "$bin/my-own-script"
uninstall || fail "uninstall around a user's files: $(cat "$tmp/uninstall.log")"
[ "$(cd "$prefix" && find . | sort | tr '\n' ' ')" = ". ./bin ./bin/my-own-script ./share ./share/velha ./share/velha/notes.txt " ] ||
  fail "uninstall around a user's files left $(cd "$prefix" && find .)"
uninstall && fail "uninstall without an install record succeeded"
grep -q 'Nothing to uninstall' "$tmp/uninstall.log" || fail "uninstall did not say why it refused"
rm -rf "$prefix"

# attack NAME: the uninstall after what the caller set up must keep every file of the
# user's, each under $tmp/victim, with its bytes.
victim=$tmp/victim
attack() {
  local name=$1 expect=$2 status=0
  uninstall || status=$?
  [ "$(cat "$victim/dicionario.txt" "$victim/x" "$tmp/userfile" 2> /dev/null)" = "v1
v2
u" ] || fail "$name: uninstall removed a file of the user's: $(cat "$tmp/uninstall.log")"
  if [ "$expect" = refuses ]; then
    [ "$status" -ne 0 ] || fail "$name: uninstall kept entries but ended with status 0"
    grep -q 'Kept ' "$tmp/uninstall.log" || fail "$name: uninstall did not name what it kept"
  else
    [ "$status" -eq 0 ] || fail "$name: uninstall failed: $(cat "$tmp/uninstall.log")"
  fi
}
mkdir -p "$victim"
echo v1 > "$victim/dicionario.txt"
echo v2 > "$victim/x"
echo u > "$tmp/userfile"
# A folder of the install replaced by a link to a folder of the user's.
install_into "$tmp/linked"
rm -r "$tmp/linked/share/velha"
ln -s "$victim" "$tmp/linked/share/velha"
attack "folder replaced by a link" refuses
rm -rf "$tmp/linked" "$tmp/build/install_record.txt"
# A prefix holding ';' and a line end, which a list or a line-by-line record would split.
mkdir "$tmp/emptydir"
install_into "$tmp/userfile;$tmp/emptydir
"
attack "prefix with ; and a line end" removes
# The folders the install made on the way to the prefix go with it.
[ ! -e "$tmp/userfile;" ] && [ -d "$tmp/emptydir" ] ||
  fail "prefix with ; and a line end: a folder of the install is left, or one of the user's went"
# Entries of the record that point outside the prefix, with the bytes of the file named.
install_into "$tmp/fresh"
record=$tmp/build/install_record.txt
hash=$(sha256sum < "$victim/x" | cut -d' ' -f1)
{
  sed '/^root$/,$d' "$record"
  for entry in "$victim/x" "../victim/x" "x" "share/../../victim/x"; do
    echo "file $hash $entry"
  done
  sed -n '/^root$/,$p' "$record"
} > "$tmp/tampered"
mv "$tmp/tampered" "$record"
attack "entries outside the prefix" refuses
[ ! -e "$tmp/fresh" ] ||
  fail "entries outside the prefix: the install's own files were not removed"
rm -rf "$tmp/fresh" "$tmp/build/install_record.txt"
# Two installs: the uninstall removes the last one's, a partial one included.
install_into "$tmp/first"
cmake --install "$tmp/build" --prefix "$tmp/second" --component programs > /dev/null
attack "a partial install after another" removes
[ ! -e "$tmp/second" ] && [ -x "$tmp/first/bin/reader" ] ||
  fail "the uninstall did not remove the last install, a partial one"

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
