# 64-bit Windows: a test vehicle for machines whose kernel cannot run 32-bit programs, and so
# cannot run 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(OMRA_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
