#!/usr/bin/env bash
# Makes every download of a release in one folder, dist/velha-VERSION/:
#   velha_VERSION_amd64.deb              the Debian package (Debian, Ubuntu)
#   velha-VERSION-windows-x86_64.zip     the Windows programs with the complete dictionary
#   velha-VERSION-web.zip                the web site: unzip, open index.html
#   velha-VERSION-source.tar.gz          the sources
#   SHA256SUMS                           their checksums, for sha256sum -c
# It builds with the presets default, windows and web (in build/, build-windows/ and
# build-web/, as the workflows do; it runs no tests), packs each download in a folder of
# its own and only then moves that folder into place. It never writes over a release
# folder that exists, and removes nothing but the scratch folder it made.
#
# release/release.sh   (needs what the three workflows need: see .ci/run)
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD

fail() { echo "release: $*" >&2; exit 1; }
version=$(sed -n 's/^project(velha VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[[ -n $version ]] || fail "no version in CMakeLists.txt's project()"
release=dist/velha-$version
[[ ! -e $release ]] || fail "$release exists already; move it away to make the release again"

for preset in default windows web; do
  cmake --preset "$preset" > /dev/null
  cmake --build --preset "$preset" > /dev/null || fail "the $preset build failed"
done

mkdir -p dist
scratch=$(mktemp -d "$source_dir/dist/.velha-$version.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
packed=$scratch/packed
folder=$scratch/velha-$version
mkdir "$packed" "$folder"

(cd "$packed" && cpack --config "$source_dir/build/CPackConfig.cmake" -G DEB -B "$packed/deb" > /dev/null)
mv "$packed"/deb/velha_"$version"_*.deb "$folder/"
(cd "$packed" && cpack --config "$source_dir/build-windows/CPackConfig.cmake" -G ZIP -B "$packed/zip" > /dev/null)
mv "$packed/zip/velha-$version-windows-x86_64.zip" "$folder/"
(cd "$packed" && cpack --config "$source_dir/build/CPackSourceConfig.cmake" -G TGZ -B "$packed/source" > /dev/null)
mv "$packed/source/velha-$version-Source.tar.gz" "$folder/velha-$version-source.tar.gz"
# The site in a folder named for the release, as the other archives hold theirs.
cp -R build-web/site "$packed/velha-$version-web"
(cd "$packed" && cmake -E tar cf "$folder/velha-$version-web.zip" --format=zip "velha-$version-web")

(cd "$folder" && sha256sum -- *.deb *.zip *.tar.gz > SHA256SUMS)
mv "$folder" "$release"
echo "release: $release"
ls -l "$release"
