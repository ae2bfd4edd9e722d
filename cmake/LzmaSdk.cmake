# corvalis_lzma_sdk(target) makes a static library of the 7-Zip project's public-domain C
# code that the solid reader needs, from C/ of Debian's 7zip source package (LZMA_SDK_SOURCE_DIR,
# set by scripts/build and scripts/fuzz): the 7z header reader, LZMA2 and the x86 filter.
# Our own block decoder unpacks the files; 7zDec decodes only the archive's header, which
# needs no branch filters.
set(LZMA_SDK_SOURCE_DIR "" CACHE PATH "C/ of Debian's 7zip source package")
function(corvalis_lzma_sdk target)
  if(NOT EXISTS "${LZMA_SDK_SOURCE_DIR}/7zArcIn.c")
    message(FATAL_ERROR "LZMA_SDK_SOURCE_DIR must point at C/ of Debian's 7zip sources")
  endif()
  add_library(${target} STATIC)
  foreach(source 7zAlloc 7zArcIn 7zBuf 7zCrc 7zCrcOpt 7zDec 7zStream Bcj2 Bra86 CpuArch Lzma2Dec LzmaDec)
    target_sources(${target} PRIVATE "${LZMA_SDK_SOURCE_DIR}/${source}.c")
  endforeach()
  target_include_directories(${target} SYSTEM PUBLIC "${LZMA_SDK_SOURCE_DIR}")
  target_compile_definitions(${target} PRIVATE Z7_NO_METHODS_FILTERS)
  target_compile_options(${target} PRIVATE -w)
endfunction()
