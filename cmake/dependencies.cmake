# Third-party code: miniz from the pinned npm package (or an installed copy),
# GoogleTest from the system (or from Debian's sources when cross-compiling).

find_package(miniz CONFIG QUIET)
if(NOT TARGET miniz::miniz)
  set(JX_MINIZ_DIR ${PROJECT_SOURCE_DIR}/node_modules/miniz.c)
  if(EXISTS ${JX_MINIZ_DIR}/miniz.c)
    # With our CRC-32 in place of miniz's byte-wise one.
    add_library(jx_miniz STATIC ${JX_MINIZ_DIR}/miniz.c
      ${PROJECT_SOURCE_DIR}/src/archive/miniz/crc32.cpp)
    target_compile_definitions(jx_miniz PRIVATE USE_EXTERNAL_MZCRC)
    target_include_directories(jx_miniz SYSTEM PUBLIC ${JX_MINIZ_DIR})
    target_compile_definitions(jx_miniz PUBLIC MINIZ_NO_ZLIB_COMPATIBLE_NAMES)
    set_target_properties(jx_miniz PROPERTIES C_VISIBILITY_PRESET hidden)
    # miniz leaves its fast level-1 compressor and wide copies off on x86;
    # through memcpy the unaligned accesses are well-defined, yet miniz turns
    # them off under the undefined-behaviour sanitizer, so that leg keeps the
    # plain code.
    if(NOT JX_SANITIZE)
      target_compile_definitions(jx_miniz PRIVATE MINIZ_USE_UNALIGNED_LOADS_AND_STORES=1
        MINIZ_UNALIGNED_USE_MEMCPY)
    endif()
    add_library(miniz::miniz ALIAS jx_miniz)
  endif()
endif()

if(JX_BUILD_TESTS)
  if(CMAKE_CROSSCOMPILING)
    set(JX_GTEST_SRC /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    add_subdirectory(${JX_GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  else()
    find_package(GTest REQUIRED)
  endif()
endif()
