# Configuring a build again leaves the embedded library's resource file alone:
# a newer file would embed the library again and relink the program and every
# Qt test at each build. Run with -P, given SOURCE_DIR, WORK_DIR, GENERATOR and
# CXX_COMPILER.
set(configure ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR} -G ${GENERATOR}
    -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DKELDRO_BUILD_TESTS=OFF)
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${configure} RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
    message(FATAL_ERROR "the first configure failed")
endif()

# Dated far back, the file shows whether the second configure wrote it.
set(qrc ${WORK_DIR}/src/shell/playback.qrc)
file(READ ${qrc} text)
execute_process(COMMAND touch -d 2001-01-01 ${qrc} RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "cannot date ${qrc}")
endif()
execute_process(COMMAND ${configure} RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
    message(FATAL_ERROR "the second configure failed")
endif()
file(TIMESTAMP ${qrc} dated "%Y-%m-%d")
file(READ ${qrc} after)
file(REMOVE_RECURSE ${WORK_DIR})
if(NOT dated STREQUAL "2001-01-01")
    message(FATAL_ERROR "the second configure wrote playback.qrc again (dated ${dated})")
endif()
if(NOT after STREQUAL text)
    message(FATAL_ERROR "playback.qrc changed")
endif()
