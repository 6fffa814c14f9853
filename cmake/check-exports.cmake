# Compares the names a built library exports with the promised interface.
#   cmake -DLIBRARY=<file> -DINTERFACE=<list> -DKIND=elf|pe -DTOOL=<nm|objdump>
#         -DDEMANGLER=<c++filt> -P check-exports.cmake
# The interface list holds one demangled name per line; "posix:" or
# "windows:" before a name limits it to that system. Types are written as
# on POSIX (DWORD is "unsigned int", LONG is "int", WCHAR is "char16_t"); the
# Windows names are brought to that form before comparing.

if(KIND STREQUAL "elf")
  execute_process(COMMAND ${TOOL} -D --defined-only ${LIBRARY}
    OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
  string(REGEX REPLACE "[0-9a-fA-F]* +[A-Za-z] +([^\n]*)" "\\1" raw "${listing}")
  set(system posix)
else()
  execute_process(COMMAND ${TOOL} -p ${LIBRARY} OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
  string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)*" table "${listing}")
  string(REGEX REPLACE "\\[Ordinal/Name Pointer\\] Table\n" "" table "${table}")
  string(REGEX REPLACE "[ \t]*\\[ *[0-9]+\\] ([^\n]*)" "\\1" raw "${table}")
  set(system windows)
endif()
if(failed)
  message(FATAL_ERROR "cannot list the exports of ${LIBRARY}")
endif()

file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/exports-raw.txt "${raw}")
execute_process(COMMAND ${DEMANGLER} INPUT_FILE ${CMAKE_CURRENT_BINARY_DIR}/exports-raw.txt
  OUTPUT_VARIABLE demangled RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot demangle the exports")
endif()

string(REPLACE "\n" ";" actual_lines "${demangled}")
set(actual)
foreach(name IN LISTS actual_lines)
  string(STRIP "${name}" name)
  if(name STREQUAL "" OR name MATCHES "^typeinfo")
    continue()
  endif()
  if(system STREQUAL "windows")
    string(REPLACE "unsigned long" "unsigned int" name "${name}")
    string(REGEX REPLACE "(^|[(, ])long([,) ]|$)" "\\1int\\2" name "${name}")
    string(REPLACE "wchar_t" "char16_t" name "${name}")
  endif()
  list(APPEND actual "${name}")
endforeach()
list(REMOVE_DUPLICATES actual)

file(STRINGS ${INTERFACE} promised_lines)
set(expected)
foreach(line IN LISTS promised_lines)
  string(STRIP "${line}" line)
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  if(line MATCHES "^(posix|windows): (.*)$")
    if(NOT CMAKE_MATCH_1 STREQUAL system)
      continue()
    endif()
    set(line "${CMAKE_MATCH_2}")
  endif()
  list(APPEND expected "${line}")
endforeach()

set(missing ${expected})
list(REMOVE_ITEM missing ${actual})
set(extra ${actual})
list(REMOVE_ITEM extra ${expected})
if(missing OR extra)
  list(JOIN missing "\n  " missing_text)
  list(JOIN extra "\n  " extra_text)
  message(FATAL_ERROR "exports differ from the interface\n"
    "promised but not exported:\n  ${missing_text}\n"
    "exported but not promised:\n  ${extra_text}")
endif()
list(LENGTH actual count)
message(STATUS "${count} exported names match the interface")
