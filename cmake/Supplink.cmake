# Helpers shared by the subsystem, test, benchmark and fuzz folders.

# The folders of the subsystems, in build order. A folder is built once it has
# a CMakeLists.txt; later subsystems link the earlier ones they need.
set(SUPPLINK_SUBSYSTEMS platform start json database sources transfer sync import mathparser selection wizard)

# supplink_add_library(<name> SOURCES ... [LIBS ...])
# Creates the static library supplink_<name> with src/ as include root.
function(supplink_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(supplink_${name} STATIC ${ARG_SOURCES})
  target_include_directories(supplink_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(supplink_${name} PUBLIC ${ARG_LIBS})
endfunction()

# supplink_add_test(<name> SOURCES ... [LIBS ...])
# A Qt Test program registered in CTest; windows run on the offscreen platform.
function(supplink_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test supplink_testsupport ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SUPPLINK_TESTDATA=${PROJECT_SOURCE_DIR}/../shared/testdata")
endfunction()

# Adds every subfolder of the given list that has a CMakeLists.txt.
macro(supplink_add_present_subdirectories)
  foreach(sub ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/CMakeLists.txt)
      add_subdirectory(${sub})
    endif()
  endforeach()
endmacro()

# supplink_add_subsystem(<name> [LIBS ...])
# The library supplink_<name> from every .cpp and .h file of the calling
# folder (new files are picked up at the next build), except main.cpp.
function(supplink_add_subsystem name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$") # a program's entry point, not library code
  if(NOT sources MATCHES "\\.cpp")
    return()
  endif()
  supplink_add_library(${name} SOURCES ${sources} LIBS ${ARG_LIBS})
endfunction()

# supplink_add_folder_tests(<prefix> [LIBS ...])
# One Qt Test program per test_*.cpp file of the calling folder, named
# <prefix>_<file stem without test_>, each linking the given libraries.
function(supplink_add_folder_tests prefix)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  foreach(src ${tests})
    get_filename_component(stem ${src} NAME_WE)
    string(REGEX REPLACE "^test_" "" stem ${stem})
    supplink_add_test(${prefix}_${stem} SOURCES ${src} LIBS ${ARG_LIBS})
  endforeach()
endfunction()
