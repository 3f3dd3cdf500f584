# Run after the link: emscripten's file packager writes a random UUID into
# velmora.js at every build, which the page uses only to tell one
# velmora.data from another in the browser's cache. One derived from the
# data's own bytes does that job and gives the same velmora.js every time.
#   cmake -DJS=velmora.js -DDATA=velmora.data -P package-id.cmake
file(SHA256 "${DATA}" sum)
string(REGEX REPLACE "^(........)(....)(....)(....)(............).*$" "\\1-\\2-\\3-\\4-\\5" id "${sum}")
file(READ "${JS}" js)
string(REGEX REPLACE "package_uuid\":\"[0-9a-f-]+\"" "package_uuid\":\"${id}\"" fixed "${js}")
if(fixed STREQUAL js AND NOT js MATCHES "package_uuid\":\"${id}\"")
  message(FATAL_ERROR "${JS}: no package_uuid to set")
endif()
if(NOT fixed STREQUAL js)
  file(WRITE "${JS}" "${fixed}")
endif()
