# Run by CPack once it has made the .debs (CPACK_POST_BUILD_SCRIPTS), so that
# the same tree gives the same bytes whenever, wherever and by whomever it
# is packaged. CPack dates every archive member with the moment of the build
# and keeps the modes that the umask gave; each package is unpacked and
# packed again by dpkg-deb, which sorts the members and gives them root as
# owner, with every mode fixed (755 for folders and programs, 644 for the
# rest) and every date SOURCE_DATE_EPOCH: from the environment, else the
# date of the tree's last commit, else that of packaging/changelog's newest
# entry. One compression thread: xz's output depends on the thread count.
set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(epoch STREQUAL "")
  execute_process(COMMAND git -C "${CPACK_VELMORA_SOURCE_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  execute_process(COMMAND date -u -d "${CPACK_VELMORA_RELEASE_DATE}" +%s
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endif()
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  if(NOT deb MATCHES "\\.deb$")
    continue()
  endif()
  set(tree "${deb}.tree")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND dpkg-deb --raw-extract "${deb}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND chmod -R u=rwX,go=rX "${tree}" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND find "${tree}" -exec touch -h -d "@${epoch}" {} + COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${epoch}
                          dpkg-deb --root-owner-group -Zxz --threads-max=1 --build "${tree}" "${deb}"
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${tree}")
endforeach()
