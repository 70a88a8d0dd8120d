#!/usr/bin/env bash
# Checks the release script: made twice from the commit, the second time under umask 077,
# with the programs of the three builds linked again in between, an untracked file lying
# in the working tree and a change to a tracked file that git was told to overlook
# (update-index --assume-unchanged), the release is the same byte for byte, SHA256SUMS
# holds, the tarball holds the commit's files alone and the web ZIP its licence, read-me
# and version, and not the overlooked change; and any path where the release would go, a
# dangling link included, is refused before anything is built; and the commit before,
# released into the same dist/, equals its release made fresh. The second release of the
# commit stays in dist/velha-VERSION/.
#
# release/check_reproducible.sh [--allow-dirty]   (as release/release.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "check_reproducible: $*" >&2; exit 1; }

release/release.sh "$@"
work=dist/.work/$(git rev-parse --verify HEAD)
version=$(< "$work/build-default/version.txt")
release=dist/velha-$version
first=$(mktemp -d dist/.velha-first.XXXXXX)
untracked=$(mktemp velha-untracked.XXXXXX)
hidden=web/index.html
cp "$hidden" "$first/hidden"
restore() {
  git update-index --no-assume-unchanged "$hidden"
  cp "$first/hidden" "$hidden"
  rm -rf "$first" "$untracked"
}
trap restore EXIT
mv -T "$release" "$first/release"

ln -s "$first/nowhere" "$release"
if release/release.sh "$@" > "$first/refused.log" 2>&1; then fail "a release over a dangling link"; fi
grep -q 'exists already' "$first/refused.log" || fail "no reason to refuse a dangling link: $(cat "$first/refused.log")"
rm "$release"
release/release.sh --commit HEAD --bogus > /dev/null 2>&1 && fail "an unknown argument was not refused"

for program in seeker scribe reader; do
  rm -f "$work/build-default/bin/$program" "$work/build-windows/bin/$program.exe" \
    "$work/build-web/bin/$program.js"
done
marker="velha-overlooked-change-$$"
echo "<!-- $marker -->" >> "$hidden"
git update-index --assume-unchanged "$hidden"
(umask 077 && release/release.sh "$@")
(cd "$release" && sha256sum -c --quiet SHA256SUMS) || fail "SHA256SUMS does not hold in $release"
diff "$first/release/SHA256SUMS" "$release/SHA256SUMS" || fail "two releases of one commit differ"

tar -tzf "$release/velha-$version-source.tar.gz" | sed "s|^velha-$version/||; /\/$/d; /^$/d" | sort > "$first/packed"
git ls-files | sort > "$first/tracked"
diff "$first/tracked" "$first/packed" || fail "the source tarball holds other files than the commit's"
unzip -p "$release/velha-$version-web.zip" "velha-$version-web/index.html" | grep -q "$marker" &&
  fail "a change git was told to overlook reached the web ZIP"
listing=$(unzip -l "$release/velha-$version-web.zip")
for file in LICENSE.txt README.txt VERSION.txt index.html; do
  grep -q " velha-$version-web/$file\$" <<< "$listing" || fail "the web ZIP has no $file"
done

# An older commit released into this dist/, where the newer one's builds lie, equals its
# release made fresh: no object of the newer commit is reused (an export dated with the
# older commit would look up to date to make).
if older=$(git rev-parse --verify --quiet HEAD~1); then
  mv -T "$release" "$first/newer"
  # Given after --allow-dirty, --commit still names what is built: the source tarball differs.
  release/release.sh --allow-dirty --commit "$older" > /dev/null
  cmp -s "$first/newer/SHA256SUMS" "$release/SHA256SUMS" && fail "--commit $older released HEAD"
  mv -T "$release" "$first/older-after-newer"
  rm -rf dist/.work
  release/release.sh --commit "$older" > /dev/null
  diff "$first/older-after-newer/SHA256SUMS" "$release/SHA256SUMS" ||
    fail "a release of $older made after a newer one differs from one made fresh"
  rm -rf "$release"
  mv -T "$first/newer" "$release"
fi
echo "check_reproducible: two releases of $(git rev-parse --short HEAD) are the same byte for byte"
