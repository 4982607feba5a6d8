# The one version of Salt Fang. PROJECT_VERSION (the project() call) is the last release; a build
# between tags adds what git describe says about it, so every artefact names the commit it came from:
#   1.0.0                  at the tag v1.0.0 (or from a source tree without git)
#   1.0.0+5.gab44ca3       five commits after v1.0.0
#   1.0.0+132.gab44ca3     no tag reached: the commits since the start
# The '+' form sorts after the release in Debian's and AppStream's version order. SALTFANG_VERSION
# may be set from outside (a source package whose tree has no git).
if(NOT SALTFANG_VERSION)
  set(SALTFANG_VERSION ${PROJECT_VERSION})
  find_package(Git QUIET)
  if(GIT_FOUND AND EXISTS ${CMAKE_SOURCE_DIR}/.git)
    execute_process(COMMAND ${GIT_EXECUTABLE} describe --tags --long --match "v[0-9]*" HEAD
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE _describe RESULT_VARIABLE _rc
      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(_rc EQUAL 0 AND _describe MATCHES "^v(.+)-([0-9]+)-g([0-9a-f]+)$")
      set(_since ${CMAKE_MATCH_2})
      set(_hash ${CMAKE_MATCH_3})
    else()
      execute_process(COMMAND ${GIT_EXECUTABLE} rev-list --count HEAD
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE _since RESULT_VARIABLE _rc1
        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --short=7 HEAD
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE _hash RESULT_VARIABLE _rc2
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
message(STATUS "Salt Fang version ${SALTFANG_VERSION}")
