# Cross build for 64-bit Windows with Debian's MinGW-w64 (scripts/install-windows-deps.sh installs it).
# The POSIX thread model: GCC 12's win32 model has no std::mutex or std::thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TARVOLA_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TARVOLA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARVOLA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TARVOLA_MINGW_TRIPLET}-windres)

# The Windows builds of expat, GoogleTest and Qt, compiled from Debian's sources.
if(DEFINED ENV{TARVOLA_WINDOWS_DEPS})
  set(TARVOLA_WINDOWS_DEPS "$ENV{TARVOLA_WINDOWS_DEPS}")
else()
  set(TARVOLA_WINDOWS_DEPS /opt/tarvola/mingw64)
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${TARVOLA_MINGW_TRIPLET} ${TARVOLA_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Qt for Windows (scripts/install-windows-qt.sh) is in the same prefix; its moc, rcc and uic are
# the host's, of the same version.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

# Static archives only, so no DLL has to travel with the .exe files. FindZLIB adds the import
# library of zlib's package back unless told.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests and other built programs run through Wine; scripts/wine-test.sh prepares its prefix.
find_program(TARVOLA_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TARVOLA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TARVOLA_WINE})
endif()
