# Helpers that keep the module levels of src/README.md honest: every module is its own target,
# links only the modules below it, and the core is checked to stay free of Qt.

function(orvane_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# orvane_module(NAME DIR <dir> [DEPS targets...])
# A static library made of every .cpp directly inside <dir>.
function(orvane_module name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  if(NOT sources)
    # A module that holds no code yet still takes its place in the levels.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  orvane_warnings(${name})
endfunction()

# orvane_test(NAME DIR <dir> LINKS targets...)
# One GoogleTest program per tested module, made of every .cpp directly inside <dir>.
function(orvane_test name)
  cmake_parse_arguments(ARG "" "DIR" "LINKS;PROPERTIES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE ORVANE_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
                                             ORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  orvane_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES ${ARG_PROPERTIES})
endfunction()

function(_orvane_collect_links target out)
  set(seen ${${out}})
  if(target IN_LIST seen)
    return()
  endif()
  list(APPEND seen ${target})
  if(TARGET ${target})
    get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
    get_target_property(direct ${target} LINK_LIBRARIES)
    foreach(dep IN LISTS links direct)
      if(dep AND NOT dep MATCHES "NOTFOUND$" AND NOT dep MATCHES "^\\$<")
        _orvane_collect_links(${dep} seen)
      endif()
    endforeach()
  endif()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Fails the configure step when anything the core links reaches Qt.
function(orvane_check_core_is_qt_free target)
  set(all "")
  _orvane_collect_links(${target} all)
  foreach(dep IN LISTS all)
    if(dep MATCHES "^Qt[0-9]*::" OR dep MATCHES "Qt[0-9]*(Core|Gui|Widgets)")
      message(FATAL_ERROR "${target} must not depend on Qt, but reaches ${dep}")
    endif()
  endforeach()
endfunction()

# Fails the configure step when a source file of a core folder includes a Qt header: the core
# stays plain C++ even where a Qt header would happen to be on the include path.
function(orvane_refuse_qt_includes)
  foreach(dir IN LISTS ARGN)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.h ${dir}/*.cpp)
    foreach(source IN LISTS sources)
      file(STRINGS ${source} qt_includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q[A-Za-z]*[>/\"]")
      if(qt_includes)
        message(FATAL_ERROR "${source} is part of the headless core but includes Qt: ${qt_includes}")
      endif()
    endforeach()
  endforeach()
endfunction()
