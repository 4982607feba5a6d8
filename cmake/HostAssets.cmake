# A cross build cannot run the asset generator, so it reuses what a host build generated:
# SALTFANG_HOST_ASSETS_DIR is that build's tree (its game/ and generated/ folders, from its
# game_data target). Defines the same game_data, game_icons and sf_waves targets and
# SALTFANG_ICON_DIR as the generator's folder does.
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

# The program's icons: the host's game_data target draws them too.
set(SALTFANG_ICON_DIR ${SALTFANG_GENERATED_DIR}/icons CACHE INTERNAL "The generated program icons")
set(_icons hicolor/scalable/apps/saltfang.svg saltfang.ico)
foreach(_size 16 22 24 32 48 64 128 256)
  list(APPEND _icons hicolor/${_size}x${_size}/apps/saltfang.png)
endforeach()
foreach(_icon favicon.ico icon-192.png icon-512.png maskable-512.png apple-touch-icon.png)
  list(APPEND _icons web/${_icon})
endforeach()
set(GAME_ICONS)
foreach(_icon IN LISTS _icons)
  if(NOT EXISTS ${_assets}/generated/icons/${_icon})
    message(FATAL_ERROR "${_assets}/generated/icons/${_icon} is missing: build the host target game_data first")
  endif()
  add_custom_command(OUTPUT ${SALTFANG_ICON_DIR}/${_icon}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${_assets}/generated/icons/${_icon} ${SALTFANG_ICON_DIR}/${_icon}
    DEPENDS ${_assets}/generated/icons/${_icon}
    COMMENT "Copying the icon ${_icon} from the host build")
  list(APPEND GAME_ICONS ${SALTFANG_ICON_DIR}/${_icon})
endforeach()
add_custom_target(game_icons ALL DEPENDS ${GAME_ICONS})

if(NOT EXISTS ${_assets}/generated/EmbeddedWaves.cpp)
  message(FATAL_ERROR "${_assets}/generated/EmbeddedWaves.cpp is missing: build the host target game_data first")
endif()
add_library(sf_waves STATIC ${_assets}/generated/EmbeddedWaves.cpp)
saltfang_headers(sf_waves waves)
