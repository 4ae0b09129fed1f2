# The application manifest of the Windows programs: each has an .rc file of its own beside its
# Windows code that names "vellora.manifest", made here from cmake/windows/vellora.manifest.in
# with the program's name and the project's version. (Their icon comes from
# shell/assets/program_icon.rc, which both compile as well.)
#   vellora_windows_resources(target rc_file program_name)
function(vellora_windows_resources target rc_file program_name)
  set(VELLORA_MANIFEST_PROGRAM "${program_name}")
  set(VELLORA_MANIFEST_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
  set(folder "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/windows/vellora.manifest.in" "${folder}/vellora.manifest" @ONLY)
  target_sources(${target} PRIVATE "${rc_file}")
  set_property(SOURCE "${rc_file}" TARGET_DIRECTORY ${target} APPEND PROPERTY INCLUDE_DIRECTORIES "${folder}")
  set_property(SOURCE "${rc_file}" TARGET_DIRECTORY ${target} APPEND PROPERTY OBJECT_DEPENDS "${folder}/vellora.manifest")
endfunction()
