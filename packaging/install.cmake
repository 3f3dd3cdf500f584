# Installing the game the way Debian lays out games, and a .deb through CPack:
#   <prefix>/games/velmora                       launcher on the PATH
#   <prefix>/lib/games/velmora/velmora           the program
#   <prefix>/share/games/velmora/data/           images, sounds, Font.ttf
#   <prefix>/share/applications/velmora.desktop
#   <prefix>/share/icons/hicolor/48x48/apps/velmora.png
# The game reads data/ relative to the folder it starts in, so the launcher
# changes there first.

set(VELMORA_INSTALL_GAMESDIR "games" CACHE STRING "Where the launcher goes, under the prefix")
set(VELMORA_INSTALL_PROGRAMDIR "lib/games/velmora" CACHE STRING "Where the program goes, under the prefix")
set(VELMORA_INSTALL_DATADIR "share/games/velmora" CACHE STRING "Where data/ goes, under the prefix")
option(VELMORA_INSTALL_FONT_LINK
       "Install data/Font.ttf as a link to the system font rather than a copy" ON)

# The launcher finds both from its own place, so no absolute path is baked in.
file(RELATIVE_PATH VELMORA_LAUNCHER_TO_DATA "/prefix/${VELMORA_INSTALL_GAMESDIR}"
     "/prefix/${VELMORA_INSTALL_DATADIR}")
file(RELATIVE_PATH VELMORA_LAUNCHER_TO_PROGRAM "/prefix/${VELMORA_INSTALL_GAMESDIR}"
     "/prefix/${VELMORA_INSTALL_PROGRAMDIR}/velmora")
configure_file(${CMAKE_CURRENT_LIST_DIR}/velmora.sh.in ${CMAKE_BINARY_DIR}/packaging/velmora @ONLY)

# The icon is the game's own ball, drawn at build time from data/.
pkg_check_modules(ICONLIBS REQUIRED IMPORTED_TARGET cairo)
add_executable(velmora_make_icon ${CMAKE_CURRENT_LIST_DIR}/make_icon.cpp)
target_link_libraries(velmora_make_icon PRIVATE PkgConfig::ICONLIBS PkgConfig::SDLLIBS)
set(VELMORA_ICON ${CMAKE_BINARY_DIR}/packaging/velmora.png)
add_custom_command(
  OUTPUT ${VELMORA_ICON}
  COMMAND velmora_make_icon ${CMAKE_BINARY_DIR}/data/Ball.bmp 48 ${VELMORA_ICON}
  DEPENDS velmora_make_icon assets ${CMAKE_BINARY_DIR}/data/Ball.bmp
  COMMENT "Drawing the desktop icon from the ball sprite")
add_custom_target(velmora_icon ALL DEPENDS ${VELMORA_ICON})

install(TARGETS velmora RUNTIME DESTINATION ${VELMORA_INSTALL_PROGRAMDIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/velmora DESTINATION ${VELMORA_INSTALL_GAMESDIR})
# The files the game reads, by its own list; the font comes below.
set(VELMORA_DATA_INSTALL "")
foreach(path IN LISTS VELMORA_DATA_FILES)
  if(NOT path STREQUAL "data/Font.ttf")
    list(APPEND VELMORA_DATA_INSTALL ${CMAKE_BINARY_DIR}/${path})
  endif()
endforeach()
install(FILES ${VELMORA_DATA_INSTALL} DESTINATION ${VELMORA_INSTALL_DATADIR}/data)
if(VELMORA_INSTALL_FONT_LINK)
  # The package depends on fonts-liberation; a second copy of the font would
  # only go stale beside it.
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VELMORA_INSTALL_DATADIR}/data/Font.ttf\")
    message(STATUS \"Installing: \${link} -> ${VELMORA_FONT_SOURCE}\")
    file(REMOVE \"\${link}\")
    file(CREATE_LINK \"${VELMORA_FONT_SOURCE}\" \"\${link}\" SYMBOLIC)")
else()
  install(FILES ${CMAKE_BINARY_DIR}/data/Font.ttf DESTINATION ${VELMORA_INSTALL_DATADIR}/data)
endif()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/velmora.desktop DESTINATION share/applications)
install(FILES ${VELMORA_ICON} DESTINATION share/icons/hicolor/48x48/apps)

# The Debian package: cpack (or the "package" target) in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velmora developers")
set(CPACK_PACKAGE_CONTACT "Velmora developers <dev@velmora.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade ball game for one player against the computer")
set(CPACK_PACKAGE_DESCRIPTION
    "A small full-screen arcade ball game. Aim with the mouse, charge the power bar and loft the ball up the pitch past the computer; the first side to 7 points wins. Four fields and three computer levels.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links come from dpkg-shlibdeps when it is there
# (with the versions the build used); the font is data, so it is named.
# libsdl1.2debian (>= 1.2.15) is met by classic SDL 1.2 and by sdl12-compat
# alike: Debian 13's libsdl1.2debian is sdl12-compat, and Debian 12's
# libsdl1.2-compat-shim provides it.
find_program(VELMORA_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VELMORA_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libsdl1.2debian, libsdl-ttf2.0-0, libsdl-mixer1.2, fonts-liberation")
endif()
include(CPack)
