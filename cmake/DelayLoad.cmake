# comctl32 through a delay-load import library: the program then starts even where the library is missing,
# and its start-up check can tell the user, instead of the loader refusing to start it. The import list is
# taken from the toolchain's own import library, so every function it offers is available.
find_file(KELVARAN_COMCTL32_IMPORT_LIB libcomctl32.a PATHS ${CMAKE_FIND_ROOT_PATH}/lib NO_DEFAULT_PATH REQUIRED)
set(comctl32_def ${CMAKE_BINARY_DIR}/comctl32.def)
set(comctl32_delay_lib ${CMAKE_BINARY_DIR}/libcomctl32_delay.a)
add_custom_command(
  OUTPUT ${comctl32_delay_lib}
  COMMAND sh -c "{ echo 'LIBRARY comctl32.dll'; echo EXPORTS; '${CMAKE_NM}' '${KELVARAN_COMCTL32_IMPORT_LIB}' | awk '$2 == \"T\" && $3 !~ /^(_head|__imp|\\.)/ { print $3 }' | sort -u; } > '${comctl32_def}'"
  COMMAND ${CMAKE_DLLTOOL} -m i386:x86-64 -d ${comctl32_def} -y ${comctl32_delay_lib}
  DEPENDS ${KELVARAN_COMCTL32_IMPORT_LIB}
  COMMENT "Delay-load import library for comctl32"
  VERBATIM)
add_custom_target(comctl32_delay DEPENDS ${comctl32_delay_lib})
add_library(comctl32_delayed INTERFACE)
add_dependencies(comctl32_delayed comctl32_delay)
target_link_libraries(comctl32_delayed INTERFACE ${comctl32_delay_lib} delayimp)
