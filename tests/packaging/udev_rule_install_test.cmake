# `cmake --install` with DESTDIR puts the udev rule, unchanged, into DESTDIR followed by the
# rules directory, and nothing else of its component anywhere else.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${DESTDIR}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env "DESTDIR=${DESTDIR}"
          ${CMAKE_COMMAND} --install "${BUILD_DIR}" --component udev
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${result}):\n${output}")
endif()
if(NOT IS_ABSOLUTE "${RULES_DIR}")
  message(FATAL_ERROR "the rules directory \"${RULES_DIR}\" is not absolute")
endif()
set(installed "${DESTDIR}${RULES_DIR}/70-velq540b.rules")
if(NOT EXISTS "${installed}")
  message(FATAL_ERROR "no rule at ${installed}:\n${output}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${RULE}" "${installed}"
                RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "${installed} differs from ${RULE}")
endif()
file(GLOB_RECURSE files LIST_DIRECTORIES false "${DESTDIR}/*")
if(NOT files STREQUAL installed)
  message(FATAL_ERROR "the component installed more than the rule: ${files}")
endif()
