# 64-bit Windows executables from Linux with mingw-w64 (posix thread model). Everything is linked
# statically, so the programs run on Windows and under Wine with no mingw DLL beside them.
#
# QUENYX_QT_WINDOWS names a Qt built for this target (scripts/build-qt-windows.sh prints its folder);
# the build machine's own Qt provides the tools (moc, rcc, lrelease).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUENYX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUENYX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUENYX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUENYX_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUENYX_MINGW_TRIPLE})
if(QUENYX_QT_WINDOWS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${QUENYX_QT_WINDOWS})
  list(APPEND CMAKE_PREFIX_PATH ${QUENYX_QT_WINDOWS})
  set(QT_HOST_PATH /usr CACHE PATH "The build machine's Qt")
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "The build machine's Qt packages")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Release is -O2. These are cache entries, not the _INIT values: CMake appends its own "-O3 -DNDEBUG" to
# those, and the last -O wins, which made every object -O3 and a fifth slower to compile.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags for Release builds")
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags for Release builds")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest and gtest_discover_tests run the executables through Wine.
get_filename_component(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run ABSOLUTE)
