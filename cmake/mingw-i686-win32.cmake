# The shipping tree's compiler: the same cross toolchain with the win32 thread model.
set(CORVALIS_MINGW_THREADS win32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake")
