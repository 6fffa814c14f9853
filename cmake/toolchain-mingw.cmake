# Cross-compiling the Windows build with mingw-w64 for JX_MINGW_TRIPLE. The
# -posix compilers carry the threading support that GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${JX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${JX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${JX_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${JX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
