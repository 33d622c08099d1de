# Cross-compiling for 64-bit Windows with MinGW-w64 on Debian: the whole program with the Qt for
# Windows that tools/build-qt-windows builds (its path in MILKA_QT_WINDOWS), or the Qt-free
# parts alone.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-x86_64-compilers.cmake)
if(DEFINED ENV{MILKA_QT_WINDOWS})
    list(APPEND CMAKE_FIND_ROOT_PATH $ENV{MILKA_QT_WINDOWS})
    list(APPEND CMAKE_PREFIX_PATH $ENV{MILKA_QT_WINDOWS})
endif()
# Tests run under Wine; the 64-bit loader lives outside PATH on Debian.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
