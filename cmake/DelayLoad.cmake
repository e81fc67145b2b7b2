# The common controls and the libraries built on them (the common dialogs, the shell) through delay-load
# import libraries: the program then starts even where the common controls are missing, and its start-up
# check can tell the user, instead of the loader refusing to start it. Each import list is taken from the
# toolchain's own import library, so every function it offers is available.
#
#   kelvaran_delay_load(comctl32 comdlg32 shell32)   # then link the target `delay_loaded`
function(kelvaran_delay_load)
  set(libraries)
  foreach(dll ${ARGN})
    find_file(import_lib_${dll} lib${dll}.a PATHS ${CMAKE_FIND_ROOT_PATH}/lib NO_DEFAULT_PATH REQUIRED)
    set(def ${CMAKE_BINARY_DIR}/${dll}.def)
    set(delay_lib ${CMAKE_BINARY_DIR}/lib${dll}_delay.a)
    add_custom_command(
      OUTPUT ${delay_lib}
      COMMAND sh -c "{ echo 'LIBRARY ${dll}.dll'; echo EXPORTS; '${CMAKE_NM}' '${import_lib_${dll}}' | awk '$2 == \"T\" && $3 !~ /^(_head|__imp|\\.)/ { print $3 }' | sort -u; } > '${def}'"
      COMMAND ${CMAKE_DLLTOOL} -m i386:x86-64 -d ${def} -y ${delay_lib}
      DEPENDS ${import_lib_${dll}}
      COMMENT "Delay-load import library for ${dll}"
      VERBATIM)
    list(APPEND libraries ${delay_lib})
  endforeach()
  add_custom_target(delay_load_libraries DEPENDS ${libraries})
  add_library(delay_loaded INTERFACE)
  add_dependencies(delay_loaded delay_load_libraries)
  target_link_libraries(delay_loaded INTERFACE ${libraries} delayimp)
endfunction()
