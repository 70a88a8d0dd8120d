#!/usr/bin/env bash
# Makes every download of a release in one folder, dist/velha-VERSION/:
#   velha_VERSION_amd64.deb              the Debian package (Debian, Ubuntu)
#   velha-VERSION-windows-x86_64.zip     the Windows programs with the complete dictionary
#   velha-VERSION-web.zip                the web site, with the licence, a read-me and the
#                                        version: unzip, open index.html
#   velha-VERSION-source.tar.gz          the sources: the commit's files, nothing else
#   SHA256SUMS                           their checksums, for sha256sum -c
# Made twice from one commit, every file is the same byte for byte, whatever the umask:
# each archive is sorted, owner-free, dated with the commit (SOURCE_DATE_EPOCH) and holds
# folders 0755 and files 0644 (0755 the programs), and the programs carry no time of their
# own (release/check_reproducible.sh checks it).
#
# Everything is built from the commit alone, exported with git archive into
# dist/.work/COMMIT/source/, never from the working tree: a change there, even one git was told
# to overlook (update-index --assume-unchanged or --skip-worktree), reaches no download.
# It refuses a working tree whose tracked files differ from the commit all the same (a
# change not committed is likely meant to be), unless given --allow-dirty. It builds with
# the presets default (without tests), windows and web, in dist/.work/COMMIT/build-PRESET/,
# kept between releases of that commit alone, showing
# the end of a build's output when it fails, packs each download in a folder of its own
# and only then moves that folder into place. It never writes over a release folder, or
# anything else at its path, and removes nothing but the scratch folders it made.
#
# release/release.sh [--allow-dirty] [--commit REV]   (needs what the three workflows
# need: see .ci/run); --commit releases another commit than the checked-out one.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
# What it packs sets its own modes, but not everything it packs with: cpack's .deb takes
# the modes of its ar members from the files it writes, so the umask would reach the
# download.
umask 022

fail() { echo "release: $*" >&2; exit 1; }
allow_dirty=no
wanted=HEAD
# Every argument, in any order; one not known stops the release before anything is made.
while (($#)); do
  case $1 in
    --allow-dirty) allow_dirty=yes ;;
    --commit)
      [[ -n ${2:-} ]] || fail "--commit names a commit"
      wanted=$2 allow_dirty=yes
      shift
      ;;
    *) fail "unknown argument '$1'; the only ones are --allow-dirty and --commit REV" ;;
  esac
  shift
done
commit=$(git rev-parse --verify "$wanted^{commit}" 2> /dev/null) || fail "a release is made from a git commit"
if [[ $allow_dirty == no && -n $(git status --porcelain --untracked-files=no) ]]; then
  fail "the working tree differs from the commit $commit; commit the changes, or give --allow-dirty"
fi
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH

# run WHAT COMMAND...: the command's output goes to a log, whose end is shown if it fails.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
run() {
  local what=$1
  shift
  "$@" > "$log" 2>&1 || { tail -n 40 "$log" >&2; fail "$what failed"; }
}

# The builds are kept between releases of one commit only: objects of another commit,
# older or newer, are never reused (an export dated with an older commit would look up
# to date to make), so the folders of any other commit are removed first.
work=$source_dir/dist/.work/$commit
find "$source_dir/dist/.work" -mindepth 1 -maxdepth 1 ! -name "$commit" -exec rm -rf {} + 2> /dev/null || true
exported=$work/source
rm -rf "$exported"
mkdir -p "$exported"
git archive --format=tar "$commit" | tar -x -C "$exported"
# configure PRESET: the preset, from the export, into its own build folder of dist/.work/.
configure() {
  (cd "$exported" && run "configuring the $1 preset" cmake --preset "$1" -B "$work/build-$1" -DBUILD_TESTING=OFF)
}

configure default
version=$(< "$work/build-default/version.txt")
[[ $version =~ ^[0-9]+(\.[0-9]+)*$ ]] || fail "version.txt holds no version: '$version'"
release=dist/velha-$version
[[ ! -e $release && ! -L $release ]] ||
  fail "$release exists already; move it away to make the release again"

for preset in default windows web; do
  configure "$preset"
  run "the $preset build" cmake --build "$work/build-$preset"
done

mkdir -p dist
scratch=$(mktemp -d "$source_dir/dist/.velha-$version.XXXXXX")
trap 'rm -f "$log"; rm -rf "$scratch"' EXIT
packed=$scratch/packed
folder=$scratch/velha-$version
mkdir "$packed" "$folder"

# zip_folder ZIP FOLDER: FOLDER (a name in $packed) as ZIP, its files sorted, dated with
# the commit and 0644 (0755 the programs, *.exe), with no owner and no extra times (zip -X).
zip_folder() {
  (cd "$packed" && find "$2" -type d -exec chmod 755 {} + && find "$2" -type f -exec chmod 644 {} + &&
    find "$2" -type f -name '*.exe' -exec chmod 755 {} + &&
    find "$2" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} + &&
    find "$2" -type f | LC_ALL=C sort | TZ=UTC zip -X -D -q "$1" -@)
}

(cd "$packed" && run "cpack -G DEB" cpack --config "$work/build-default/CPackConfig.cmake" -G DEB -B "$packed/deb")
mv "$packed"/deb/velha_"$version"_*.deb "$folder/"

# The Windows ZIP and the site, as cpack and the web build lay them out, zipped here.
(cd "$packed" && run "cpack -G ZIP" cpack --config "$work/build-windows/CPackConfig.cmake" -G ZIP -B "$packed/zip")
windows=velha-$version-windows-x86_64
(cd "$packed" && cmake -E tar xf "zip/$windows.zip")
zip_folder "$folder/$windows.zip" "$windows"

web=velha-$version-web
cp -R "$work/build-web/site" "$packed/$web"
git show "$commit:LICENSE" > "$packed/$web/LICENSE.txt"
printf 'velha %s (commit %s)\n' "$version" "$commit" > "$packed/$web/VERSION.txt"
cat > "$packed/$web/README.txt" << EOF
velha $version: tic-tac-toe in a web browser

Open index.html in a browser, straight from this folder, or copy this folder's files to
any static web host: the page loads nothing from anywhere else. Pick a program and play
with the buttons and the board, or type its one-letter commands (h lists them).

seeker plays the move an exhaustive search finds, with its verdict on how the game ends;
reader plays the moves of a move dictionary; scribe writes such a dictionary.

Licence: MIT (LICENSE.txt). Version: VERSION.txt.
EOF
zip_folder "$folder/$web.zip" "$web"

# The sources: the commit's tracked files, whatever else lies in the working tree.
git archive --format=tar --prefix="velha-$version/" "$commit" | gzip -9n > "$folder/velha-$version-source.tar.gz"

(cd "$folder" && sha256sum -- *.deb *.zip *.tar.gz > SHA256SUMS)
[[ ! -e $release && ! -L $release ]] || fail "$release appeared while the release was made"
mv -T "$folder" "$release"
echo "release: $release"
ls -l "$release"
