# velmora.exe's icon and version information: the icon drawn at build time
# by the native build's icon drawer, the version from the project, the
# copyright line from LICENSE; windres compiles the resource script.
enable_language(RC)
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE VELMORA_COPYRIGHT_LINE REGEX "^Copyright " LIMIT_COUNT 1)
set(VELMORA_WINDOWS_ICON ${CMAKE_BINARY_DIR}/packaging/velmora.ico)
add_custom_command(
  OUTPUT ${VELMORA_WINDOWS_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND velmora_make_icon ${VELMORA_WINDOWS_ICON} 16 24 32 48 64 128 256
  DEPENDS velmora_make_icon
  COMMENT "Drawing the Windows icon")
configure_file(${CMAKE_CURRENT_LIST_DIR}/velmora.rc.in ${CMAKE_BINARY_DIR}/packaging/velmora.rc @ONLY)
target_sources(velmora PRIVATE ${CMAKE_BINARY_DIR}/packaging/velmora.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/packaging/velmora.rc PROPERTIES
                            OBJECT_DEPENDS ${VELMORA_WINDOWS_ICON})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
