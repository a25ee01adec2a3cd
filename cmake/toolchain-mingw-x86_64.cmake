# Cross-compiles for 64-bit Windows with MinGW-w64 (posix thread model, so
# std::thread and GoogleTest work) and runs the results under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TELLURIX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TELLURIX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TELLURIX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TELLURIX_MINGW_TRIPLET}-windres)

# libpng for MinGW is built by scripts/setup.sh into this prefix; another one can
# be given in the environment.
if(DEFINED ENV{TELLURIX_MINGW_PREFIX})
    set(TELLURIX_MINGW_PREFIX $ENV{TELLURIX_MINGW_PREFIX})
else()
    get_filename_component(TELLURIX_MINGW_PREFIX "${CMAKE_CURRENT_LIST_DIR}/../build/deps/mingw" ABSOLUTE)
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${TELLURIX_MINGW_TRIPLET} ${TELLURIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Without this FindZLIB takes the import library and the program needs zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh")
