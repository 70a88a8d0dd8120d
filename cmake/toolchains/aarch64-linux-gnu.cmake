# 64-bit ARM Linux (a Raspberry Pi 4 or 5, say), run under qemu-user:
# cmake --workflow --preset aarch64.
set(cross_processor aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu.cmake)
