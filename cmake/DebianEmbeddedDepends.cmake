# Read by cpack for each generator. The playback library is embedded in the
# program as a resource and loaded from a temporary copy at start-up, so the
# packaged files show dpkg-shlibdeps nothing of what it links (libmpg123,
# SDL2). Ask dpkg-shlibdeps about the library itself and declare the packages
# it needs that the program does not already depend on.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
    return()
endif()
include(${CPACK_KELDRO_TARGETS_FILE})
if(NOT KELDRO_EMBEDDED_LIBRARY)
    return()
endif()

# The shlibs:Depends entries of one ELF file, as a list.
function(keldro_shlibdeps file result)
    set(work ${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/keldro-shlibdeps)
    file(REMOVE_RECURSE ${work})
    file(WRITE ${work}/debian/control
        "Source: keldro\n\nPackage: keldro\nArchitecture: any\n")
    execute_process(COMMAND dpkg-shlibdeps -O -e${file}
        WORKING_DIRECTORY ${work}
        RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    if(failed OR NOT output MATCHES "shlibs:Depends=([^\n]*)")
        message(FATAL_ERROR "dpkg-shlibdeps failed on ${file}: ${errors}")
    endif()
    string(REPLACE ", " ";" entries "${CMAKE_MATCH_1}")
    set(${result} "${entries}" PARENT_SCOPE)
endfunction()

function(keldro_package_name entry result)
    string(REGEX MATCH "^[^ (|]+" name "${entry}")
    set(${result} ${name} PARENT_SCOPE)
endfunction()

keldro_shlibdeps(${KELDRO_PROGRAM} program_entries)
set(program_packages "")
foreach(entry IN LISTS program_entries)
    keldro_package_name("${entry}" name)
    list(APPEND program_packages ${name})
endforeach()

keldro_shlibdeps(${KELDRO_EMBEDDED_LIBRARY} library_entries)
set(extra "")
foreach(entry IN LISTS library_entries)
    keldro_package_name("${entry}" name)
    list(FIND program_packages ${name} found)
    if(found EQUAL -1)
        list(APPEND extra "${entry}")
    endif()
endforeach()
list(JOIN extra ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
message(STATUS "Depends of the embedded playback library: ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
