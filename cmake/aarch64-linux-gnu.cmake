# Cross builds for 64-bit ARM Linux with Debian's cross compiler (g++-aarch64-linux-gnu) and the
# arm64 multiarch libraries (liblapack-dev:arm64 and the like); scripts/arm64.sh shows the use:
#   cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# Libraries and packages are looked for in /usr/lib/aarch64-linux-gnu (and the compiler's own
# directories), never in the host's /usr/lib/x86_64-linux-gnu.
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

# Built programs (test discovery, ctest, the tests that start the clusterer) run under user-mode
# emulation, explicitly, so that no binfmt registration is needed; without qemu (say, on an ARM
# machine) they run directly.
find_program(TOOLKIT_QEMU_AARCH64 NAMES qemu-aarch64 qemu-aarch64-static)
if(TOOLKIT_QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TOOLKIT_QEMU_AARCH64} -L /usr/aarch64-linux-gnu)
endif()
# Debian 12's qemu-user hangs in the child of fork() in dynamically linked programs (the death
# tests fork); static programs run well, and the clusterer is linked statically anyway.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
