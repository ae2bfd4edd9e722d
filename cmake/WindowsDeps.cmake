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

# The 7z reader and its LZMA2 and x86 branch decoders for solid packages, from the 7-Zip
# project's public-domain C code in Debian's 7zip source package.
set(LZMA_SDK_SOURCE_DIR "" CACHE PATH "C/ of Debian's 7zip source package")
if(NOT EXISTS "${LZMA_SDK_SOURCE_DIR}/7zArcIn.c")
  message(FATAL_ERROR "LZMA_SDK_SOURCE_DIR must point at C/ of Debian's 7zip sources (scripts/build sets it)")
endif()
add_library(lzma_sdk STATIC)
foreach(source 7zAlloc 7zArcIn 7zBuf 7zCrc 7zCrcOpt 7zDec 7zFile 7zStream Bcj2 Bra86 CpuArch Lzma2Dec LzmaDec)
  target_sources(lzma_sdk PRIVATE "${LZMA_SDK_SOURCE_DIR}/${source}.c")
endforeach()
target_include_directories(lzma_sdk SYSTEM PUBLIC "${LZMA_SDK_SOURCE_DIR}")
target_compile_options(lzma_sdk PRIVATE -w)
# One CRC table (1 KB) instead of twelve: the installer stays small, the check still fast.
# The reader's own decoder (Bra86, Lzma2Dec) unpacks the files; 7zDec only the archive's
# header, which needs no branch filters.
target_compile_definitions(lzma_sdk PRIVATE Z7_CRC_NUM_TABLES=1 Z7_NO_METHODS_FILTERS)

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
