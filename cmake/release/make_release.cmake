# Puts the release together (see release.cmake): run by the omra_release target with VERSION,
# RELEASE_DIR, WORK, WINDOWS_EXE, LINUX_INTRO, CAPTURE, BUILD and CPACK set. Every file is made
# in WORK first and moved into RELEASE_DIR only when all of them are there.

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output
                    ERROR_VARIABLE output)
    if(NOT status EQUAL 0)
        list(JOIN ARGN " " command)
        message(FATAL_ERROR "${command} failed (${status}):\n${output}")
    endif()
endfunction()

set(staging ${WORK}/staging)
file(REMOVE_RECURSE ${staging})
file(MAKE_DIRECTORY ${staging})

# The nfo: code page 437 with DOS line ends, as nfo viewers expect.
file(READ ${WORK}/omra.nfo.utf8 nfo)
string(REPLACE "\n" "\r\n" nfo "${nfo}")
file(WRITE ${WORK}/omra.nfo.crlf "${nfo}")
run(iconv -f UTF-8 -t CP437 -o ${WORK}/omra.nfo ${WORK}/omra.nfo.crlf)

# The screenshot: the logo, the first page held in the middle and the scroller.
file(REMOVE_RECURSE ${WORK}/screenshot)
run(${CAPTURE} --fps 1 --seconds 1 --start 7.5 --frames ${WORK}/screenshot)
file(COPY_FILE ${WORK}/screenshot/frame-000000.png ${WORK}/omra.png)

set(windows ${staging}/windows)
file(MAKE_DIRECTORY ${windows})
file(COPY ${WINDOWS_EXE} ${WORK}/omra.nfo ${WORK}/omra.png DESTINATION ${windows})
set(zip omra-${VERSION}-windows.zip)
run(${CMAKE_COMMAND} -E chdir ${windows}
    ${CMAKE_COMMAND} -E tar cf ${staging}/${zip} --format=zip omra.exe omra.nfo omra.png)

set(linux_name omra-${VERSION}-linux-x86_64)
set(linux ${staging}/${linux_name})
file(MAKE_DIRECTORY ${linux})
file(COPY ${LINUX_INTRO} ${WORK}/omra.nfo ${WORK}/omra.png DESTINATION ${linux})
set(tarball ${linux_name}.tar.gz)
run(${CMAKE_COMMAND} -E chdir ${staging}
    ${CMAKE_COMMAND} -E tar czf ${staging}/${tarball} ${linux_name})

run(${CPACK} -G DEB --config ${BUILD}/CPackConfig.cmake -B ${staging}/package)
set(deb omra_${VERSION}_amd64.deb)
file(RENAME ${staging}/package/${deb} ${staging}/${deb})

set(files ${zip} ${tarball} ${deb})
if("$ENV{OMRA_RELEASE_VIDEO}" STREQUAL "1")
    set(video omra-${VERSION}-1080p60.mp4)
    message(STATUS "Capturing ${video}: one pass of the tune, which takes a while")
    run(${CAPTURE} --fps 60 --scale 2 ${staging}/${video})
    list(APPEND files ${video})
endif()

file(MAKE_DIRECTORY ${RELEASE_DIR})
foreach(name ${files})
    file(RENAME ${staging}/${name} ${RELEASE_DIR}/${name})
endforeach()
message("The release, in ${RELEASE_DIR}:")
foreach(name ${files})
    file(SIZE ${RELEASE_DIR}/${name} bytes)
    message("  ${name}  ${bytes} bytes")
endforeach()
