# Helpers shared by the subsystem, test, benchmark and fuzz folders, and the
# layer checks that run when the project is configured.
#
# The layers: every subsystem folder src/<name> builds the logic library
# supplink_<name>, which never links Qt Widgets. The subsystem's windows live
# in src/<name>/ui and build supplink_<name>_ui, which links Widgets and the
# logic library. The program (src/app) links the ui libraries it assembles.
# supplink_check_layers() stops the configuration when the layers are broken;
# scripts/layers.sh prints what it checked.

# The folders of the subsystems, from the bottom floor up; each must have a
# CMakeLists.txt. A library links only the libraries of the subsystems listed
# before its own (and a window library its own subsystem's logic library), so
# that every arrow of the tree points down. A folder inside a subsystem may be
# listed as a floor of its own: its library is then supplink_<folder with "_"
# for "/">.
set(SUPPLINK_SUBSYSTEMS
    platform start json database sources transfer sync import mathparser selection wizard)

# What a logic library must never reach through its links.
set(SUPPLINK_WINDOW_LIBRARIES Qt6::Widgets)

# supplink_add_library(<name> SOURCES ... [LIBS ...])
# Creates the static library supplink_<name> with src/ as include root.
function(supplink_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(supplink_${name} STATIC ${ARG_SOURCES})
  target_include_directories(supplink_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(supplink_${name} PUBLIC ${ARG_LIBS})
  set_property(GLOBAL APPEND PROPERTY SUPPLINK_TARGETS supplink_${name})
endfunction()

# supplink_add_program(<name> SOURCES ... [LIBS ...])
# An executable of the program, written to the top of the build folder.
function(supplink_add_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
  set_property(GLOBAL APPEND PROPERTY SUPPLINK_TARGETS ${name})
endfunction()

# supplink_add_test(<name> SOURCES ... [LIBS ...])
# A Qt Test program registered in CTest; windows run on the offscreen platform.
# In a sanitizer build (SUPPLINK_SANITIZE) the program runs through
# cmake/SanitizedTest.cmake: every process of the test, children included,
# writes its sanitizer reports into a folder of its own, and a report there
# fails the test whatever the program's exit code.
function(supplink_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test supplink_testsupport ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  if(SUPPLINK_SANITIZE)
    add_test(NAME ${name}
      COMMAND ${CMAKE_COMMAND}
        -DPROGRAM=$<TARGET_FILE:${name}>
        -DREPORTS=${PROJECT_BINARY_DIR}/sanitizer-reports/${name}
        -DSUPPRESSIONS=${PROJECT_SOURCE_DIR}/cmake/sanitizer-suppressions
        -P ${PROJECT_SOURCE_DIR}/cmake/SanitizedTest.cmake)
    # Instrumented programs run a few times slower.
    math(EXPR ARG_TIMEOUT "${ARG_TIMEOUT} * 3")
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SUPPLINK_TESTDATA=${PROJECT_SOURCE_DIR}/../shared/testdata")
endfunction()

# supplink_add_locale_runs(<test> [<locale> ...])
# Runs a test program of supplink_add_test under C.UTF-8 and once more under
# each given locale (default nl_NL.UTF-8), as <test>_<locale without its
# encoding>. SUPPLINK_TEST_LOCALE names the locale of the run, so that the
# program can fail when the locale is not installed instead of running under C.
function(supplink_add_locale_runs name)
  set(locales ${ARGN})
  if(NOT locales)
    set(locales nl_NL.UTF-8)
  endif()
  get_test_property(${name} ENVIRONMENT environment)
  get_test_property(${name} TIMEOUT timeout)
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "${environment};LC_ALL=C.UTF-8;SUPPLINK_TEST_LOCALE=C.UTF-8")
  foreach(locale ${locales})
    string(REGEX REPLACE "\\..*$" "" suffix ${locale})
    add_test(NAME ${name}_${suffix} COMMAND ${name})
    set_tests_properties(${name}_${suffix} PROPERTIES
      TIMEOUT ${timeout}
      ENVIRONMENT "${environment};LC_ALL=${locale};SUPPLINK_TEST_LOCALE=${locale}")
  endforeach()
endfunction()

# Adds every subfolder of the given list that has a CMakeLists.txt.
macro(supplink_add_present_subdirectories)
  foreach(sub ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/CMakeLists.txt)
      add_subdirectory(${sub})
    endif()
  endforeach()
endmacro()

# supplink_add_subsystems()
# Adds the folder of every subsystem in SUPPLINK_SUBSYSTEMS, below the calling
# folder; a listed folder without a CMakeLists.txt stops the configuration. A
# subsystem's CMakeLists.txt does not add a listed folder inside it again.
function(supplink_add_subsystems)
  foreach(sub ${SUPPLINK_SUBSYSTEMS})
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/CMakeLists.txt)
      message(FATAL_ERROR
        "Subsystem '${sub}' is listed in SUPPLINK_SUBSYSTEMS (cmake/Supplink.cmake), but "
        "${CMAKE_CURRENT_SOURCE_DIR}/${sub}/CMakeLists.txt is missing. Give the folder its "
        "CMakeLists.txt (supplink_add_subsystem) or take the name off the list.")
    endif()
    add_subdirectory(${sub})
  endforeach()
endfunction()

# supplink_add_subsystem(<name> [LIBS ...])
# The logic library supplink_<name> from every .cpp and .h file of the calling
# folder (new files are picked up at the next build). No library when the
# folder has no .cpp file yet.
function(supplink_add_subsystem name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT sources MATCHES "\\.cpp")
    return()
  endif()
  supplink_add_library(${name} SOURCES ${sources} LIBS ${ARG_LIBS})
endfunction()

# supplink_add_ui_library(<subsystem> [LIBS ...])
# The library supplink_<subsystem>_ui from every .cpp and .h file of the
# calling folder (src/<subsystem>/ui): the subsystem's windows. It links Qt
# Widgets, the subsystem's logic library (when there is one) and the given
# libraries (the ui libraries of the lower subsystems whose windows it uses).
function(supplink_add_ui_library subsystem)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  set(libs ${ARG_LIBS} Qt6::Widgets)
  if(TARGET supplink_${subsystem})
    list(PREPEND libs supplink_${subsystem})
  endif()
  supplink_add_library(${subsystem}_ui SOURCES ${sources} LIBS ${libs})
endfunction()

# supplink_add_folder_tests(<prefix> [LIBS ...] [UI_LIBS ...])
# One Qt Test program per test_*.cpp file of the calling folder, named
# <prefix>_<file stem without test_>, each linking the given libraries. A test
# that includes a window header (a path with /ui/) also links UI_LIBS; the
# others link no window code, and so no Qt Widgets.
function(supplink_add_folder_tests prefix)
  cmake_parse_arguments(ARG "" "" "LIBS;UI_LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  foreach(src ${tests})
    get_filename_component(stem ${src} NAME_WE)
    string(REGEX REPLACE "^test_" "" stem ${stem})
    set(libs ${ARG_LIBS})
    file(STRINGS ${src} window_includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[A-Za-z0-9_]+/ui/")
    if(window_includes)
      if(NOT ARG_UI_LIBS)
        message(FATAL_ERROR "${src} includes window headers; give supplink_add_folder_tests(${prefix}) "
                            "the ui libraries to link (UI_LIBS).")
      endif()
      list(APPEND libs ${ARG_UI_LIBS})
    endif()
    supplink_add_test(${prefix}_${stem} SOURCES ${src} LIBS ${libs})
  endforeach()
endfunction()

# ---------------------------------------------------------------------------
# Layer checks

# The targets a target links directly (its own link libraries and what it
# passes on), aliases resolved; names that are no target are left out.
function(_supplink_direct_links target out)
  set(items)
  get_target_property(imported ${target} IMPORTED)
  get_target_property(type ${target} TYPE)
  if(NOT imported AND NOT type STREQUAL "INTERFACE_LIBRARY")
    get_target_property(own ${target} LINK_LIBRARIES)
    if(own)
      list(APPEND items ${own})
    endif()
  endif()
  get_target_property(passed ${target} INTERFACE_LINK_LIBRARIES)
  if(passed)
    list(APPEND items ${passed})
  endif()
  set(result)
  foreach(item IN LISTS items)
    if(item MATCHES "\\$<")
      # A generator expression: every target it may name counts, whatever its condition.
      string(REGEX MATCHALL "[A-Za-z0-9_.+-]+::[A-Za-z0-9_.+-]+|supplink_[A-Za-z0-9_]+" names "${item}")
    else()
      set(names ${item})
    endif()
    foreach(name IN LISTS names)
      if(TARGET ${name})
        get_target_property(aliased ${name} ALIASED_TARGET)
        if(aliased)
          set(name ${aliased})
        endif()
        list(APPEND result ${name})
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES result)
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# supplink_link_closure(<target> <out-list> <out-prefix>)
# Every target that <target> reaches through its links, breadth first. For
# each reached target T, <out-prefix>_<C identifier of T> holds the target
# through which it was first reached (see _supplink_link_path).
function(supplink_link_closure target out prefix)
  set(closure)
  set(queue ${target})
  while(queue)
    list(POP_FRONT queue current)
    _supplink_direct_links(${current} links)
    foreach(link IN LISTS links)
      if(NOT link IN_LIST closure)
        list(APPEND closure ${link})
        list(APPEND queue ${link})
        string(MAKE_C_IDENTIFIER "${link}" id)
        set(${prefix}_${id} ${current} PARENT_SCOPE)
        set(${prefix}_${id} ${current})
      endif()
    endforeach()
  endwhile()
  set(${out} ${closure} PARENT_SCOPE)
endfunction()

# The chain "a -> b -> c" by which <from> reaches <to> (after supplink_link_closure with <prefix>).
# A cycle (<from> equal to <to>) is followed back once round.
macro(_supplink_link_path from to prefix out)
  set(${out} ${to})
  set(_step ${to})
  set(_guard 0)
  while((_guard EQUAL 0 OR NOT _step STREQUAL "${from}") AND _guard LESS 100)
    string(MAKE_C_IDENTIFIER "${_step}" _id)
    set(_step ${${prefix}_${_id}})
    set(${out} "${_step} -> ${${out}}")
    math(EXPR _guard "${_guard} + 1")
  endwhile()
endmacro()

# The floor of a target: <out-index> := the position in SUPPLINK_SUBSYSTEMS of
# the listed folder that holds the target's CMakeLists.txt (the longest one
# that src/<folder> starts with), <out-subsystem> := that folder, <out-ui> :=
# whether the target lies in the folder's ui/ (its windows, one step above its
# logic). A target outside every listed folder gets index -1: it stands above
# every floor, as the program does.
function(_supplink_floor target out_index out_subsystem out_ui)
  get_target_property(dir ${target} SOURCE_DIR)
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/src ${dir})
  set(index -1)
  set(subsystem)
  set(ui FALSE)
  set(best 0)
  set(position 0)
  foreach(sub ${SUPPLINK_SUBSYSTEMS})
    string(LENGTH "${sub}" length)
    if((rel STREQUAL sub OR rel MATCHES "^${sub}/") AND length GREATER best)
      set(index ${position})
      set(subsystem ${sub})
      set(best ${length})
      string(SUBSTRING "${rel}/" ${length} -1 rest)
      if(rest MATCHES "^/ui/")
        set(ui TRUE)
      else()
        set(ui FALSE)
      endif()
    endif()
    math(EXPR position "${position} + 1")
  endforeach()
  set(${out_index} ${index} PARENT_SCOPE)
  set(${out_subsystem} ${subsystem} PARENT_SCOPE)
  set(${out_ui} ${ui} PARENT_SCOPE)
endfunction()

# supplink_check_no_widgets(<target>...)
# Stops the configuration when a given target reaches Qt Widgets through its
# links, directly or through what its link libraries pass on. For logic
# libraries (and the test helpers that engine tests link).
function(supplink_check_no_widgets)
  foreach(target ${ARGN})
    supplink_link_closure(${target} closure via)
    foreach(window IN LISTS SUPPLINK_WINDOW_LIBRARIES)
      if(window IN_LIST closure)
        _supplink_link_path(${target} ${window} via chain)
        message(FATAL_ERROR
          "${target} links ${window} (${chain}). A logic library holds no windows and never links Qt "
          "Widgets: move the window code to the subsystem's ui/ folder (supplink_add_ui_library) and "
          "link the widget library there.")
      endif()
    endforeach()
  endforeach()
endfunction()

# supplink_check_layers()
# Call once every library and program is defined (end of src/CMakeLists.txt).
# Stops the configuration when
#   - a subsystem's logic library reaches Qt Widgets through its links;
#   - a library reaches itself through its links (a cycle);
#   - a library links one that does not stand below it: one of a subsystem
#     listed after its own in SUPPLINK_SUBSYSTEMS, one outside every listed
#     subsystem, or another of its own subsystem (only the window library
#     links its subsystem's logic library): an arrow pointing up or sideways,
#     even where no cycle closes;
#   - a source file of one library includes a header of another library that
#     its own library does not reach through its links (a lower layer
#     including a higher one, or an include that works by chance).
# Then writes the libraries with their floors, links and includes to
# <build>/supplink-layers.txt, which scripts/layers.sh prints.
function(supplink_check_layers)
  set(logic)
  foreach(sub ${SUPPLINK_SUBSYSTEMS})
    string(REPLACE "/" "_" name "${sub}")
    if(TARGET supplink_${name})
      list(APPEND logic supplink_${name})
    endif()
  endforeach()
  supplink_check_no_widgets(${logic})

  get_property(targets GLOBAL PROPERTY SUPPLINK_TARGETS)
  # Which library each source file belongs to.
  foreach(target IN LISTS targets)
    get_target_property(sources ${target} SOURCES)
    get_target_property(dir ${target} SOURCE_DIR)
    set(files_${target})
    foreach(file IN LISTS sources)
      get_filename_component(file ${file} ABSOLUTE BASE_DIR ${dir})
      string(MAKE_C_IDENTIFIER "${file}" id)
      set(owner_${id} ${target})
      list(APPEND files_${target} ${file})
    endforeach()
  endforeach()

  # No cycles, and every link points down.
  list(LENGTH SUPPLINK_SUBSYSTEMS floors)
  foreach(target IN LISTS targets)
    supplink_link_closure(${target} closure via)
    if(target IN_LIST closure)
      _supplink_link_path(${target} ${target} via chain)
      message(FATAL_ERROR "${target} links itself (${chain}): the libraries form a cycle.")
    endif()
    _supplink_floor(${target} index subsystem ui)
    get_target_property(type ${target} TYPE)
    if(index EQUAL -1 OR type STREQUAL "EXECUTABLE")
      # The program stands above every library.
      continue()
    endif()
    _supplink_direct_links(${target} links)
    foreach(link IN LISTS links)
      if(NOT link IN_LIST targets)
        continue()
      endif()
      _supplink_floor(${link} link_index link_subsystem link_ui)
      if(link_index EQUAL -1)
        message(FATAL_ERROR
          "${target} links ${link}, which stands in no subsystem of SUPPLINK_SUBSYSTEMS (cmake/Supplink.cmake) "
          "and so above every floor, with the program. A library of a subsystem links only libraries below "
          "it; give ${link} a place in the list or move it into a subsystem listed before ${subsystem}.")
      elseif(link_index GREATER index)
        message(FATAL_ERROR
          "${target} links ${link}, which does not stand below it: SUPPLINK_SUBSYSTEMS (cmake/Supplink.cmake) "
          "lists ${link_subsystem} after ${subsystem}. A library links only libraries below it (the "
          "subsystems listed before its own); move what both need into a subsystem listed before both.")
      elseif(link_index EQUAL index AND (NOT ui OR link_ui))
        message(FATAL_ERROR
          "${target} links ${link}, which does not stand below it: within the subsystem ${subsystem} only "
          "the window library (ui/) links the logic library.")
      endif()
    endforeach()
  endforeach()

  string(CONCAT report
    "# What each library of the program links (directly) and whose headers it includes, and the\n"
    "# floor it stands on (its subsystem's place in SUPPLINK_SUBSYSTEMS, counted from the bottom;\n"
    "# a subsystem's windows stand above its logic).\n"
    "# Written by supplink_check_layers (cmake/Supplink.cmake) when the project is configured.\n")
  foreach(target IN LISTS targets)
    supplink_link_closure(${target} closure via)
    set(included)
    foreach(file IN LISTS files_${target})
      file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
      get_filename_component(folder ${file} DIRECTORY)
      foreach(line IN LISTS lines)
        if(NOT line MATCHES "\"([^\"]+)\"")
          continue()
        endif()
        set(header ${CMAKE_MATCH_1})
        set(owner)
        foreach(candidate ${folder}/${header} ${PROJECT_SOURCE_DIR}/src/${header})
          get_filename_component(candidate ${candidate} ABSOLUTE)
          string(MAKE_C_IDENTIFIER "${candidate}" id)
          if(DEFINED owner_${id})
            set(owner ${owner_${id}})
            break()
          endif()
        endforeach()
        if(NOT owner OR owner STREQUAL target)
          continue()
        endif()
        if(NOT owner IN_LIST closure)
          file(RELATIVE_PATH shown ${PROJECT_SOURCE_DIR} ${file})
          message(FATAL_ERROR
            "${shown} (${target}) includes ${header} of ${owner}, which ${target} does not link. A "
            "library includes only headers of the libraries it links, and a lower layer never "
            "includes a higher one (windows, the wizard, the program's entry point).")
        endif()
        list(APPEND included ${owner})
      endforeach()
    endforeach()
    list(REMOVE_DUPLICATES included)
    # What the target's CMakeLists.txt names, as written (also what is no target here).
    get_target_property(links ${target} LINK_LIBRARIES)
    list(FILTER links EXCLUDE REGEX "^::@")
    list(JOIN links " " links)
    list(JOIN included " " included)
    get_target_property(type ${target} TYPE)
    _supplink_floor(${target} index subsystem ui)
    if(type STREQUAL "EXECUTABLE")
      set(kind "program, above every floor")
    elseif(index EQUAL -1)
      set(kind "in no subsystem, above every floor")
    else()
      math(EXPR floor "${index} + 1")
      if(ui)
        set(kind "windows of ${subsystem}, floor ${floor} of ${floors}")
      else()
        set(kind "logic of ${subsystem}, floor ${floor} of ${floors}")
      endif()
    endif()
    string(APPEND report "\n${target} (${kind})\n  links:    ${links}\n  includes: ${included}\n")
  endforeach()
  file(WRITE ${PROJECT_BINARY_DIR}/supplink-layers.txt "${report}")
endfunction()
