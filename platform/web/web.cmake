# The browser build, made by scripts/web.sh with the toolchain's emcmake:
#   emcmake cmake -S . -B build-web/game -DVELMORA_WEB_PREFIX=<FreeType prefix>
#       -DVELMORA_NATIVE_TOOLS=<native build>/velmora-native-tools.cmake
# SDL 1.2 comes from the files here over the toolchain's SDL event layer,
# texts from platform/sdl_ttf over FreeType built by build-freetype.sh. The
# game is velmora.js and velmora.wasm, started by the page index.html (made
# from velmora.html) which fetches them and data/ compressed, with its
# manifest, icons and service worker (velmora.webmanifest, velmora-192.png,
# velmora-512.png, velmora-sw.js): all in site/, by pack.cmake.
set(VELMORA_WEB_PREFIX "$ENV{VELMORA_WEB_PREFIX}" CACHE PATH "FreeType built for the browser (build-freetype.sh)")
if(NOT EXISTS "${VELMORA_WEB_PREFIX}/lib/libfreetype.a")
  message(FATAL_ERROR "The browser build needs FreeType built by platform/web/build-freetype.sh: -DVELMORA_WEB_PREFIX=<its prefix>")
endif()
set(VELMORA_WEB_DIR ${PROJECT_SOURCE_DIR}/platform/web)

add_library(velmora_web_sdl STATIC
  ${VELMORA_WEB_DIR}/web_video.cpp
  ${VELMORA_WEB_DIR}/web_files.cpp
  ${VELMORA_WEB_DIR}/web_sound.cpp
  ${PROJECT_SOURCE_DIR}/platform/sdl_ttf/SDL_ttf.cpp)
# The SDL.h that completes the toolchain's SDL headers, and the game's own
# SDL_ttf.h in place of the toolchain's; then those headers themselves,
# named here because their records must be the ones the toolchain's event
# layer fills. Newer toolchains put them on the path only with -sUSE_SDL,
# and then ahead of every folder of the project (the game would get them
# without SDL_GetKeyState); without it, a stand-in SDL.h that stops the
# build (fakesdl). Named first, they are found in this order by every
# toolchain.
set(VELMORA_WEB_SDL_HEADERS ${EMSCRIPTEN_SYSROOT}/include/SDL)
if(NOT EXISTS "${VELMORA_WEB_SDL_HEADERS}/SDL_events.h")
  message(FATAL_ERROR "The toolchain's SDL headers are not in ${VELMORA_WEB_SDL_HEADERS}")
endif()
target_include_directories(velmora_web_sdl BEFORE PUBLIC ${VELMORA_WEB_DIR}/include
                           ${PROJECT_SOURCE_DIR}/platform/sdl_ttf ${VELMORA_WEB_SDL_HEADERS})
target_include_directories(velmora_web_sdl PRIVATE ${VELMORA_WEB_PREFIX}/include/freetype2)
target_link_libraries(velmora_web_sdl PUBLIC ${VELMORA_WEB_PREFIX}/lib/libfreetype.a)
# The game's screens are blocking loops: ASYNCIFY lets SDL_Delay and the
# flip's wait for the display give the browser its turn.
target_link_options(velmora_web_sdl INTERFACE
  "SHELL:--js-library ${VELMORA_WEB_DIR}/web_platform.js"
  -sASYNCIFY "-sASYNCIFY_IMPORTS=['velmora_present','velmora_file_wait','velmora_turn']"
  # FreeType never waits, but is reached through function pointers, which
  # would make all of it ready to: left as it is, the page's code is 50 KB
  # smaller on the wire. The text drawing may give the browser its turn
  # between texts (SDL_CreateRGBSurface).
  "-sASYNCIFY_REMOVE=['FT_*','ft_*','tt_*','TT_*','cff_*','cf2_*','ps_*','PS_*','af_*','t1_*','T1_*','pfr_*','cid_*','T42_*','t42_*','sfnt_*','psh_*','afm_*','pcf_*','PCF_*','bdf_*','BDF_*','FNT_*','fnt_*','raccess_*','sdf_*','gray_*']"
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864 -sEXIT_RUNTIME=1)
# The game's targets link SDL under this name on every platform.
add_library(PkgConfig::SDLLIBS ALIAS velmora_web_sdl)

# The game for the page, and the page's folder (site/) made by pack.cmake:
# data/ is not linked in but fetched by the page file by file, in the order
# the game needs them (below; files not named come last).
set(VELMORA_WEB_ORDER
  data/Font.ttf data/Velmora.bmp data/screen2.bmp data/Laser.bmp data/Fadenkreuz.bmp data/MiniBall.bmp data/VelmoraMini.bmp
  data/VMFeld.bmp data/VMFeldDecker.bmp data/TestFigur1.bmp data/TestFigur2.bmp
  data/Ball.bmp data/Ballschatten.bmp data/SchFenster.bmp data/Leiste.bmp data/Leistendecker.bmp
  data/LadeOK.wav data/Schuss.wav data/BlockPl1.wav data/BlockPl2.wav data/PL1.wav data/PL2.wav)
function(velmora_web_game target)
  add_dependencies(${target} assets)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${VELMORA_WEB_DIR}/web_platform.js)
  # The home screen's icons, by the icon drawer of the other platforms.
  set(extra ${VELMORA_WEB_DIR}/velmora.webmanifest)
  foreach(size 32 192 512)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/velmora-${size}.png
      COMMAND velmora_make_icon ${CMAKE_BINARY_DIR}/velmora-${size}.png ${size}
      DEPENDS velmora_make_icon)
    list(APPEND extra ${CMAKE_BINARY_DIR}/velmora-${size}.png)
  endforeach()
  set(site ${CMAKE_BINARY_DIR}/site)
  string(REPLACE ";" "," order "${VELMORA_WEB_ORDER}")
  string(REPLACE ";" "," extra_list "${extra}")
  add_custom_command(OUTPUT ${site}/index.html ${site}/velmora-sw.js
    COMMAND ${CMAKE_COMMAND} -DGAME=$<TARGET_FILE_DIR:${target}> -DSITE=${site}
            -DPAGE=${VELMORA_WEB_DIR}/velmora.html -DWORKER=${VELMORA_WEB_DIR}/velmora-sw.js
            -DORDER=${order} -DEXTRA=${extra_list} -P ${VELMORA_WEB_DIR}/pack.cmake
    DEPENDS ${target} ${extra} ${CMAKE_BINARY_DIR}/data/.generated ${VELMORA_WEB_DIR}/velmora.html
            ${VELMORA_WEB_DIR}/velmora-sw.js ${VELMORA_WEB_DIR}/pack.cmake
    VERBATIM)
  add_custom_target(${target}_page ALL DEPENDS ${site}/index.html ${site}/velmora-sw.js)
endfunction()

# The replay runner (tests/replay_tool.cpp) for node, which reads data/ and
# the demos straight from the disk; tests/web/ runs every demo through it.
add_executable(velmora_replay_node EXCLUDE_FROM_ALL
  ${PROJECT_SOURCE_DIR}/tests/replay_tool.cpp
  ${PROJECT_SOURCE_DIR}/tests/replay.cpp
  ${PROJECT_SOURCE_DIR}/tests/scripted_io.cpp)
target_include_directories(velmora_replay_node PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(velmora_replay_node PRIVATE velmora_core)
target_link_options(velmora_replay_node PRIVATE -sNODERAWFS=1 -sENVIRONMENT=node)
set_property(TARGET velmora_replay_node APPEND PROPERTY LINK_DEPENDS ${VELMORA_WEB_DIR}/web_platform.js)
add_dependencies(velmora_replay_node assets)

# The six sounds through the web mixer, for tests/web/ (sound_check.html).
file(STRINGS ${PROJECT_SOURCE_DIR}/platform/data_files.def VELMORA_WEB_SOUNDS REGEX "\\.wav\"")
add_executable(velmora_sound_check EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/tests/web/sound_check.cpp)
target_link_libraries(velmora_sound_check PRIVATE velmora_core)
set_property(TARGET velmora_sound_check APPEND PROPERTY LINK_DEPENDS ${VELMORA_WEB_DIR}/web_platform.js)
foreach(line IN LISTS VELMORA_WEB_SOUNDS)
  string(REGEX REPLACE "^.*\"(data/[^\"]+)\".*$" "\\1" sound "${line}")
  target_link_options(velmora_sound_check PRIVATE "SHELL:--preload-file ${CMAKE_BINARY_DIR}/${sound}@${sound}")
endforeach()
add_dependencies(velmora_sound_check assets)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/sound_check.html
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/tests/web/sound_check.html ${CMAKE_BINARY_DIR}/sound_check.html
  DEPENDS ${PROJECT_SOURCE_DIR}/tests/web/sound_check.html)
add_custom_target(velmora_sound_check_page DEPENDS ${CMAKE_BINARY_DIR}/sound_check.html)
add_dependencies(velmora_sound_check velmora_sound_check_page)

# tests/web/sdl_same.cpp on the web platform files, under node: it must
# print what the Linux build of it prints on classic SDL 1.2.
add_executable(velmora_sdl_same_node EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/tests/web/sdl_same.cpp)
target_link_libraries(velmora_sdl_same_node PRIVATE velmora_web_sdl)
target_include_directories(velmora_sdl_same_node PRIVATE ${PROJECT_SOURCE_DIR})
target_link_options(velmora_sdl_same_node PRIVATE -sNODERAWFS=1 -sENVIRONMENT=node)
set_property(TARGET velmora_sdl_same_node APPEND PROPERTY LINK_DEPENDS ${VELMORA_WEB_DIR}/web_platform.js)
