# keldro_install_gzipped(SOURCE DESTINATION): installs SOURCE as SOURCE's name
# plus .gz, compressed as Debian wants manual pages and changelogs: best
# compression, no file name or time stamp inside (so builds are reproducible).
function(keldro_install_gzipped source destination)
    get_filename_component(name ${source} NAME)
    set(gzipped ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
    add_custom_command(
        OUTPUT ${gzipped}
        COMMAND gzip -9nc ${source} > ${gzipped}
        DEPENDS ${source}
        COMMENT "Compressing ${name}")
    string(MAKE_C_IDENTIFIER "keldro_gzip_${name}" target)
    add_custom_target(${target} ALL DEPENDS ${gzipped})
    install(FILES ${gzipped} DESTINATION ${destination})
endfunction()
