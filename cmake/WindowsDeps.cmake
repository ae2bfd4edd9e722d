# Third-party code for the target: zlib and minizip compiled here from Debian's zlib
# source package, GoogleTest from Debian's googletest sources.

set(MINIZIP_SOURCE_DIR "" CACHE PATH "contrib/minizip of Debian's zlib source package")
if(NOT EXISTS "${MINIZIP_SOURCE_DIR}/unzip.c")
  message(FATAL_ERROR "MINIZIP_SOURCE_DIR must point at zlib's contrib/minizip (scripts/build sets it)")
endif()

# Built with the tree's own options (-Os, no unwind tables, a section per function), zlib
# takes half the room of the prebuilt library in the installer.
get_filename_component(ZLIB_SOURCE_DIR "${MINIZIP_SOURCE_DIR}/../.." ABSOLUTE)
add_library(zlib_static STATIC)
foreach(source adler32 compress crc32 deflate inffast inflate inftrees trees uncompr zutil)
  target_sources(zlib_static PRIVATE "${ZLIB_SOURCE_DIR}/${source}.c")
endforeach()
target_include_directories(zlib_static SYSTEM PUBLIC "${ZLIB_SOURCE_DIR}")
target_compile_options(zlib_static PRIVATE -w)
add_library(minizip STATIC
  "${MINIZIP_SOURCE_DIR}/ioapi.c"
  "${MINIZIP_SOURCE_DIR}/unzip.c"
  "${MINIZIP_SOURCE_DIR}/zip.c")
target_include_directories(minizip SYSTEM PUBLIC "${MINIZIP_SOURCE_DIR}/..")
target_compile_options(minizip PRIVATE -w)
target_link_libraries(minizip PUBLIC zlib_static)

# The 7z reader for solid packages; here it also reads files (7zFile). One CRC table (1 KB)
# instead of twelve: the installer stays small, the check still fast.
include(${CMAKE_CURRENT_LIST_DIR}/LzmaSdk.cmake)
corvalis_lzma_sdk(lzma_sdk)
target_sources(lzma_sdk PRIVATE "${LZMA_SDK_SOURCE_DIR}/7zFile.c")
target_compile_definitions(lzma_sdk PRIVATE Z7_CRC_NUM_TABLES=1)

if(CORVALIS_SHIPPING)
  return()  # the shipping tree runs no tests
endif()

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
target_link_options(gtest PUBLIC -static -static-libgcc -static-libstdc++)

# Every Wine-run test shares one prefix made for the run inside the build tree.
set(CORVALIS_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
configure_file("${PROJECT_SOURCE_DIR}/tests/support/wine-run.in" "${CMAKE_BINARY_DIR}/wine-run" @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_BINARY_DIR}/wine-run" CACHE FILEPATH "" FORCE)

add_test(NAME wine_prefix_setup COMMAND "${CMAKE_BINARY_DIR}/wine-run" --setup)
set_tests_properties(wine_prefix_setup PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300)
add_test(NAME wine_prefix_cleanup COMMAND "${CMAKE_BINARY_DIR}/wine-run" --cleanup)
set_tests_properties(wine_prefix_cleanup PROPERTIES FIXTURES_CLEANUP wine_prefix TIMEOUT 120)
