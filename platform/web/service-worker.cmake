# Writes OUT (the service worker) from TEMPLATE with its store named after
# VERSION and a digest of the files it keeps, all in DIR: the same files
# give the same worker, and any change to them a new store.
set(digests "")
foreach(file velmora.html velmora.js velmora.wasm velmora.data velmora.webmanifest
             velmora-192.png velmora-512.png)
  file(SHA256 "${DIR}/${file}" digest)
  string(APPEND digests "${digest} ${file}\n")
endforeach()
string(SHA256 digest "${digests}")
string(SUBSTRING "${digest}" 0 16 digest)
set(VELMORA_STORE "${VERSION}-${digest}")
configure_file("${TEMPLATE}" "${OUT}" @ONLY)
