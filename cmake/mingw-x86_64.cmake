# Cross-compiling for 64-bit Windows with MinGW-w64 on Debian: the whole program with the Qt for
# Windows that tools/build-qt-windows builds (its path in MILKA_QT_WINDOWS), or the Qt-free
# parts alone.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
if(DEFINED ENV{MILKA_QT_WINDOWS})
    list(APPEND CMAKE_FIND_ROOT_PATH $ENV{MILKA_QT_WINDOWS})
    list(APPEND CMAKE_PREFIX_PATH $ENV{MILKA_QT_WINDOWS})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Tests run under Wine; the 64-bit loader lives outside PATH on Debian.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
