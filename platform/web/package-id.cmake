# Run after the link: emscripten's file packager writes a random UUID into
# velmora.js at every build, which the page uses only to tell one
# velmora.data from another in the browser's cache. One derived from the
# data's own bytes does that job and gives the same velmora.js every time.
#   cmake -DJS=velmora.js -DDATA=velmora.data -P package-id.cmake
file(SHA256 "${DATA}" sum)
string(REGEX REPLACE "^(........)(....)(....)(....)(............).*$" "\\1-\\2-\\3-\\4-\\5" id "${sum}")
file(READ "${JS}" js)
# Newer packagers (Debian 13's emscripten 3.1.69) write none unless asked to
# keep the data in the browser's cache, and then one from its bytes.
if(NOT js MATCHES "package_uuid")
  return()
endif()
string(REGEX REPLACE "package_uuid\":\"[0-9a-f-]+\"" "package_uuid\":\"${id}\"" fixed "${js}")
if(fixed STREQUAL js AND NOT js MATCHES "package_uuid\":\"${id}\"")
  message(FATAL_ERROR "${JS}: no package_uuid to set")
endif()
if(NOT fixed STREQUAL js)
  file(WRITE "${JS}" "${fixed}")
endif()
