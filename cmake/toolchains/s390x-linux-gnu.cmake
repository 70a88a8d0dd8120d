# Big-endian Linux on IBM Z, run under qemu-user: cmake --workflow --preset s390x.
set(cross_processor s390x)
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu.cmake)
