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

printf 'b\nq\n' | "$bin/seeker" > "$tmp/played" &&
  grep -qx 'Busca Max Min - melhor jogada: 0 \[empate estimado\]' "$tmp/played" ||
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
# pasted into a shell, plays from it: with the program as it was started, by its path or
# by its name on PATH.
hint="reader: to play from the complete dictionary: "
for started in "$bin/reader" reader; do
  (cd "$elsewhere" && PATH="$bin:$PATH" "$started" < /dev/null > /dev/null 2> errors) && fail "reader without a dictionary"
  [ "$(wc -l < "$elsewhere/errors")" -eq 2 ] && command=$(sed -n 2p "$elsewhere/errors") &&
    [ "${command#"$hint"}" != "$command" ] || fail "reader does not name the installed dictionary: $(cat "$elsewhere/errors")"
  command=${command#"$hint"}
  (eval "set -- $command" && [ "$1" = "$started" ] && [ "$2" = "$data/dicionario.txt" ]) ||
    fail "the hint, $command, does not name $started and the installed dictionary"
  replies=$(cd "$elsewhere" && printf 'b\nq\n' | env PATH="$bin:$PATH" bash -c "$command" | grep '^Busca')
  [ "$replies" = 'Busca Dicionario - melhor jogada: 0 [indice buscado: 10597]' ] ||
    fail "the hint, $command, did not play when pasted into bash"
done
"$bin/reader" --help | grep -qF "${command#reader }" || fail "reader --help does not name it"
# Started by a path a shell would read as an assignment, it is named so that bash runs it;
# from folders that hold a character that shows as nothing (U+3164, U+FE0F, U+E0041,
# U+034F), no hint at all: what shows would not be what runs.
cp -R "$prefix" "$tmp/v=1"
(cd "$tmp" && "v=1/bin/reader" < /dev/null > /dev/null 2> "$elsewhere/errors") && fail "reader without a dictionary"
command=$(sed -n 2p "$elsewhere/errors")
command=${command#"$hint"}
replies=$(cd "$tmp" && printf 'b\nq\n' | bash -c "$command" 2>&1 | grep '^Busca')
[ "$replies" = 'Busca Dicionario - melhor jogada: 0 [indice buscado: 10597]' ] ||
  fail "the hint for v=1/bin/reader, $command, did not play in bash"
rm -rf "$tmp/v=1"
for invisible in '\xe3\x85\xa4' '\xef\xb8\x8f' '\xf3\xa0\x81\x81' '\xcd\x8f'; do
  folder=$tmp/$(printf "a${invisible}b")
  cp -R "$prefix" "$folder"
  "$folder/bin/reader" < /dev/null > /dev/null 2> "$elsewhere/errors" && fail "reader without a dictionary"
  [ "$(wc -l < "$elsewhere/errors")" -eq 1 ] || fail "a hint for a folder holding $invisible: $(cat "$elsewhere/errors")"
  rm -rf "$folder"
done
# An installation without its dictionary names none, whatever lies where a build tree
# keeps one, and neither does one with a folder in its place.
mv "$data/dicionario.txt" "$tmp/dicionario.txt"
printf '10597 4\n' > "$prefix/dicionario.txt"
for instead in nothing folder; do
  [ $instead = folder ] && mkdir "$data/dicionario.txt"
  (cd "$elsewhere" && "$bin/reader" < /dev/null > /dev/null 2> errors) && fail "reader without a dictionary"
  [ "$(wc -l < "$elsewhere/errors")" -eq 1 ] || fail "reader named a dictionary not installed: $(cat "$elsewhere/errors")"
  "$bin/reader" --help | grep -q 'No complete dictionary was found' ||
    fail "reader --help named a dictionary not installed"
done
rmdir "$data/dicionario.txt"
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

# The uninstall target removes what each install wrote and the folders it created, and
# nothing of the user's, whatever the paths hold: a fresh prefix goes entirely.
uninstall() { cmake --build "$tmp/build" --target uninstall > "$tmp/uninstall.log" 2>&1; }
install_into() { cmake --install "$tmp/build" --prefix "$@" > /dev/null; }
uninstall || fail "uninstall: $(cat "$tmp/uninstall.log")"
[ ! -e "$prefix" ] || fail "uninstall left $(find "$prefix")"
# A user's file, in a folder the install made and in the prefix ([ ] are no pattern).
install_into "$prefix"
echo mine > "$data/notes.txt"
echo mine > "$bin/my-own-script"
uninstall || fail "uninstall around a user's files: $(cat "$tmp/uninstall.log")"
[ "$(cd "$prefix" && find . | sort | tr '\n' ' ')" = ". ./bin ./bin/my-own-script ./share ./share/velha ./share/velha/notes.txt " ] ||
  fail "uninstall around a user's files left $(cd "$prefix" && find .)"
# A second uninstall finds nothing left, says so and ends well, as a second dpkg -r does.
uninstall || fail "a second uninstall failed: $(cat "$tmp/uninstall.log")"
grep -q 'Nothing to uninstall' "$tmp/uninstall.log" || fail "a second uninstall did not say there was nothing"
# Two uninstalls at once (both waiting for a lock held meanwhile): one removes, the other
# finds nothing left, and neither fails.
install_into "$tmp/twice"
flock "$tmp/build/install_records/lock" sleep 1 &
sleep 0.2
for i in 1 2; do "$tmp/build/bin/velha_install" uninstall --records "$tmp/build/install_records" > "$tmp/twice$i.log" 2>&1 & done
for job in $(jobs -p); do wait "$job" || fail "one of two uninstalls at once failed: $(cat "$tmp"/twice?.log)"; done
[ ! -e "$tmp/twice" ] || fail "two uninstalls at once left $(find "$tmp/twice")"
rm -rf "$prefix"

# The user's files, under $tmp/victim and in $tmp/userfile, with a byte-identical copy of
# an installed file among them: each attack must leave every one of them as it was.
victim=$tmp/victim
mkdir -p "$victim"
echo v2 > "$victim/x"
echo u > "$tmp/userfile"
install_into "$tmp/source-of-copies"
cp "$tmp/source-of-copies/share/velha/dicionario.txt" "$victim/dicionario.txt"
uninstall || fail "uninstall: $(cat "$tmp/uninstall.log")"
snapshot() { (cd "$tmp" && find victim userfile -exec sh -c 'printf "%s " "$1"; [ -f "$1" ] && cksum < "$1" || echo' sh {} \; | sort); }
users_files=$(snapshot)
# attack NAME removes|refuses: the uninstall after what the caller set up keeps every file
# of the user's; "refuses" when it must also name what it kept and fail.
attack() {
  local name=$1 expect=$2 status=0
  timeout 120 "$tmp/build/bin/velha_install" uninstall --records "$tmp/build/install_records" > "$tmp/uninstall.log" 2>&1 || status=$?
  [ "$status" -ne 124 ] || fail "$name: the uninstall hung"
  [ "$(snapshot)" = "$users_files" ] || fail "$name: uninstall changed a file of the user's: $(cat "$tmp/uninstall.log")"
  if [ "$expect" = refuses ]; then
    [ "$status" -ne 0 ] || fail "$name: uninstall kept entries but ended with status 0"
    grep -q 'Kept ' "$tmp/uninstall.log" || fail "$name: uninstall did not name what it kept"
    [ "$(wc -l < "$tmp/build/install_records/roots")" -gt 1 ] || fail "$name: the build forgot the install"
  else
    [ "$status" -eq 0 ] || fail "$name: uninstall failed: $(cat "$tmp/uninstall.log")"
  fi
}
records() { rm -rf "$tmp/build/install_records"; }
# A prefix holding ';' and a line end, which a list or a line-by-line record would split;
# the folders the install made on the way to it go with it, the user's empty one stays.
mkdir "$tmp/emptydir"
install_into "$tmp/userfile;$tmp/emptydir
"
attack "prefix with ; and a line end" removes
[ ! -e "$tmp/userfile;" ] && [ -d "$tmp/emptydir" ] ||
  fail "prefix with ; and a line end: a folder of the install is left, or one of the user's went"
# A relative prefix, and one that holds /_CPack_Packages/, are recorded and removed.
mkdir -p "$tmp/cwd/_CPack_Packages"
(cd "$tmp/cwd" && VELHA_PACKAGING=1 install_into relp && install_into "_CPack_Packages/x/p")
[ -f "$tmp/cwd/relp/share/velha/install-record" ] || fail "an install with VELHA_PACKAGING=1 in its environment was not recorded"
attack "relative and packaging-like prefixes" removes
[ -z "$(ls -A "$tmp/cwd/_CPack_Packages")" ] && [ ! -e "$tmp/cwd/relp" ] ||
  fail "a relative or packaging-like prefix was not removed: $(find "$tmp/cwd")"
# An install never writes over a file it did not write, and says which (its record aside,
# which a component installed before the refusal rewrites).
install_into "$tmp/taken"
echo edited >> "$tmp/taken/share/doc/velha/copyright"
mkdir -p "$tmp/taken2/bin" && echo '#!/bin/sh' > "$tmp/taken2/bin/reader"
for prefix_taken in taken taken2; do
  before=$(cd "$tmp/$prefix_taken" && find . -type f ! -name install-record -exec cksum {} + | sort)
  cmake --install "$tmp/build" --prefix "$tmp/$prefix_taken" > "$tmp/install.log" 2>&1 &&
    fail "an install wrote over a user's file in $prefix_taken"
  grep -q "$prefix_taken/.*: a file this project did not write" "$tmp/install.log" ||
    fail "an install over a user's file did not name it: $(cat "$tmp/install.log")"
  [ "$(cd "$tmp/$prefix_taken" && find . -type f ! -name install-record -exec cksum {} + | sort)" = "$before" ] ||
    fail "an install that refused changed files in $prefix_taken"
done
attack "the user's edit in an install, refused" refuses
[ "$(cat "$tmp/taken2/bin/reader")" = '#!/bin/sh' ] || fail "the user's reader"
# Asked to, with VELHA_INSTALL_OVERWRITE=1 and no other value, it writes over them.
VELHA_INSTALL_OVERWRITE=0 install_into "$tmp/taken2" 2> /dev/null && fail "VELHA_INSTALL_OVERWRITE=0 wrote over the user's reader"
VELHA_INSTALL_OVERWRITE=1 install_into "$tmp/taken2" && cmp -s "$tmp/build/bin/reader" "$tmp/taken2/bin/reader" ||
  fail "VELHA_INSTALL_OVERWRITE=1 did not replace the user's reader"
rm -rf "$tmp/taken" "$tmp/taken2"; records
# A backslash is a name's byte like any other; P, Q, then P again are each removed.
install_into "$tmp/back\\slash" --component data && [ -f "$tmp/back\\slash/share/velha/dicionario.txt" ] ||
  fail "an install into a path with a backslash"
install_into "$tmp/P" && install_into "$tmp/Q" && install_into "$tmp/P" --component programs
"$tmp/build/bin/velha_install" uninstall --records "$tmp/build/install_records" --prefix "$tmp/Q/" > "$tmp/uninstall.log" 2>&1 &&
  [ ! -e "$tmp/Q" ] && [ -x "$tmp/P/bin/reader" ] || fail "uninstalling Q alone: $(cat "$tmp/uninstall.log")"
attack "P, Q, then P again" removes
[ ! -e "$tmp/P" ] && [ ! -e "$tmp/Q" ] || fail "P, Q, P: $(find "$tmp/P" "$tmp/Q")"
# A file of the install copied over another: its bytes are recorded, but not at that path.
# One component's install records its own files alone: the user's dictionary where the
# data would go does not stop it.
mkdir -p "$tmp/P/share/velha" && echo mine > "$tmp/P/share/velha/dicionario.txt"
install_into "$tmp/P" --component programs || fail "a user's file of another component stopped an install"
[ "$(grep -c '^file ' "$tmp/P/share/velha/install-record")" -eq 3 ] || fail "one component recorded others' files"
rm "$tmp/P/share/velha/dicionario.txt"
cp "$tmp/P/bin/reader" "$tmp/P/bin/seeker"
install_into "$tmp/P" 2> "$tmp/install.log" && fail "an install wrote over a file copied from another of its files"
grep -q "bin/seeker: a file this project did not write" "$tmp/install.log" || fail "the copied file was not named"
attack "a file copied over another" refuses
rm -rf "$tmp/P"; records
# Stripped as installed, under umask 077 and through a prefix with "..", whose first
# folder does not exist; a DESTDIR install names the dictionary without DESTDIR; two
# components at once into one root; a share/ that was a link before the install (a
# dotfile manager's); and a stray record.new of an interrupted write: each undone by
# one uninstall, leaving only the user's own files, with folders 0755 and files 0644
# (0755 the programs).
(umask 077 && install_into "$tmp/q1/../q2" --strip)
[ ! -e "$tmp/q1" ] && [ -x "$tmp/q2/bin/reader" ] || fail "q1/../q2 was not installed into q2"
# A record cut short under its provisional name, as a killed install leaves it, is no
# hindrance to the next.
head -c 30 "$tmp/q2/share/velha/install-record" > "$tmp/q2/share/velha/install-record.new"
(umask 077 && install_into "$tmp/q2" --strip) || fail "a stray install-record.new stopped an install"
[ ! -e "$tmp/q2/share/velha/install-record.new" ] || fail "the stray install-record.new was left"
modes=$(cd "$tmp/q2" && find . -printf '%M %p\n' | sort -k2)
grep -Ev '^(drwxr-xr-x|-rw-r--r--) |^-rwxr-xr-x \./bin/' <<< "$modes" && fail "installed under umask 077 with these modes"
DESTDIR="$tmp/stage" cmake --install "$tmp/build" --prefix /opt/velha-test > /dev/null
gzip -dc "$tmp/stage/opt/velha-test/share/man/man6/reader.6.gz" | grep -q "^\.IR /opt/velha-test/share/velha/dicionario\.txt ,$" ||
  fail "a DESTDIR install's reader.6 does not name the dictionary where it will be"
for component in programs data; do install_into "$tmp/both" --component $component & done
wait
mkdir -p "$tmp/dotfiles/share" "$tmp/linkedshare"
ln -s "$tmp/dotfiles/share" "$tmp/linkedshare/share"
install_into "$tmp/linkedshare"
printf 'velha install rec' > "$tmp/both/share/velha/install-record.new"
attack "umask 077, q1/../q2, --strip, DESTDIR, two at once, a linked share/, a stray .new" removes
[ ! -e "$tmp/q2" ] && [ ! -e "$tmp/both" ] && [ ! -e "$tmp/stage" ] || fail "an install was left: $(cat "$tmp/uninstall.log")"
[ "$(cd "$tmp" && find dotfiles linkedshare | sort | tr '\n' ' ')" = "dotfiles dotfiles/share linkedshare linkedshare/share " ] ||
  fail "the linked share/ was not undone: $(cd "$tmp" && find dotfiles linkedshare)"
rm -rf "$tmp/dotfiles" "$tmp/linkedshare"; records
# A disk that fills during an install (a small tmpfs, where this may mount one): it fails,
# removing its scratch folder, and one uninstall removes what it wrote, what it cut short
# included. Filled by the programs, and by the pages, compressed in a scratch folder.
full=$tmp/full
mkdir "$full"
trap 'umount "$full" 2> /dev/null; rm -rf "$tmp"' EXIT
# The scratch folder, in the records folder, goes with the install that made it, and a
# stale one is removed by the next.
scratches() { find "$tmp/build/install_records" -maxdepth 1 -name 'scratch-*' -type d 2> /dev/null | wc -l; }
mkdir -p "$tmp/build/install_records/scratch-programs" && touch "$tmp/build/install_records/scratch-programs/stale"
scratches_before=0
for try in "100k all" "8k data"; do
  read -r size component <<< "$try"
  if ! mount -t tmpfs -o "size=$size" velha-full "$full" 2> /dev/null; then
    echo "a tmpfs cannot be mounted here: a full disk was not tried"
    break
  fi
  components=()
  [ "$component" = all ] || components=(--component "$component")
  install_into "$full/p" "${components[@]}" 2> "$tmp/install.log" && fail "an install onto a full disk ($try) succeeded"
  tr -s '\n ' '  ' < "$tmp/install.log" | grep -q 'No space left on device' || fail "the disk did not fill ($try): $(cat "$tmp/install.log")"
  [ "$(scratches)" -eq "$scratches_before" ] || fail "an install onto a full disk ($try) left its scratch folder"
  attack "an install onto a full disk ($try)" removes
  [ -z "$(ls -A "$full")" ] || fail "an install onto a full disk ($try) left $(find "$full")"
  umount "$full"
done
trap 'rm -rf "$tmp"' EXIT
records

# Without the rights to every folder or file (as nobody, when this runs as root): an
# install that fails half way is recorded as far as it went, and an uninstall that cannot
# read or remove a file names it with the system's reason and keeps the record.
if [ "$(id -u)" -eq 0 ] && command -v setpriv > /dev/null; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  mine() { chown -R nobody "$@"; }
else
  as_user=()
  mine() { :; }
fi
chmod o+rx "$tmp" "$tmp/build"
records && mkdir "$tmp/build/install_records" && mine "$tmp/build/install_records"
mkdir -p "$tmp/half/share/man" && mine "$tmp/half" && chmod 555 "$tmp/half/share/man"
"${as_user[@]}" cmake --install "$tmp/build" --prefix "$tmp/half" > /dev/null 2>&1 &&
  fail "an install into a read-only folder succeeded"
chmod 755 "$tmp/half/share/man"
# Removed by its own user: for anyone else the folder is another user's, and refused.
"${as_user[@]}" "$tmp/build/bin/velha_install" uninstall --records "$tmp/build/install_records" > "$tmp/uninstall.log" 2>&1 ||
  fail "an install that failed half way: $(cat "$tmp/uninstall.log")"
[ "$(cd "$tmp/half" && find . | sort | tr '\n' ' ')" = ". ./share ./share/man " ] ||
  fail "an install that failed half way left $(find "$tmp/half")"
rm -rf "$tmp/half"
install_into "$tmp/rights"
mine "$tmp/rights" "$tmp/build/install_records"
chmod 000 "$tmp/rights/bin/reader"
chmod 555 "$tmp/rights/share/velha" "$tmp/rights/share/man"
status=0
"${as_user[@]}" "$tmp/build/bin/velha_install" uninstall --records "$tmp/build/install_records" > "$tmp/uninstall.log" 2>&1 || status=$?
chmod 755 "$tmp/rights/share/velha" "$tmp/rights/share/man" "$tmp/rights/bin/reader"
[ "$status" -ne 0 ] && grep -q "Kept $tmp/rights/bin/reader: it cannot be read" "$tmp/uninstall.log" &&
  grep -q "Kept $tmp/rights/share/velha/dicionario.txt: it could not be removed: Permission denied" "$tmp/uninstall.log" &&
  [ -e "$tmp/rights/share/velha/dicionario.txt" ] && [ -e "$tmp/rights/share/velha/install-record" ] ||
  fail "a file without the rights to it: $(cat "$tmp/uninstall.log")"
if [ ${#as_user[@]} -gt 0 ]; then
  grep -qx "folder share/man/man6" "$tmp/rights/share/velha/install-record" || fail "a folder rmdir could not remove left the record"
fi
[ ${#as_user[@]} -gt 0 ] && chown -R root "$tmp/rights" "$tmp/build/install_records"
attack "what was kept, once it can be removed" removes
[ ! -e "$tmp/rights" ] || fail "what was kept was not removed once it could be: $(find "$tmp/rights")"
records

# Another user who can write in a folder of the root could swap it for a link between a
# check and a removal or a write: such a root is refused, both ways, before anything is
# touched, however often that user swaps (as nobody, when this runs as root).
if [ ${#as_user[@]} -gt 0 ]; then
  install_into "$tmp/shared"
  chmod 777 "$tmp/shared/share"
  mkdir "$tmp/shared/share/velha.real"
  "${as_user[@]}" sh -c 'cd "$1" && while :; do
      mv velha velha.real/x; ln -s "$2" velha; rm velha; mv velha.real/x velha
    done 2> /dev/null' sh "$tmp/shared/share" "$victim" &
  swapper=$!
  trap 'kill $swapper 2> /dev/null; rm -rf "$tmp"' EXIT
  for try in $(seq 20); do
    attack "a root another user can write in, try $try" refuses
    grep -q "another user could change $tmp/shared/share while this runs (others can write in it" "$tmp/uninstall.log" ||
      fail "a root another user can write in: $(cat "$tmp/uninstall.log")"
  done
  cmake --install "$tmp/build" --prefix "$tmp/shared" > "$tmp/install.log" 2>&1 && fail "an install into a folder another user can write in"
  tr -s '\n ' '  ' < "$tmp/install.log" | grep -qF "$tmp/shared/share while the install runs (others can write in it" ||
    fail "the install did not name the shared folder: $(cat "$tmp/install.log")"
  kill $swapper; wait $swapper 2> /dev/null || true
  trap 'rm -rf "$tmp"' EXIT
  # Nor does anything in the environment make the install follow another user's link.
  mkdir -p "$tmp/public" "$tmp/private" && chmod 1777 "$tmp/public" && chmod 700 "$tmp/private"
  "${as_user[@]}" ln -s "$tmp/private" "$tmp/public/link"
  VELHA_PACKAGING=1 cmake --install "$tmp/build" --prefix "$tmp/public/link" > "$tmp/install.log" 2>&1 &&
    fail "VELHA_PACKAGING=1: an install followed another user's link"
  [ -z "$(ls -A "$tmp/private")" ] || fail "an install wrote through another user's link"
  rm -rf "$tmp/public" "$tmp/private"
  [ -d "$tmp/shared/share/velha" ] || mv "$tmp/shared/share/velha.real/x" "$tmp/shared/share/velha"
  rmdir "$tmp/shared/share/velha.real"; chmod 755 "$tmp/shared/share"
  attack "that root, once only its user can write in it" removes
  [ ! -e "$tmp/shared" ] || fail "the shared root was not removed once safe: $(find "$tmp/shared")"
  records
  users_files=$(snapshot)
else
  echo "not run as root: the race with another user was not tried"
fi

# Made under umask 077, the package still holds folders 0755 and files 0644 (0755 the
# programs), which others need to read and run.
(cd "$tmp" && umask 077 && cpack --config "$tmp/build/CPackConfig.cmake" -B "$tmp/package" > /dev/null)
deb=$(ls "$tmp"/package/*.deb)
contents=$(dpkg-deb -c "$deb")
grep -Ev '^(drwxr-xr-x .*/|-rw-r--r-- .*[^/]|-rwxr-xr-x .* \./usr/games/[a-z]+)$' <<< "$contents" &&
  fail "the package holds these modes, made under umask 077"
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
grep -qxF "reader: to play from the complete dictionary: $tmp/unpacked/usr/games/reader $tmp/unpacked/usr/share/velha/dicionario.txt" \
  "$elsewhere/errors" || fail "the package's reader does not name the package's dictionary"

if command -v lintian > /dev/null; then
  # As root lintian says it should not run as root; that notice is not about the package.
  report=$(lintian "$deb" 2>&1 | grep -v 'running with root privileges' || true)
  grep -E '^[EW]: ' <<< "$report" && fail "lintian: errors or warnings in the package"
else
  echo "lintian is not installed: the package was not linted"
fi
echo "installed programs, manual pages and package: ok"
