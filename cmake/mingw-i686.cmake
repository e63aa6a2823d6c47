# Cross build for 32-bit Windows with MinGW-w64.
# One thread model per tree, so every object of a program shares one run-time. The test tree
# uses the posix model: GoogleTest and the tests need std::thread and std::mutex. The release
# tree (WISPFOLD_THREADS=win32, the program alone) uses the win32 model: Wispfold starts its
# threads through the C run-time and needs neither, and the model's locks are the system's own,
# where the posix model links the whole winpthread library (about 31 KB) into the program.
set(WISPFOLD_THREADS posix CACHE STRING "Thread model of the MinGW-w64 compilers: posix or win32")
set_property(CACHE WISPFOLD_THREADS PROPERTY STRINGS posix win32)
if(NOT WISPFOLD_THREADS MATCHES "^(posix|win32)$")
    message(FATAL_ERROR "WISPFOLD_THREADS must be posix or win32, not '${WISPFOLD_THREADS}'")
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-${WISPFOLD_THREADS})
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-${WISPFOLD_THREADS})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Cross-compiled test programs run under Wine with the test environment.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../script/wine-run)
