# Client code for a Wayland protocol, made by wayland-scanner from the protocol's description at
# build time: adds the protocol's code to the target and its header (NAME-client-protocol.h) to
# the target's include path.
find_package(PkgConfig REQUIRED)
pkg_get_variable(VELLORA_WAYLAND_SCANNER wayland-scanner wayland_scanner)

function(vellora_wayland_protocol target xml)
  if(NOT VELLORA_WAYLAND_SCANNER)
    message(FATAL_ERROR "wayland-scanner not found (libwayland-bin)")
  endif()
  get_filename_component(name ${xml} NAME_WE)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/wayland_protocols)
  add_custom_command(
    OUTPUT ${generated}/${name}-client-protocol.h ${generated}/${name}-protocol.c
    COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}
    COMMAND ${VELLORA_WAYLAND_SCANNER} client-header ${xml} ${generated}/${name}-client-protocol.h
    COMMAND ${VELLORA_WAYLAND_SCANNER} private-code ${xml} ${generated}/${name}-protocol.c
    DEPENDS ${xml}
    VERBATIM)
  target_sources(${target} PRIVATE ${generated}/${name}-protocol.c ${generated}/${name}-client-protocol.h)
  target_include_directories(${target} PRIVATE ${generated})
endfunction()
