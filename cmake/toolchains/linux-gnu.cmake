# Shared by the Linux toolchain files, which set cross_processor first: a cross build with
# Debian's g++-<processor>-linux-gnu, whose programs run under qemu-user.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${cross_processor})
set(CMAKE_C_COMPILER ${cross_processor}-linux-gnu-gcc)  # GoogleTest enables C
set(CMAKE_CXX_COMPILER ${cross_processor}-linux-gnu-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${cross_processor}-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR qemu-${cross_processor} -L /usr/${cross_processor}-linux-gnu)
