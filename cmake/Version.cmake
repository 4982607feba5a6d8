# The one version of Salt Fang. PROJECT_VERSION (the project() call) is the last release; a build
# between tags adds what git describe says about it, so every artefact names the commit it came from:
#   1.0.0                  at the tag v1.0.0 (or from a source tree without git)
#   1.0.0+5.gab44ca3       five commits after v1.0.0
#   1.0.0+132.gab44ca3     no tag reached: the commits since the start
# The '+' form sorts after the release in Debian's and AppStream's version order. SALTFANG_VERSION
# may be set from outside, as a cache variable or in the environment (an exported tree has no git).
# In script mode (cmake -P cmake/Version.cmake) it prints the version alone.
set(_root ${CMAKE_CURRENT_LIST_DIR}/..)
if(NOT PROJECT_VERSION)
  file(STRINGS ${_root}/CMakeLists.txt _project REGEX "^project\\(SaltFang VERSION ")
  string(REGEX REPLACE ".*VERSION ([0-9.]+).*" "\\1" PROJECT_VERSION "${_project}")
  string(REPLACE "." ";" _numbers ${PROJECT_VERSION})
  list(GET _numbers 0 PROJECT_VERSION_MAJOR)
  list(GET _numbers 1 PROJECT_VERSION_MINOR)
  list(GET _numbers 2 PROJECT_VERSION_PATCH)
endif()
if(NOT SALTFANG_VERSION AND DEFINED ENV{SALTFANG_VERSION})
  set(SALTFANG_VERSION $ENV{SALTFANG_VERSION})
endif()
if(NOT SALTFANG_VERSION)
  set(SALTFANG_VERSION ${PROJECT_VERSION})
  find_package(Git QUIET)
  if(GIT_FOUND AND EXISTS ${_root}/.git)
    execute_process(COMMAND ${GIT_EXECUTABLE} describe --tags --long --match "v[0-9]*" HEAD
      WORKING_DIRECTORY ${_root} OUTPUT_VARIABLE _describe RESULT_VARIABLE _rc
      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(_rc EQUAL 0 AND _describe MATCHES "^v(.+)-([0-9]+)-g([0-9a-f]+)$")
      set(_since ${CMAKE_MATCH_2})
      set(_hash ${CMAKE_MATCH_3})
    else()
      execute_process(COMMAND ${GIT_EXECUTABLE} rev-list --count HEAD
        WORKING_DIRECTORY ${_root} OUTPUT_VARIABLE _since RESULT_VARIABLE _rc1
        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --short=7 HEAD
        WORKING_DIRECTORY ${_root} OUTPUT_VARIABLE _hash RESULT_VARIABLE _rc2
        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      if(NOT (_rc1 EQUAL 0 AND _rc2 EQUAL 0))
        set(_since 0)
      endif()
    endif()
    if(_since GREATER 0)
      set(SALTFANG_VERSION "${PROJECT_VERSION}+${_since}.g${_hash}")
    endif()
  endif()
endif()
# Windows wants four numbers for its version resource.
set(SALTFANG_VERSION_NUMBERS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
if(CMAKE_SCRIPT_MODE_FILE)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${SALTFANG_VERSION}")
else()
  message(STATUS "Salt Fang version ${SALTFANG_VERSION}")
  # A new commit or tag reconfigures, so the version follows it.
  foreach(_ref .git/HEAD .git/packed-refs .git/refs/heads .git/refs/tags)
    if(EXISTS ${_root}/${_ref})
      set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_root}/${_ref})
    endif()
  endforeach()
endif()
