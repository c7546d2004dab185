# The Scintilla source every build of the editing component compiles: the
# release it is built and tested with (src/zescin/SCINTILLA_VERSION, in the
# form of Scintilla's own version.txt) and the recorded patches
# (src/zescin/patches) applied by scripts/setup.sh, which writes the hashes
# of what it applied into patches.applied beside the source. A different
# release, or a tree whose patches are missing or stale, stops the build.
function(quillet_check_scintilla_source scite_dir)
  set(zescin_dir ${QUILLET_ROOT}/src/zescin)
  file(STRINGS ${zescin_dir}/SCINTILLA_VERSION wanted LIMIT_COUNT 1)
  string(STRIP "${wanted}" wanted)
  if(NOT EXISTS ${scite_dir}/scintilla/version.txt)
    message(FATAL_ERROR "Scintilla source not found in ${scite_dir}: run scripts/setup.sh first")
  endif()
  file(STRINGS ${scite_dir}/scintilla/version.txt found LIMIT_COUNT 1)
  string(STRIP "${found}" found)
  if(NOT found STREQUAL wanted)
    message(FATAL_ERROR "Scintilla in ${scite_dir} is release ${found}, but Quillet is built and tested "
      "with release ${wanted} (src/zescin/SCINTILLA_VERSION) and its patches apply to that release only.")
  endif()
  file(GLOB patches RELATIVE ${zescin_dir}/patches ${zescin_dir}/patches/*.patch)
  list(SORT patches)
  set(expected "")
  foreach(patch ${patches})
    file(SHA256 ${zescin_dir}/patches/${patch} hash)
    string(APPEND expected "${hash}  ${patch}\n")
  endforeach()
  set(applied "")
  if(EXISTS ${scite_dir}/patches.applied)
    file(READ ${scite_dir}/patches.applied applied)
  endif()
  if(NOT applied STREQUAL expected)
    message(FATAL_ERROR "The Scintilla source in ${scite_dir} does not carry the patches of src/zescin/patches "
      "(not applied, or the patches changed since): run scripts/setup.sh")
  endif()
  # Configure again when the patches, the release or the applied set change.
  foreach(patch ${patches})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${zescin_dir}/patches/${patch})
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${zescin_dir}/SCINTILLA_VERSION
    ${scite_dir}/scintilla/version.txt ${scite_dir}/patches.applied)
endfunction()
