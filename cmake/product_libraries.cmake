# The intro's libraries, one a folder, each linking only folders above it in this list. The
# intro's build and the tools' own build (a cross build makes one for the build machine) both
# include this: the tools check modules with the player's loader and write the Linux glyph table
# into a font.
set(OMRA_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
foreach(folder core assets records sequencer player render)
    add_subdirectory(${OMRA_SOURCE_ROOT}/${folder} ${CMAKE_BINARY_DIR}/${folder})
endforeach()
