# Tests of the Windows build run under Wine through CMake's cross-compiling
# emulator, so plain ctest runs them.
find_program(JX_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT JX_WINE)
  find_program(JX_WINE NAMES wine64 wine)
endif()
if(JX_WINE)
  set(JX_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(JX_WINE_DRIVES ${PROJECT_SOURCE_DIR}/cmake/wine-drives.sh)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
    @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
endif()
