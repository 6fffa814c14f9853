# Runs jxut once and checks its exit status and output.
#   -DPROGRAM=<jxut> [-DEMULATOR=<runner>] -DARGS=<arguments separated by |> -DSTATUS=<n>
#   [-DMATCH=<regex on stdout>] [-DERROR_MATCH=<regex on stderr>]
#   [-DWORKDIR=<folder>] [-DINPUT=<file for standard input>] [-DLOCALE=<LC_ALL>]
#   [-DINSTALL_FROM=<build folder>]: installs the build under WORKDIR first and
#   runs the installed program, from WORKDIR.
string(REPLACE "|" ";" ARGS "${ARGS}")
if(NOT WORKDIR)
  set(WORKDIR .)
endif()
set(ENV{LC_ALL} "${LOCALE}")
if(INSTALL_FROM)
  file(REMOVE_RECURSE ${WORKDIR}/prefix)
  execute_process(COMMAND ${CMAKE_COMMAND} --install ${INSTALL_FROM} --prefix ${WORKDIR}/prefix
    RESULT_VARIABLE installed OUTPUT_QUIET)
  if(NOT installed EQUAL 0)
    message(FATAL_ERROR "cmake --install ${INSTALL_FROM} failed")
  endif()
  get_filename_component(name ${PROGRAM} NAME)
  set(PROGRAM ${WORKDIR}/prefix/bin/${name})
endif()
set(input)
if(INPUT)
  set(input INPUT_FILE ${INPUT})
endif()
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARGS}
  WORKING_DIRECTORY ${WORKDIR} ${input}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REPLACE "\r\n" "\n" out "${out}")
string(REPLACE "\r\n" "\n" err "${err}")
if(NOT status STREQUAL STATUS)
  message(FATAL_ERROR "jxut ${ARGS}: exit status ${status}, expected ${STATUS}\n"
    "stdout:\n${out}\nstderr:\n${err}")
endif()
if(DEFINED MATCH AND NOT out MATCHES "${MATCH}")
  message(FATAL_ERROR "jxut ${ARGS}: stdout does not match '${MATCH}':\n${out}")
endif()
if(DEFINED ERROR_MATCH AND NOT err MATCHES "${ERROR_MATCH}")
  message(FATAL_ERROR "jxut ${ARGS}: stderr does not match '${ERROR_MATCH}':\n${err}")
endif()
