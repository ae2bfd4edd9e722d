set(CMAKE_SYSTEM_NAME Windows)
# Two thread models: posix for the test tree (GoogleTest needs std::mutex, which the win32
# model of gcc 12 lacks), win32 for the shipping tree (winpthreads would make every
# deliverable import GetTickCount64, which Windows XP lacks). mingw-i686-win32.cmake picks it.
if(NOT CORVALIS_MINGW_THREADS)
  set(CORVALIS_MINGW_THREADS posix)
endif()
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-${CORVALIS_MINGW_THREADS})
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-${CORVALIS_MINGW_THREADS})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
