# Cross toolchain for the Windows test programs: GoogleTest needs std::mutex,
# which only the posix thread model of Debian's mingw-w64 has. The product
# itself is built with mingw-i686.cmake.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
