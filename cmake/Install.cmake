# What an installation holds, in two components:
#   game    the game, its data, the desktop entry, the AppStream metadata, the icons, the manual
#   scores  the world score service, its systemd unit, settings file, system user and manual
# The Debian packages take one component each (debian/rules); by hand, for example:
#   cmake -S . -B build-install -DCMAKE_BUILD_TYPE=Release -DSALTFANG_INSTALLED=ON -DCMAKE_INSTALL_PREFIX=/usr
#   cmake --build build-install && cmake --install build-install --component game
# The game's font is not installed: the installed game takes the system's (fonts-wine, or DejaVu
# Sans Bold).
if(NOT UNIX OR APPLE OR EMSCRIPTEN OR SALTFANG_HOST_ASSETS_DIR)
  return()
endif()

# One id names the desktop entry and the AppStream component.
set(SALTFANG_APP_ID org.saltfang.SaltFang)
# The AppStream project_license, an SPDX expression.
set(SALTFANG_PROJECT_LICENSE "LicenseRef-proprietary" CACHE STRING "The game's license as an SPDX expression")
set(SALTFANG_SYSTEMD_UNITDIR "" CACHE STRING "Where the service's systemd unit goes (default: systemd's own answer)")
if(NOT SALTFANG_SYSTEMD_UNITDIR)
  pkg_get_variable(_unitdir systemd systemdsystemunitdir)
  if(NOT _unitdir)
    set(_unitdir ${CMAKE_INSTALL_PREFIX}/lib/systemd/system)
  endif()
  set(SALTFANG_SYSTEMD_UNITDIR ${_unitdir})
endif()
set(SALTFANG_SYSUSERSDIR "" CACHE STRING "Where the service's systemd-sysusers entry goes (default: systemd's own answer)")
if(NOT SALTFANG_SYSUSERSDIR)
  pkg_get_variable(_sysusersdir systemd sysusersdir)
  if(NOT _sysusersdir)
    set(_sysusersdir ${CMAKE_INSTALL_PREFIX}/lib/sysusers.d)
  endif()
  set(SALTFANG_SYSUSERSDIR ${_sysusersdir})
endif()

set(_linux ${CMAKE_SOURCE_DIR}/packaging/linux)
set(_out ${SALTFANG_GENERATED_DIR}/packaging)
file(MAKE_DIRECTORY ${_out})

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${_linux}/releases.py ${_linux}/${SALTFANG_APP_ID}.metainfo.xml.in
  ${_linux}/saltfang.6.in ${_linux}/saltfang-scores.8.in ${_linux}/saltfang-scores.service.in)
# The newest release's date dates the manuals.
file(STRINGS ${CMAKE_SOURCE_DIR}/CHANGELOG.md _heading REGEX "^## [^ ]+ .* [0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]" LIMIT_COUNT 1)
string(REGEX MATCH "[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]" SALTFANG_RELEASE_DATE "${_heading}")

# The AppStream metadata, with the release notes of CHANGELOG.md (made by python3, which a build
# for playing only may lack: the packages' builds have it).
find_package(Python3 COMPONENTS Interpreter)
if(Python3_FOUND)
  execute_process(COMMAND ${Python3_EXECUTABLE} ${_linux}/releases.py metainfo ${CMAKE_SOURCE_DIR}/CHANGELOG.md
    OUTPUT_VARIABLE SALTFANG_RELEASES_XML RESULT_VARIABLE _rc ERROR_VARIABLE _err)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "The release notes of CHANGELOG.md: ${_err}")
  endif()
  string(REPLACE "&" "&amp;" SALTFANG_WEBSITE_URL_XML "${SALTFANG_WEBSITE_URL}")
  string(REPLACE "<" "&lt;" SALTFANG_WEBSITE_URL_XML "${SALTFANG_WEBSITE_URL_XML}")
  configure_file(${_linux}/${SALTFANG_APP_ID}.metainfo.xml.in ${_out}/${SALTFANG_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${_out}/${SALTFANG_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT game)
else()
  message(STATUS "No python3: an installation of this build has no AppStream metadata")
endif()

set(SALTFANG_FULL_DATADIR ${CMAKE_INSTALL_PREFIX}/${SALTFANG_INSTALL_DATADIR})
configure_file(${_linux}/saltfang.6.in ${_out}/saltfang.6 @ONLY)

# The game.
if(NOT SALTFANG_INSTALLED)
  install(CODE "message(WARNING \"This game was built without SALTFANG_INSTALLED: installed, it looks for its data in the working folder.\")"
    COMPONENT game)
endif()
install(TARGETS saltfang RUNTIME DESTINATION ${SALTFANG_INSTALL_BINDIR} COMPONENT game)
install(FILES ${SALTFANG_GAME_DIR}/Data/Data.pp DESTINATION ${SALTFANG_INSTALL_DATADIR}/Data COMPONENT game)
install(FILES ${SALTFANG_GAME_DIR}/sound/1.xm ${SALTFANG_GAME_DIR}/sound/2.xm
  DESTINATION ${SALTFANG_INSTALL_DATADIR}/sound COMPONENT game)
install(FILES ${SALTFANG_GAME_DIR}/moregames.url DESTINATION ${SALTFANG_INSTALL_DATADIR} COMPONENT game)
install(FILES ${_linux}/${SALTFANG_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT game)
install(FILES ${_out}/saltfang.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT game)
if(TARGET game_icons)
  foreach(_size 16 22 24 32 48 64 128 256)
    install(FILES ${SALTFANG_ICON_DIR}/hicolor/${_size}x${_size}/apps/saltfang.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps COMPONENT game)
  endforeach()
  install(FILES ${SALTFANG_ICON_DIR}/hicolor/scalable/apps/saltfang.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT game)
endif()

# The world score service.
if(TARGET saltfang-scores)
  set(SALTFANG_SCORES_EXECUTABLE ${CMAKE_INSTALL_FULL_SBINDIR}/saltfang-scores)
  set(SALTFANG_SCORES_ENV_FILE ${CMAKE_INSTALL_FULL_SYSCONFDIR}/saltfang-scores.env)
  set(SALTFANG_SYSTEMD_UNIT ${SALTFANG_SYSTEMD_UNITDIR}/saltfang-scores.service)
  configure_file(${_linux}/saltfang-scores.service.in ${_out}/saltfang-scores.service @ONLY)
  configure_file(${_linux}/saltfang-scores.8.in ${_out}/saltfang-scores.8 @ONLY)
  install(TARGETS saltfang-scores RUNTIME DESTINATION ${CMAKE_INSTALL_SBINDIR} COMPONENT scores)
  install(FILES ${_out}/saltfang-scores.service DESTINATION ${SALTFANG_SYSTEMD_UNITDIR} COMPONENT scores)
  install(FILES ${_linux}/saltfang-scores.sysusers DESTINATION ${SALTFANG_SYSUSERSDIR}
    RENAME saltfang-scores.conf COMPONENT scores)
  install(FILES ${_linux}/saltfang-scores.env DESTINATION ${CMAKE_INSTALL_FULL_SYSCONFDIR} COMPONENT scores)
  install(FILES ${_out}/saltfang-scores.8 DESTINATION ${CMAKE_INSTALL_MANDIR}/man8 COMPONENT scores)
endif()
