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

# The C and C++ runtimes go into the executable, so the folder needs only the libraries' DLLs.
target_link_options(saltfang PRIVATE -static-libgcc -static-libstdc++)

# The DLLs it imports (and theirs in turn) beside the executable: the libraries' from the Windows
# prefix, winpthread's from the toolchain. A target of its own that always runs (it copies only what
# is missing or newer), so a folder with a DLL deleted is whole again after the next build.
file(GLOB _gcc_runtime_dirs /usr/lib/gcc/x86_64-w64-mingw32/*-posix)
add_custom_target(saltfang_dlls ALL
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/windows/bundle-dlls $<TARGET_FILE:saltfang>
    ${SALTFANG_WINDOWS_PREFIX}/bin /usr/x86_64-w64-mingw32/lib ${_gcc_runtime_dirs}
  COMMENT "Copying the DLLs saltfang.exe needs beside it")
add_dependencies(saltfang_dlls saltfang)
