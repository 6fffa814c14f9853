# Windows x86 (32-bit, the product's target) with mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(JX_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
