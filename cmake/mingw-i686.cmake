# 32-bit console program: the build the program ships as.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TARVEL_TRIPLE i686-w64-mingw32)
# The -posix compilers: GoogleTest needs std::mutex.
set(CMAKE_C_COMPILER ${TARVEL_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVEL_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TARVEL_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TARVEL_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
