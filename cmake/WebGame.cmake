# The browser build's page: index.html, saltfang.js, saltfang.wasm and saltfang.data (the pack,
# the music and the font, unpacked into /game of the page's file system) in SALTFANG_WEB_DIR, with
# the page's manifest, its offline copy (sw.js), the favicon and the manifest's icons.
set(SALTFANG_WEB_DIR ${CMAKE_BINARY_DIR}/site CACHE PATH "Folder of the browser build's page")
set(_shell ${CMAKE_SOURCE_DIR}/src/platform/web/shell.html)

add_executable(saltfang src/main_browser.cpp src/watch_browser.cpp)
target_link_libraries(saltfang PRIVATE sf_app sf_replay sf_audio sf_gfx sf_platform_web sf_platform_sdl)
add_dependencies(saltfang game_data)
set_target_properties(saltfang PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${SALTFANG_WEB_DIR}
  SUFFIX ".html"
  LINK_DEPENDS "${_shell};${CMAKE_SOURCE_DIR}/src/platform/web/runtime_helpers.js;${GAME_DATA}")

target_link_options(saltfang PRIVATE
  # The online exchange and the settings' fsync suspend the program while the browser runs on.
  -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432
  -sENVIRONMENT=web -sMINIFY_HTML=0
  -sFORCE_FILESYSTEM=1 -lidbfs.js
  "-sEXPORTED_FUNCTIONS=_main,_malloc,_free"
  # What SDL's browser code calls (its own port would ask for the same).
  "SHELL:--js-library ${CMAKE_SOURCE_DIR}/src/platform/web/runtime_helpers.js"
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=saltfang_runtime_helpers
  "SHELL:--preload-file ${SALTFANG_GAME_DIR}/Data@/game/Data"
  "SHELL:--preload-file ${SALTFANG_GAME_DIR}/sound@/game/sound"
  "SHELL:--preload-file ${SALTFANG_GAME_DIR}/font.ttf@/game/font.ttf"
  "SHELL:--shell-file ${_shell}")

# The page is index.html, so the folder serves as it is.
add_custom_command(TARGET saltfang POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E rename ${SALTFANG_WEB_DIR}/saltfang.html ${SALTFANG_WEB_DIR}/index.html
  COMMENT "Naming the page index.html")

# The files beside the page, each copied again when it changes.
set(_web_src ${CMAKE_SOURCE_DIR}/src/platform/web)
set(_page_files)
foreach(_pair "${_web_src}/manifest.json|manifest.json" "${_web_src}/sw.js|sw.js"
    "${SALTFANG_ICON_DIR}/web/favicon.ico|favicon.ico" "${SALTFANG_ICON_DIR}/web/icon-192.png|icons/icon-192.png"
    "${SALTFANG_ICON_DIR}/web/icon-512.png|icons/icon-512.png"
    "${SALTFANG_ICON_DIR}/web/maskable-512.png|icons/maskable-512.png"
    "${SALTFANG_ICON_DIR}/web/apple-touch-icon.png|icons/apple-touch-icon.png")
  string(REPLACE "|" ";" _pair "${_pair}")
  list(GET _pair 0 _from)
  list(GET _pair 1 _to)
  add_custom_command(OUTPUT ${SALTFANG_WEB_DIR}/${_to}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${_from} ${SALTFANG_WEB_DIR}/${_to}
    DEPENDS ${_from} game_icons
    COMMENT "Copying ${_to} beside the page")
  list(APPEND _page_files ${SALTFANG_WEB_DIR}/${_to})
endforeach()
add_custom_target(web_page_files ALL DEPENDS ${_page_files})
add_dependencies(saltfang web_page_files)
