# Cross-compiles with MinGW-w64; CTest runs what it builds under Wine.
# DOXLY_MINGW_ARCH: i686 for the 32-bit program (the release), x86_64 for machines whose kernel
# cannot run 32-bit code, where only 64-bit Wine works and the tests run in a 64-bit build.
if(NOT DOXLY_MINGW_ARCH)
    set(DOXLY_MINGW_ARCH i686)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${DOXLY_MINGW_ARCH})

set(triplet ${DOXLY_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run ${DOXLY_MINGW_ARCH})
