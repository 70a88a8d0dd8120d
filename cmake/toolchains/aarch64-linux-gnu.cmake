# 64-bit ARM Linux (a Raspberry Pi 4 or 5, say), run under qemu-user. Not run in CI:
#   cmake -B build-aarch64 -G Ninja -DCMAKE_BUILD_TYPE=Release \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/aarch64-linux-gnu.cmake \
#     -DVELHA_GTEST_SOURCE=/usr/src/googletest -DVELHA_BENCH=OFF
set(cross_processor aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu.cmake)
