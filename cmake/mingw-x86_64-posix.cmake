# Cross toolchain for the 64-bit Windows test programs: GoogleTest needs
# std::mutex, which only the posix thread model of Debian's mingw-w64 has. The
# product itself is built with mingw-x86_64.cmake.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-x86_64.cmake)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
