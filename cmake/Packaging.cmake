# The Debian package. `make deb` configures a release build of its own and runs
# `cpack -G DEB` there; the install rules of each folder say what goes in.

set(KELDRO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/keldro)

# The package's changelog, checked against the project's version so that a
# release cannot ship with the entry of an older one.
set(keldro_changelog ${PROJECT_SOURCE_DIR}/packaging/changelog)
file(STRINGS ${keldro_changelog} keldro_changelog_head LIMIT_COUNT 1)
if(NOT keldro_changelog_head MATCHES "^keldro \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog starts with \"${keldro_changelog_head}\", "
        "not with an entry for version ${PROJECT_VERSION}")
endif()
keldro_install_gzipped(${keldro_changelog} ${KELDRO_DOC_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${KELDRO_DOC_DIR})

# The files dpkg-shlibdeps cannot see: the playback library travels inside the
# program as a resource (see src/shell/CMakeLists.txt).
set(keldro_targets_file ${CMAKE_BINARY_DIR}/keldro-package-targets.cmake)
if(KELDRO_BUILD_GUI)
    file(GENERATE OUTPUT ${keldro_targets_file} CONTENT
        "set(KELDRO_EMBEDDED_LIBRARY \"$<TARGET_FILE:keldro_playback>\")\nset(KELDRO_PROGRAM \"$<TARGET_FILE:keldro>\")\n")
else()
    file(GENERATE OUTPUT ${keldro_targets_file} CONTENT "")
endif()

set(CPACK_PACKAGE_NAME keldro)
set(CPACK_PACKAGE_VENDOR Vantry)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Keldro maintainers <maintainers@users.noreply.c-seed-28e524e7.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cut and join MP3 files without re-encoding")
set(CPACK_PACKAGE_DESCRIPTION [[
Keldro cuts MP3 files into pieces and joins MP3 files into one, frame by
frame, without decoding or re-encoding the audio, so every cut is lossless
and takes about as long as a file copy. Cut points are placed by ear, by
equal parts, by length or from a CUE sheet; joined files may have silence
between them and one ID3v1 tag; variable bitrate files keep a correct Xing
or VBRI header.

The package holds the desktop program (Qt 6, in Simplified Chinese) and
keldro-cli, the same core on the command line, for scripts and machines
without a display.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_PACKAGE_NAME keldro)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.vantry.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's texts are Chinese: without a CJK font they show as boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_KELDRO_TARGETS_FILE ${keldro_targets_file})
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/DebianEmbeddedDepends.cmake)
include(CPack)
