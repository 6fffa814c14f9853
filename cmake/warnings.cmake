# Compiler settings shared by every target of the project.
add_library(jx_build_flags INTERFACE)
target_compile_options(jx_build_flags INTERFACE
  -Wall -Wextra -Wshadow -Wformat=2 -Wundef -Wnon-virtual-dtor)
if(JX_WARNINGS_AS_ERRORS)
  target_compile_options(jx_build_flags INTERFACE -Werror)
endif()
if(JX_SANITIZE)
  target_compile_options(jx_build_flags INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(jx_build_flags INTERFACE -fsanitize=address,undefined)
endif()
if(JX_BUILD_FUZZ)
  # Coverage for the fuzzers throughout the library, not only in the targets.
  target_compile_options(jx_build_flags INTERFACE -fsanitize=fuzzer-no-link)
endif()
if(WIN32)
  # Programs and the DLL carry their own runtime, so nothing but the system
  # DLLs has to be found at run time (under Wine as on Windows).
  target_link_options(jx_build_flags INTERFACE -static-libgcc -static-libstdc++ -static)
endif()
