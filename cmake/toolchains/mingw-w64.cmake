# Windows with Debian's MinGW-w64, for the target named by OMRA_MINGW_TRIPLET. The posix
# thread-model compilers are the ones that provide std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${OMRA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OMRA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${OMRA_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${OMRA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
