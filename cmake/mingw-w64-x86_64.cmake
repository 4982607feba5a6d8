# Cross build for 64-bit Windows with Debian's mingw-w64 toolchain, posix threads variant
# (std::thread and std::mutex need it). The libraries built for Windows live in one prefix,
# given by SALTFANG_WINDOWS_PREFIX in the environment or the cache.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)
set(CMAKE_AR ${_triple}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${_triple}-ranlib CACHE FILEPATH "")

if(NOT SALTFANG_WINDOWS_PREFIX AND DEFINED ENV{SALTFANG_WINDOWS_PREFIX})
  set(SALTFANG_WINDOWS_PREFIX $ENV{SALTFANG_WINDOWS_PREFIX})
endif()
# try_compile projects see the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SALTFANG_WINDOWS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${_triple} ${SALTFANG_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config answers for the Windows prefix only, never for the build machine's libraries.
if(SALTFANG_WINDOWS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} ${SALTFANG_WINDOWS_PREFIX}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
endif()
