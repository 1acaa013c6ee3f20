# The release: what a group uploads, made by the release workflow preset into OMRA_RELEASE_DIR:
#   omra-VERSION-windows.zip         the 32-bit product, its nfo and a screenshot
#   omra-VERSION-linux-x86_64.tar.gz the Linux intro (SDL linked in), the nfo and the screenshot
#   omra_VERSION_amd64.deb           the intro and the tools, with a man page each
#   omra-VERSION-1080p60.mp4         with OMRA_RELEASE_VIDEO=1 in the environment: one pass
# The nfo is data/omra.nfo, filled in with the version and date and turned into code page 437.
set(OMRA_RELEASE_DIR ${PROJECT_SOURCE_DIR}/dist CACHE PATH "Where the release files go")
set(release_work ${CMAKE_BINARY_DIR}/release-files)
set(release_programs omra xmrender omra-capture omra-pack)

# The Windows product, from its own preset, in a folder of this build.
set(windows_build ${CMAKE_BINARY_DIR}/windows)
add_custom_target(omra_windows_product
    COMMAND ${CMAKE_COMMAND} --preset windows -B ${windows_build} -DBUILD_TESTING=OFF
            > ${CMAKE_BINARY_DIR}/windows-configure.log
    COMMAND ${CMAKE_COMMAND} --build ${windows_build} --target omra
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Building the Windows product"
    VERBATIM)

# The release date is the build's, or SOURCE_DATE_EPOCH's for a reproducible release.
string(TIMESTAMP OMRA_RELEASE_DATE "%Y-%m-%d" UTC)
configure_file(${PROJECT_SOURCE_DIR}/data/omra.nfo ${release_work}/omra.nfo.utf8 @ONLY)

# A man page for each program of the package, from its --help and --version.
find_program(OMRA_HELP2MAN help2man REQUIRED)
set(omra_summary "audiovisual intro: an OpenGL scene to an XM tune")
set(xmrender_summary "play an XM module into a WAV file as the intro's player does")
set(omra-capture_summary "film the intro offline into a video or PNG frames")
set(omra-pack_summary "build the intro's asset pack from its data folder")
set(man_pages)
foreach(program ${release_programs})
    set(page ${release_work}/man/${program}.1.gz)
    add_custom_command(
        OUTPUT ${page}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${release_work}/man
        COMMAND ${OMRA_HELP2MAN} --no-info --section 1 --name ${${program}_summary}
                --output ${release_work}/man/${program}.1
                $<TARGET_FILE:${program}>
        COMMAND gzip -9nf ${release_work}/man/${program}.1
        DEPENDS ${program}
        VERBATIM)
    list(APPEND man_pages ${page})
endforeach()

# The package's contents.
install(TARGETS ${release_programs} RUNTIME DESTINATION bin)
install(FILES ${man_pages} DESTINATION share/man/man1)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/release/copyright DESTINATION share/doc/omra)
install(FILES ${release_work}/changelog.gz DESTINATION share/doc/omra)
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${release_work}/changelog
     "omra (${PROJECT_VERSION}) stable; urgency=medium\n\n"
     "  * Release ${PROJECT_VERSION}.\n\n"
     " -- Omra crew <omra@example.org>  ${changelog_date}\n")
add_custom_command(
    OUTPUT ${release_work}/changelog.gz
    COMMAND gzip -9nkf ${release_work}/changelog
    DEPENDS ${release_work}/changelog
    VERBATIM)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME omra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Omra crew <omra@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "audiovisual intro with its XM player and tools")
set(CPACK_PACKAGE_DESCRIPTION
    "Omra draws an endless OpenGL 4.0 scene to an XM tune played by its own\n"
    "player. The package holds the intro and the tools around it: xmrender plays\n"
    "a module into a WAV file exactly as the intro does, omra-capture films the\n"
    "intro without a display and omra-pack builds its asset pack.")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DIRECTORY ${release_work}/package)
include(CPack)

# Everything put together in OMRA_RELEASE_DIR, with each file's size printed.
add_custom_target(omra_release ALL
    COMMAND ${CMAKE_COMMAND} -DVERSION=${PROJECT_VERSION} -DRELEASE_DIR=${OMRA_RELEASE_DIR}
            -DWORK=${release_work} -DWINDOWS_EXE=${windows_build}/shell/omra.exe
            -DLINUX_INTRO=$<TARGET_FILE:omra> -DCAPTURE=$<TARGET_FILE:omra-capture>
            -DBUILD=${CMAKE_BINARY_DIR} -DCPACK=${CMAKE_CPACK_COMMAND}
            -P ${CMAKE_CURRENT_LIST_DIR}/make_release.cmake
    DEPENDS ${man_pages} ${release_work}/changelog.gz
    VERBATIM)
add_dependencies(omra_release omra_windows_product ${release_programs})
