# Compiles the help pages into Kelvaran.chm:  cmake -DSOURCE=<help folder> -DWORK=<scratch folder>
# -DOUTPUT=<chm path> -P BuildHelp.cmake. The compiler reports a missing page with a non-zero exit and
# leaves an empty file behind; both fail the build.
find_program(CHMCMD chmcmd)
if(NOT CHMCMD)
  message(FATAL_ERROR "chmcmd not found (Debian package fp-utils; tools/install-deps.sh installs it)")
endif()
file(REMOVE_RECURSE "${WORK}")
file(COPY "${SOURCE}/" DESTINATION "${WORK}")
execute_process(COMMAND "${CHMCMD}" Kelvaran.hhp WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE status
                OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "chmcmd failed with status ${status}:\n${output}")
endif()
if(NOT EXISTS "${WORK}/Kelvaran.chm")
  message(FATAL_ERROR "chmcmd wrote no Kelvaran.chm:\n${output}")
endif()
file(SIZE "${WORK}/Kelvaran.chm" size)
if(size EQUAL 0)
  message(FATAL_ERROR "chmcmd wrote an empty Kelvaran.chm:\n${output}")
endif()
file(COPY_FILE "${WORK}/Kelvaran.chm" "${OUTPUT}")
