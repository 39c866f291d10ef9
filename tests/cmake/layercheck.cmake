# Configures the layer-check project (layercheck/) for one case, in a fresh
# folder, and fails unless the outcome is the expected one: a configuration
# that succeeds when EXPECT is empty, else one that fails with a message
# matching EXPECT.
# cmake -DCASE=<case> -DEXPECT=<regex> -DROOT=<source root> -DSOURCE=<project>
#       -DBINARY=<folder> -DGENERATOR=<generator> -DCXX=<compiler> -DQt6_DIR=<dir> -P layercheck.cmake
file(REMOVE_RECURSE ${BINARY})
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} -G ${GENERATOR}
          -DCMAKE_CXX_COMPILER=${CXX} -DQt6_DIR=${Qt6_DIR} -DSUPPLINK_ROOT=${ROOT} -DCASE=${CASE}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
# The messages come wrapped to the terminal's width: compare them as one line.
string(REGEX REPLACE "[ \t]*\n[ \t]*" " " flat "${output}")
if(EXPECT STREQUAL "")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Case ${CASE}: the sound layout did not configure:\n${output}")
  endif()
  if(NOT EXISTS ${BINARY}/supplink-layers.txt)
    message(FATAL_ERROR "Case ${CASE}: the layer report ${BINARY}/supplink-layers.txt was not written.")
  endif()
  file(READ ${BINARY}/supplink-layers.txt report)
  message(STATUS "Case ${CASE} configured; its report:\n${report}")
else()
  if(result EQUAL 0)
    message(FATAL_ERROR "Case ${CASE}: the configuration succeeded; the check should have stopped it with\n"
                        "  ${EXPECT}\n${output}")
  endif()
  if(NOT flat MATCHES "${EXPECT}")
    message(FATAL_ERROR "Case ${CASE}: the configuration failed, but not with\n  ${EXPECT}\n${output}")
  endif()
  message(STATUS "Case ${CASE} stopped as expected.")
endif()
file(REMOVE_RECURSE ${BINARY})
