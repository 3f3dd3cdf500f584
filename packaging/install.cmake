# Installing the game the way Debian lays out games, and two .debs through
# CPack: velmora (component "game", the program) and velmora-data (component
# "data", architecture all):
#   <prefix>/games/velmora                       launcher on the PATH
#   <prefix>/lib/games/velmora/velmora           the program
#   <prefix>/share/games/velmora/data/           images, sounds, Font.ttf (data)
#   <prefix>/share/applications/io.github.velmora.Velmora.desktop
#   <prefix>/share/metainfo/io.github.velmora.Velmora.metainfo.xml
#   <prefix>/share/icons/hicolor/NxN/apps/io.github.velmora.Velmora.png
#   <prefix>/share/man/man6/velmora.6.gz
#   <prefix>/share/doc/velmora{,-data}/copyright, changelog.gz
# The game reads data/ relative to the folder it starts in, so the launcher
# changes there first.

set(VELMORA_INSTALL_GAMESDIR "games" CACHE STRING "Where the launcher goes, under the prefix")
set(VELMORA_INSTALL_PROGRAMDIR "lib/games/velmora" CACHE STRING "Where the program goes, under the prefix")
set(VELMORA_INSTALL_DATADIR "share/games/velmora" CACHE STRING "Where data/ goes, under the prefix")
option(VELMORA_INSTALL_FONT_LINK
       "Install data/Font.ttf as a link to the system font rather than a copy" ON)
set(VELMORA_APP_ID io.github.velmora.Velmora)
set(VELMORA_PACKAGING ${CMAKE_BINARY_DIR}/packaging)

# Debian's hardening flags (fortify, stack protector, relro, bind now) for
# the program the package ships, from dpkg-buildflags as a Debian package
# build would take them. Not in the sanitizer or Debug builds: fortify needs
# optimisation, and the sanitizers do that job there.
option(VELMORA_HARDENING "Build the program with dpkg-buildflags' hardening flags" ON)
find_program(VELMORA_DPKG_BUILDFLAGS dpkg-buildflags)
if(VELMORA_HARDENING AND VELMORA_DPKG_BUILDFLAGS AND NOT VELMORA_SANITIZE
   AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${VELMORA_DPKG_BUILDFLAGS} --get ${kind}
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    # The build type chooses optimisation and debug information.
    list(FILTER flags EXCLUDE REGEX "^-(O[0-9s]?|g)$")
    set(VELMORA_HARDENING_${kind} ${flags})
  endforeach()
  foreach(target velmora_core velmora)
    target_compile_options(${target} PRIVATE ${VELMORA_HARDENING_CPPFLAGS} ${VELMORA_HARDENING_CXXFLAGS})
  endforeach()
  target_link_options(velmora PRIVATE ${VELMORA_HARDENING_LDFLAGS})
  message(STATUS "Hardening the program with: ${VELMORA_HARDENING_CPPFLAGS} ${VELMORA_HARDENING_CXXFLAGS} ${VELMORA_HARDENING_LDFLAGS}")
endif()

# The version and the date of the newest entry of packaging/changelog: the
# changelog must name the project's version, and its date is the release's
# for the manual page and the AppStream metadata.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog VELMORA_CHANGELOG_HEAD LIMIT_COUNT 1)
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog VELMORA_CHANGELOG_DATE REGEX "^ -- " LIMIT_COUNT 1)
if(NOT VELMORA_CHANGELOG_HEAD MATCHES "^velmora \\(([^)]+)\\) ")
  message(FATAL_ERROR "packaging/changelog does not start with an entry 'velmora (VERSION) ...'")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog's newest entry is ${CMAKE_MATCH_1}, the project is "
                      "${PROJECT_VERSION}: add an entry for ${PROJECT_VERSION}")
endif()
if(NOT VELMORA_CHANGELOG_DATE MATCHES ">  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog: no date in '${VELMORA_CHANGELOG_DATE}'")
endif()
set(day ${CMAKE_MATCH_1})
set(year ${CMAKE_MATCH_3})
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months "${CMAKE_MATCH_2}" month)
if(month LESS 0)
  message(FATAL_ERROR "packaging/changelog: no month '${CMAKE_MATCH_2}'")
endif()
math(EXPR month "${month} + 1")
if(month LESS 10)
  set(month 0${month})
endif()
set(VELMORA_RELEASE_DATE ${year}-${month}-${day})

# The launcher finds both from its own place, so no absolute path is baked in.
file(RELATIVE_PATH VELMORA_LAUNCHER_TO_DATA "/prefix/${VELMORA_INSTALL_GAMESDIR}"
     "/prefix/${VELMORA_INSTALL_DATADIR}")
file(RELATIVE_PATH VELMORA_LAUNCHER_TO_PROGRAM "/prefix/${VELMORA_INSTALL_GAMESDIR}"
     "/prefix/${VELMORA_INSTALL_PROGRAMDIR}/velmora")
# Where Debian puts sdl12-compat beside classic SDL 1.2.
set(VELMORA_SDL12_COMPAT_DIR /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/sdl12-compat)
configure_file(${CMAKE_CURRENT_LIST_DIR}/velmora.sh.in ${VELMORA_PACKAGING}/velmora @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/${VELMORA_APP_ID}.metainfo.xml.in
               ${VELMORA_PACKAGING}/${VELMORA_APP_ID}.metainfo.xml @ONLY)
# The copyright file carries the copyright line and the licence text of
# LICENSE, in its own format.
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE VELMORA_COPYRIGHT_HOLDER REGEX "^Copyright " LIMIT_COUNT 1)
string(REGEX REPLACE "^Copyright (\\(c\\) )?" "" VELMORA_COPYRIGHT_HOLDER "${VELMORA_COPYRIGHT_HOLDER}")
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE licence_lines)
list(FILTER licence_lines EXCLUDE REGEX "^(MIT License|Copyright .*)$")
set(VELMORA_EXPAT_TEXT "")
set(started OFF)
foreach(line IN LISTS licence_lines)
  if(line STREQUAL "" AND NOT started)
    continue()
  endif()
  set(started ON)
  if(line STREQUAL "")
    string(APPEND VELMORA_EXPAT_TEXT " .\n")
  else()
    string(APPEND VELMORA_EXPAT_TEXT " ${line}\n")
  endif()
endforeach()
string(STRIP "${VELMORA_EXPAT_TEXT}" VELMORA_EXPAT_TEXT)
string(PREPEND VELMORA_EXPAT_TEXT " ")
# The font's terms are those of the fonts-liberation this system has:
# Debian 12's 1.07 is GPL-2 with Red Hat's exceptions, the 2.x of later
# releases the SIL Open Font License.
set(VELMORA_FONT_TERMS /usr/share/doc/fonts-liberation/copyright CACHE FILEPATH
    "The copyright file of the fonts-liberation the font comes from")
set(font_variant font-gpl2)
if(EXISTS ${VELMORA_FONT_TERMS})
  file(STRINGS ${VELMORA_FONT_TERMS} ofl_lines REGEX "Open Font License" LIMIT_COUNT 1)
  if(ofl_lines)
    set(font_variant font-ofl)
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VELMORA_FONT_TERMS})
endif()
file(READ ${CMAKE_CURRENT_LIST_DIR}/${font_variant}.copyright font_copyright)
string(FIND "${font_copyright}" "\n\nLicense:" split)
string(SUBSTRING "${font_copyright}" 0 ${split} VELMORA_FONT_FILES)
math(EXPR split "${split} + 2")
string(SUBSTRING "${font_copyright}" ${split} -1 VELMORA_FONT_LICENSE)
string(STRIP "${VELMORA_FONT_LICENSE}" VELMORA_FONT_LICENSE)
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${VELMORA_PACKAGING}/copyright @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/velmora.6.in ${VELMORA_PACKAGING}/velmora.6 @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_CURRENT_LIST_DIR}/changelog ${PROJECT_SOURCE_DIR}/LICENSE)

# The changelog and the manual page, compressed as Debian wants them: at
# the highest level, without the name or time of the file.
set(VELMORA_GZIPPED "")
foreach(pair "changelog;${CMAKE_CURRENT_LIST_DIR}/changelog" "velmora.6;${VELMORA_PACKAGING}/velmora.6")
  list(GET pair 0 name)
  list(GET pair 1 source)
  add_custom_command(
    OUTPUT ${VELMORA_PACKAGING}/gz/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VELMORA_PACKAGING}/gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${VELMORA_PACKAGING}/gz/${name}
    COMMAND gzip -9nf ${VELMORA_PACKAGING}/gz/${name}
    DEPENDS ${source}
    COMMENT "Compressing ${name}")
  list(APPEND VELMORA_GZIPPED ${VELMORA_PACKAGING}/gz/${name}.gz)
endforeach()
add_custom_target(velmora_docs ALL DEPENDS ${VELMORA_GZIPPED})

# The icons: the game's ball, drawn at each size of the icon theme.
set(VELMORA_ICON_SIZES 16 32 48 64 128 256)
set(VELMORA_ICONS "")
foreach(size IN LISTS VELMORA_ICON_SIZES)
  set(icon ${VELMORA_PACKAGING}/icons/${size}x${size}/apps/${VELMORA_APP_ID}.png)
  add_custom_command(
    OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VELMORA_PACKAGING}/icons/${size}x${size}/apps
    COMMAND velmora_make_icon ${icon} ${size}
    DEPENDS velmora_make_icon
    COMMENT "Drawing the ${size}x${size} icon")
  list(APPEND VELMORA_ICONS ${icon})
endforeach()
add_custom_target(velmora_icons ALL DEPENDS ${VELMORA_ICONS})

install(TARGETS velmora RUNTIME DESTINATION ${VELMORA_INSTALL_PROGRAMDIR} COMPONENT game)
# CPack strips the program (CMAKE_INSTALL_DO_STRIP, as cmake --install
# --strip does); the compiler's .comment and .note sections go too, as
# Debian's own packages leave them out.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment --remove-section=.note
                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VELMORA_INSTALL_PROGRAMDIR}/velmora\"
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()" COMPONENT game)
install(PROGRAMS ${VELMORA_PACKAGING}/velmora DESTINATION ${VELMORA_INSTALL_GAMESDIR} COMPONENT game)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${VELMORA_APP_ID}.desktop DESTINATION share/applications
        COMPONENT game)
install(FILES ${VELMORA_PACKAGING}/${VELMORA_APP_ID}.metainfo.xml DESTINATION share/metainfo
        COMPONENT game)
install(DIRECTORY ${VELMORA_PACKAGING}/icons/ DESTINATION share/icons/hicolor COMPONENT game)
install(FILES ${VELMORA_PACKAGING}/gz/velmora.6.gz DESTINATION share/man/man6 COMPONENT game)
foreach(component game data)
  set(package velmora)
  if(component STREQUAL "data")
    set(package velmora-data)
  endif()
  install(FILES ${VELMORA_PACKAGING}/copyright ${VELMORA_PACKAGING}/gz/changelog.gz
          DESTINATION share/doc/${package} COMPONENT ${component})
endforeach()

# The files the game reads, by its own list; the font comes below.
set(VELMORA_DATA_INSTALL "")
foreach(path IN LISTS VELMORA_DATA_FILES)
  if(NOT path STREQUAL "data/Font.ttf")
    list(APPEND VELMORA_DATA_INSTALL ${CMAKE_BINARY_DIR}/${path})
  endif()
endforeach()
install(FILES ${VELMORA_DATA_INSTALL} DESTINATION ${VELMORA_INSTALL_DATADIR}/data COMPONENT data)
if(VELMORA_INSTALL_FONT_LINK)
  # The package depends on fonts-liberation; a second copy of the font would
  # only go stale beside it. Where the font lies under the same prefix (the
  # package's /usr), the link is relative, as Debian wants it; an install
  # under another prefix links to it by its full path.
  install(CODE "
    set(data \"\${CMAKE_INSTALL_PREFIX}/${VELMORA_INSTALL_DATADIR}/data\")
    set(target \"${VELMORA_FONT_SOURCE}\")
    string(FIND \"\${target}\" \"\${CMAKE_INSTALL_PREFIX}/\" at)
    if(at EQUAL 0)
      file(RELATIVE_PATH target \"\${data}\" \"\${target}\")
    endif()
    set(link \"\$ENV{DESTDIR}\${data}/Font.ttf\")
    message(STATUS \"Installing: \${link} -> \${target}\")
    file(REMOVE \"\${link}\")
    file(CREATE_LINK \"\${target}\" \"\${link}\" SYMBOLIC)" COMPONENT data)
else()
  install(FILES ${CMAKE_BINARY_DIR}/data/Font.ttf DESTINATION ${VELMORA_INSTALL_DATADIR}/data COMPONENT data)
endif()

# The Debian packages: cpack (or the "package" target) in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velmora developers")
set(CPACK_PACKAGE_CONTACT "Velmora developers <dev@velmora.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game data)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SOURCE velmora)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://velmora.github.io/")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_GAME_PACKAGE_NAME velmora)
set(CPACK_DEBIAN_DATA_PACKAGE_NAME velmora-data)
set(CPACK_DEBIAN_DATA_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DATA_PACKAGE_SECTION games)
set(CPACK_DEBIAN_DATA_PACKAGE_MULTIARCH foreign)
# Debian wraps descriptions at 80 columns; the first line is the summary.
set(CPACK_DEBIAN_GAME_DESCRIPTION "arcade ball game for one player against the computer
Velmora is a small full-screen arcade ball game. Aim with the mouse,
charge the power bar and loft the ball up the pitch past the computer:
where the crosshair stands over the target window sets the lift and the
curve, and the ball's height shows only as the distance to its shadow.
A ball over the end line behind the other side scores a point; the first
side to 7 points wins.
.
The computer plays at three levels; four clubs, each with its own height,
speed and precision, and four looks of the field are chosen on the
options screen. It runs on classic SDL 1.2 and on sdl12-compat.")
set(CPACK_DEBIAN_DATA_DESCRIPTION "arcade ball game for one player against the computer - data
Velmora is a small full-screen arcade ball game. Aim with the mouse,
charge the power bar and loft the ball up the pitch past the computer;
the first side to 7 points wins.
.
This package holds the game's pictures and sounds, drawn and synthesised
when the game was built, and the link to its font.")

# The program's libraries come from dpkg-shlibdeps when it is there (with the
# versions the build used). libsdl1.2debian (>= 1.2.15) is met by classic
# SDL 1.2 and by sdl12-compat alike: Debian 13's libsdl1.2debian is
# sdl12-compat, and Debian 12's libsdl1.2-compat-shim provides it. The data
# package brings the font.
find_program(VELMORA_DPKG_SHLIBDEPS dpkg-shlibdeps)
set(CPACK_DEBIAN_GAME_PACKAGE_DEPENDS "velmora-data (= ${PROJECT_VERSION})")
if(VELMORA_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_GAME_PACKAGE_SHLIBDEPS ON)
else()
  string(APPEND CPACK_DEBIAN_GAME_PACKAGE_DEPENDS ", libsdl1.2debian, libsdl-ttf2.0-0, libsdl-mixer1.2")
endif()
set(CPACK_DEBIAN_DATA_PACKAGE_DEPENDS "fonts-liberation")
if(CMAKE_CROSSCOMPILING)
  # A package for another processor (platform/linux/toolchain.cmake): its
  # architecture, and dpkg-shlibdeps looks at that architecture's libraries
  # in the sysroot, through the dpkg database made beside them.
  set(CPACK_DEBIAN_GAME_PACKAGE_ARCHITECTURE ${VELMORA_DEB_ARCH})
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
      ${CMAKE_SYSROOT}/lib/${CMAKE_LIBRARY_ARCHITECTURE} ${CMAKE_SYSROOT}/usr/lib/${CMAKE_LIBRARY_ARCHITECTURE})
  file(WRITE ${VELMORA_PACKAGING}/cross-cpack.cmake
       "set(ENV{DPKG_ADMINDIR} \"${CMAKE_SYSROOT}/var/lib/velmora-dpkg\")\n"
       "set(ENV{DEB_HOST_ARCH} ${VELMORA_DEB_ARCH})\n")
  set(CPACK_PROJECT_CONFIG_FILE ${VELMORA_PACKAGING}/cross-cpack.cmake)
endif()
# The same bytes from the same tree: dates, owners, modes and order fixed.
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debs-same-bytes.cmake)
set(CPACK_VELMORA_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_VELMORA_RELEASE_DATE ${VELMORA_RELEASE_DATE})
include(CPack)
