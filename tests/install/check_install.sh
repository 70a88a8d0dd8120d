#!/usr/bin/env bash
# Installs the build into a temporary prefix, plays a short session with each installed
# program, renders the manual pages, and builds and lists the Debian package.
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$tmp/usr" >/dev/null

bin=$tmp/usr/bin
share=$tmp/usr/share
for program in seeker scribe reader; do
  [ -x "$bin/$program" ] || fail "$program is not installed"
done

printf 'b\nq\n' | "$bin/seeker" | grep -qx 'Busca Max Min - melhor jogada: 0 \[empate estimado\]' ||
  fail "installed seeker did not play"
[ "$(printf 'b\ni\nq\n' | "$bin/scribe" | wc -l)" -eq 2423 ] || fail "installed scribe listing"
[ "$(wc -l <"$share/velha/dicionario.txt")" -eq 4520 ] || fail "installed dictionary"
mkdir "$tmp/play"
cp "$share/velha/dicionario.txt" "$tmp/play/"
(cd "$tmp/play" && printf 'b\nq\n' | "$bin/reader") |
  grep -qx 'Busca Dicionario - melhor jogada: 0 \[indice buscado: 10597\]' ||
  fail "installed reader did not play from the installed dictionary"

for page in seeker scribe reader; do
  file=$share/man/man6/$page.6
  [ -f "$file" ] || fail "manual page $page.6 is not installed"
  warnings=$(groff -ww -z -man "$file" 2>&1)
  [ -z "$warnings" ] || fail "$page.6: $warnings"
  MANWIDTH=80 man -l "$file" 2>&1 | grep -q '^NAME' || fail "$page.6 does not render"
done

(cd "$tmp" && cpack --config "$build/CPackConfig.cmake" -B "$tmp/package" >/dev/null)
deb=$(ls "$tmp"/package/*.deb)
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/seeker ./usr/bin/scribe ./usr/bin/reader \
  ./usr/share/man/man6/seeker.6 ./usr/share/man/man6/scribe.6 ./usr/share/man/man6/reader.6 \
  ./usr/share/velha/dicionario.txt; do
  grep -q " $path\$" <<<"$contents" || fail "$path is not in the package"
done
dpkg-deb -f "$deb" Depends | grep -q libc6 || fail "package dependencies were not computed"
echo "installed programs, manual pages and package: ok"
