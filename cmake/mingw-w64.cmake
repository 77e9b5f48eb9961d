# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the posix threads flavour,
# package g++-mingw-w64-x86-64-posix). Libraries and packages come only from its sysroot.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUARRIX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUARRIX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUARRIX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUARRIX_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUARRIX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The executables carry their C++ run-time, so they start without MinGW's DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian's libz-mingw-w64-dev holds both libz.a and the import library of zlib1.dll: the
# static one keeps quarrix-cli.exe free of DLLs.
set(ZLIB_USE_STATIC_LIBS ON)

# The host's header-only CLI11 and nlohmann-json serve the cross build too (see
# mingw-w64/CLI11Config.cmake and nlohmann_jsonConfig.cmake), and GoogleTest is built from the
# host's sources (see mingw-w64/GTestConfig.cmake).
set(CLI11_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-w64 CACHE PATH "CLI11 for the cross build")
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-w64 CACHE PATH
    "nlohmann-json for the cross build")
set(GTest_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-w64 CACHE PATH "GoogleTest for the cross build")

# The Windows programs and tests run under Wine where it is installed (Debian: wine64).
find_program(QUARRIX_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(QUARRIX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/mingw-w64/wine-run ${QUARRIX_WINE})
endif()
