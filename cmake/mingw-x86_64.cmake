# 64-bit build of the same sources: the one that runs here, under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TARVEL_TRIPLE x86_64-w64-mingw32)
# The -posix compilers: GoogleTest needs std::mutex.
set(CMAKE_C_COMPILER ${TARVEL_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVEL_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TARVEL_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TARVEL_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# ctest runs the test programs under 64-bit Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
