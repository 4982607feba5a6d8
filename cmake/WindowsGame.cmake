# What the Windows game executable needs: a plain main() entry and a folder that runs as it is.

# The program keeps its own main(): SDL's headers and pkg-config flags would rename it to SDL_main
# and link SDL2main's WinMain, which wants the C signature main(int, char**). The mingw runtime calls
# main() for a windowed program too, so neither is needed.
foreach(_sdl_target PkgConfig::SDL2 PkgConfig::SDL2_MIXER)
  set_property(TARGET ${_sdl_target} APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS SDL_MAIN_HANDLED)
  get_target_property(_options ${_sdl_target} INTERFACE_COMPILE_OPTIONS)
  if(_options)
    list(REMOVE_ITEM _options -Dmain=SDL_main)
    set_target_properties(${_sdl_target} PROPERTIES INTERFACE_COMPILE_OPTIONS "${_options}")
  endif()
  get_target_property(_libraries ${_sdl_target} INTERFACE_LINK_LIBRARIES)
  if(_libraries)
    list(FILTER _libraries EXCLUDE REGEX "SDL2main")
    set_target_properties(${_sdl_target} PROPERTIES INTERFACE_LINK_LIBRARIES "${_libraries}")
  endif()
endforeach()

# The build for installation, which the installer puts in place of the game folder's executable:
# it reads its data beside itself and keeps Config.cfg in the player's folder. A windowed program,
# so starting it from the Start menu opens no console; errors still come up in a message box.
saltfang_game_executable(saltfang_installed ${CMAKE_BINARY_DIR}/installed ON "")
set_target_properties(saltfang_installed PROPERTIES WIN32_EXECUTABLE ON)

# The C and C++ runtimes go into the executable, so the folder needs only the libraries' DLLs.
foreach(_target saltfang saltfang_installed)
  target_link_options(${_target} PRIVATE -static-libgcc -static-libstdc++)
endforeach()

# The version the packages are named after, for scripts/windows/package.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/version.txt CONTENT "${SALTFANG_VERSION}\n")
string(REPLACE "," "." _dotted_numbers "${SALTFANG_VERSION_NUMBERS}")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/version-numbers.txt CONTENT "${_dotted_numbers}\n")

# Version resources (the file's properties in Explorer) and the game's icon, compiled by windres.
enable_language(RC)
set(_icon ${SALTFANG_ICON_DIR}/saltfang.ico)
# windows_resources(target name description with_icon): name is the executable's file name
# without .exe.
function(windows_resources target name description with_icon)
  set(SALTFANG_RC_NAME ${name})
  set(SALTFANG_RC_DESCRIPTION ${description})
  set(SALTFANG_RC_ICON "")
  set(SALTFANG_RC_FLAGS 0)
  if(NOT SALTFANG_VERSION STREQUAL PROJECT_VERSION)
    set(SALTFANG_RC_FLAGS VS_FF_PRERELEASE)
  endif()
  set(_rc ${CMAKE_BINARY_DIR}/resources/${target}.rc)
  if(with_icon)
    # The first icon of the executable is its icon in Explorer and SDL's window icon.
    set(SALTFANG_RC_ICON "1 ICON \"${_icon}\"")
    set_source_files_properties(${_rc} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS ${_icon})
    add_dependencies(${target} game_icons)
  endif()
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/version.rc.in ${_rc} @ONLY)
  target_sources(${target} PRIVATE ${_rc})
endfunction()
windows_resources(saltfang saltfang "Salt Fang" ON)
windows_resources(saltfang_installed saltfang "Salt Fang" ON)
windows_resources(saltfang_replay saltfang-replay "Salt Fang replay viewer and checker" OFF)

# The DLLs it imports (and theirs in turn) beside the executable: the libraries' from the Windows
# prefix, winpthread's from the toolchain. A target of its own that always runs (it copies only what
# is missing or newer), so a folder with a DLL deleted is whole again after the next build.
file(GLOB _gcc_runtime_dirs /usr/lib/gcc/x86_64-w64-mingw32/*-posix)
add_custom_target(saltfang_dlls ALL
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/windows/bundle-dlls $<TARGET_FILE:saltfang>
    ${SALTFANG_WINDOWS_PREFIX}/bin /usr/x86_64-w64-mingw32/lib ${_gcc_runtime_dirs}
  COMMENT "Copying the DLLs saltfang.exe needs beside it")
add_dependencies(saltfang_dlls saltfang)
