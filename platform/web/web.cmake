# The browser build, made by scripts/web.sh with the toolchain's emcmake:
#   emcmake cmake -S . -B build-web/game -DVELMORA_WEB_PREFIX=<FreeType prefix>
#       -DVELMORA_NATIVE_TOOLS=<native build>/velmora-native-tools.cmake
# SDL 1.2 comes from the files here over the toolchain's SDL event layer,
# texts from platform/sdl_ttf over FreeType built by build-freetype.sh. The
# game is velmora.js, velmora.wasm and velmora.data (data/), started by the
# page velmora.html, with its manifest, icons and service worker
# (velmora.webmanifest, velmora-192.png, velmora-512.png, velmora-sw.js).
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
  -sASYNCIFY "-sASYNCIFY_IMPORTS=['velmora_present']"
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864 -sEXIT_RUNTIME=1)
# The game's targets link SDL under this name on every platform.
add_library(PkgConfig::SDLLIBS ALIAS velmora_web_sdl)

# The game for the page: data/ packed into velmora.data, and the page.
function(velmora_web_game target)
  add_dependencies(${target} assets)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${VELMORA_WEB_DIR}/web_platform.js)
  # The files one by one, in byte order: given the folder, the packager
  # takes them in the order the file system lists them, which differs from
  # one folder to another.
  set(files ${VELMORA_DATA_FILES})
  list(SORT files)
  foreach(file IN LISTS files)
    target_link_options(${target} PRIVATE "SHELL:--preload-file ${CMAKE_BINARY_DIR}/${file}@${file}")
  endforeach()
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${CMAKE_BINARY_DIR}/data/.generated)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DJS=$<TARGET_FILE_DIR:${target}>/${target}.js
            -DDATA=$<TARGET_FILE_DIR:${target}>/${target}.data -P ${VELMORA_WEB_DIR}/package-id.cmake)
  set(page "")
  foreach(file velmora.html velmora.webmanifest)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${file}
      COMMAND ${CMAKE_COMMAND} -E copy ${VELMORA_WEB_DIR}/${file} ${CMAKE_BINARY_DIR}/${file}
      DEPENDS ${VELMORA_WEB_DIR}/${file})
    list(APPEND page ${CMAKE_BINARY_DIR}/${file})
  endforeach()
  # The home screen's icons, by the icon drawer of the other platforms.
  foreach(size 192 512)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/velmora-${size}.png
      COMMAND velmora_make_icon ${CMAKE_BINARY_DIR}/velmora-${size}.png ${size}
      DEPENDS velmora_make_icon)
    list(APPEND page ${CMAKE_BINARY_DIR}/velmora-${size}.png)
  endforeach()
  # The service worker that keeps all of these and the game for offline play.
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/velmora-sw.js
    COMMAND ${CMAKE_COMMAND} -DVERSION=${PROJECT_VERSION} -DDIR=${CMAKE_BINARY_DIR}
            -DTEMPLATE=${VELMORA_WEB_DIR}/velmora-sw.js -DOUT=${CMAKE_BINARY_DIR}/velmora-sw.js
            -P ${VELMORA_WEB_DIR}/service-worker.cmake
    DEPENDS ${target} ${page} ${VELMORA_WEB_DIR}/velmora-sw.js ${VELMORA_WEB_DIR}/service-worker.cmake)
  add_custom_target(${target}_page ALL DEPENDS ${page} ${CMAKE_BINARY_DIR}/velmora-sw.js)
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
