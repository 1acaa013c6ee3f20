# The other builds' suites, run from this build so that one ctest run reports every suite: the
# player's threads under ThreadSanitizer, the Windows builds under Wine, and the fuzz targets.
# Each build is made from its preset into a folder of this build's own by a test that its suite
# depends on, so a build that fails fails its own suite and leaves the others running.
set(other_builds ${CMAKE_BINARY_DIR}/other-builds)

# The targets that a build preset of CMakePresets.json lists, into OUT: empty for a preset that
# builds everything. The presets are the one list of what each build makes.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/CMakePresets.json)
file(READ ${PROJECT_SOURCE_DIR}/CMakePresets.json presets_json)
function(omra_build_preset_targets preset out)
    string(JSON preset_count LENGTH "${presets_json}" buildPresets)
    math(EXPR last "${preset_count} - 1")
    foreach(index RANGE ${last})
        string(JSON name GET "${presets_json}" buildPresets ${index} name)
        if(name STREQUAL preset)
            string(JSON target_count ERROR_VARIABLE no_targets
                   LENGTH "${presets_json}" buildPresets ${index} targets)
            set(targets "")
            if(NOT no_targets AND target_count GREATER 0)
                math(EXPR last_target "${target_count} - 1")
                foreach(target_index RANGE ${last_target})
                    string(JSON target GET "${presets_json}" buildPresets ${index} targets
                           ${target_index})
                    list(APPEND targets ${target})
                endforeach()
            endif()
            set(${out} "${targets}" PARENT_SCOPE)
            return()
        endif()
    endforeach()
    message(FATAL_ERROR "CMakePresets.json has no build preset '${preset}'")
endfunction()

# omra_other_build(PRESET LABEL [-DNAME=VALUE...]): the test build_PRESET, which builds what the
# build preset PRESET builds and sets up the fixture PRESET_build; the build's executables end up
# in ${other_builds}/PRESET/bin.
function(omra_other_build preset label)
    omra_build_preset_targets(${preset} targets)
    add_test(NAME build_${preset}
             COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/build_preset.sh ${PROJECT_SOURCE_DIR}
                     ${preset} ${other_builds}/${preset} ${ARGN} ${targets})
    set_tests_properties(build_${preset} PROPERTIES
        LABELS ${label} FIXTURES_SETUP ${preset}_build TIMEOUT 3600 RUN_SERIAL ON)
endfunction()

omra_other_build(tsan tsan)
add_test(NAME player_threads_under_tsan
         COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${other_builds}/tsan -L tsan --no-tests=error
                 --output-on-failure)
set_tests_properties(player_threads_under_tsan PROPERTIES
    LABELS tsan FIXTURES_REQUIRED tsan_build TIMEOUT 1800 RUN_SERIAL ON)

# The release, made as the release workflow makes it but into this build's folder, and checked
# as what ships: the files in the archives and the package, the Linux intro from the tarball, and
# (in the Wine test) the Windows product from the zip.
set(release_dir ${other_builds}/dist/dist)
omra_other_build(dist release -DOMRA_RELEASE_DIR=${release_dir})
add_test(NAME release_files
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/release/release_files_test.sh ${release_dir}
                 ${PROJECT_VERSION} ${PROJECT_SOURCE_DIR}/data/module.xm)
add_test(NAME release_intro_end_to_end
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/release/shipped_intro_test.sh
                 ${release_dir}/omra-${PROJECT_VERSION}-linux-x86_64.tar.gz
                 ${CMAKE_BINARY_DIR}/test-artifacts/release-intro)
set_tests_properties(release_files release_intro_end_to_end PROPERTIES
    LABELS release FIXTURES_REQUIRED dist_build TIMEOUT 600 RUN_SERIAL ON)

# The 32-bit product and its 64-bit stand-in; the test runs whichever this machine can.
foreach(preset windows windows64)
    omra_other_build(${preset} wine)
endforeach()
add_test(NAME wine_end_to_end
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/wine_test.sh
                 ${release_dir}/omra-${PROJECT_VERSION}-windows.zip
                 ${other_builds}/windows/bin ${other_builds}/windows64/bin
                 $<TARGET_FILE:omra-terminal-fon> $<TARGET_FILE:xmrender>
                 $<TARGET_FILE:omra_fuzz_seeds> ${PROJECT_SOURCE_DIR}/data/module.xm
                 ${CMAKE_BINARY_DIR}/test-artifacts/wine)
set_tests_properties(wine_end_to_end PROPERTIES
    LABELS wine FIXTURES_REQUIRED "dist_build;windows_build;windows64_build" TIMEOUT 1800
    RUN_SERIAL ON)

# A minute of each fuzz target, started from the fuzz build's own pack as scripts/fuzz.sh's
# longer runs are.
include(${CMAKE_CURRENT_SOURCE_DIR}/fuzz/targets.cmake)
omra_other_build(fuzz fuzz)
foreach(target ${OMRA_FUZZ_TARGETS})
    add_test(NAME ${target}_for_a_minute
             COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/fuzz_target.sh
                     ${other_builds}/fuzz/bin/${target} ${other_builds}/fuzz/bin/omra_fuzz_seeds
                     ${other_builds}/fuzz/pack.bin ${other_builds}/fuzz 60)
    set_tests_properties(${target}_for_a_minute PROPERTIES
        LABELS fuzz FIXTURES_REQUIRED fuzz_build TIMEOUT 600 RUN_SERIAL ON)
endforeach()
