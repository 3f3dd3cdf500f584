# Makes the page's folder SITE from the linked game in GAME (velmora.js,
# velmora.wasm, data/):
# - each file compressed once, by zopfli (gzip's format, smaller than
#   gzip's own), and named files/<name>.<digest>.gz, so that a release
#   changes the names, and so the downloads, of the changed files only;
# - index.html, the page, with the list of those files in the order the game
#   needs them (ORDER, then any other data file), which it fetches itself and
#   decompresses in the browser: no host setting matters;
# - the service worker, with the list of everything it keeps, and the EXTRA
#   files (manifest, icons) beside them.
#   cmake -DGAME=dir -DSITE=dir -DPAGE=velmora.html -DWORKER=velmora-sw.js
#         -DORDER=data/a,data/b -DEXTRA=f1,f2 -P pack.cmake
cmake_minimum_required(VERSION 3.16)
find_program(ZOPFLI zopfli REQUIRED)
string(REPLACE "," ";" ORDER "${ORDER}")
string(REPLACE "," ";" EXTRA "${EXTRA}")
file(GLOB data RELATIVE "${GAME}" "${GAME}/data/*")
list(SORT data)
list(REMOVE_ITEM data data/.generated)
set(rest ${data})
list(REMOVE_ITEM rest ${ORDER})
set(names velmora.js velmora.wasm ${ORDER} ${rest})

file(REMOVE_RECURSE "${SITE}/files")
file(MAKE_DIRECTORY "${SITE}/files" "${GAME}/packed")
set(list "")
set(kept "")
foreach(name IN LISTS names)
  if(NOT EXISTS "${GAME}/${name}")
    message(FATAL_ERROR "pack.cmake: no ${GAME}/${name}")
  endif()
  file(SHA256 "${GAME}/${name}" sum)
  # Compressed once per content: a rebuild recompresses only what changed.
  set(packed "${GAME}/packed/${sum}.gz")
  if(NOT EXISTS "${packed}")
    execute_process(COMMAND "${ZOPFLI}" -c "${GAME}/${name}" OUTPUT_FILE "${packed}.part"
                    RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "zopfli failed on ${name}")
    endif()
    file(RENAME "${packed}.part" "${packed}")
  endif()
  get_filename_component(base "${name}" NAME_WE)
  get_filename_component(ext "${name}" LAST_EXT)
  string(SUBSTRING "${sum}" 0 16 short)
  set(url "files/${base}.${short}${ext}.gz")
  configure_file("${packed}" "${SITE}/${url}" COPYONLY)
  file(SIZE "${packed}" size)
  string(APPEND list "\n['${name}', '${url}', ${size}, '${sum}'],")
  string(APPEND kept "\n  '${url}',")
endforeach()

file(READ "${PAGE}" page)
# The page comes before everything and no host need compress it: without
# its indentation and whole-line comments (it has no <pre> text).
string(REGEX REPLACE "\n[ ]+" "\n" page "${page}")
string(REGEX REPLACE "\n//[^\n]*" "" page "${page}")
string(REPLACE "/*@FILES@*/[]" "[${list}\n]" page "${page}")
file(WRITE "${SITE}/index.html" "${page}")
set(shell "'./', 'index.html', 'velmora-sw.js'")
foreach(extra IN LISTS EXTRA)
  get_filename_component(extra_name "${extra}" NAME)
  configure_file("${extra}" "${SITE}/${extra_name}" COPYONLY)
  string(APPEND shell ", '${extra_name}'")
endforeach()
# The worker names the page's digest: a new page is a new worker, which the
# browser installs in place of the old one.
file(SHA256 "${SITE}/index.html" page_sum)
file(READ "${WORKER}" worker)
string(REPLACE "/*@FILES@*/[]" "[${shell},${kept}\n]" worker "${worker}")
string(REPLACE "@RELEASE@" "${page_sum}" worker "${worker}")
file(WRITE "${SITE}/velmora-sw.js" "${worker}")
