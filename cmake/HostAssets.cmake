# A cross build cannot run the asset generator, so it reuses what a host build generated:
# SALTFANG_HOST_ASSETS_DIR is that build's tree (its game/ and generated/ folders, from its
# game_data target). Defines the same game_data and sf_waves targets the generator's folder does.
set(_assets ${SALTFANG_HOST_ASSETS_DIR})
set(_files Data/Data.pp sound/1.xm sound/2.xm font.ttf)
set(GAME_DATA)
foreach(_file IN LISTS _files)
  if(NOT EXISTS ${_assets}/game/${_file})
    message(FATAL_ERROR "${_assets}/game/${_file} is missing: build the host target game_data first")
  endif()
  add_custom_command(OUTPUT ${SALTFANG_GAME_DIR}/${_file}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${_assets}/game/${_file} ${SALTFANG_GAME_DIR}/${_file}
    DEPENDS ${_assets}/game/${_file}
    COMMENT "Copying ${_file} from the host build")
  list(APPEND GAME_DATA ${SALTFANG_GAME_DIR}/${_file})
endforeach()
add_custom_target(game_data DEPENDS ${GAME_DATA})

if(NOT EXISTS ${_assets}/generated/EmbeddedWaves.cpp)
  message(FATAL_ERROR "${_assets}/generated/EmbeddedWaves.cpp is missing: build the host target game_data first")
endif()
add_library(sf_waves STATIC ${_assets}/generated/EmbeddedWaves.cpp)
saltfang_headers(sf_waves waves)
