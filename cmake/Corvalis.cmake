# Project-wide target helpers.

# The shipping tree (win32 thread model, scripts/build's build/ship) builds only the
# deliverables, for size; the other trees build libraries, tools and tests.
option(CORVALIS_SHIPPING "Build only the deliverables, small and stripped, into the dist folder" OFF)
if(CORVALIS_SHIPPING)
  # Unused functions and data drop out at link time; no code of ours throws or catches, and
  # without exceptions each function also loses its unwind tables and clean-up paths; none
  # asks a type at run time either, so no class carries type information (2-3 KB a program).
  add_compile_options(-ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables
    $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions> $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)
  add_custom_target(deliverables)
endif()

function(corvalis_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}")
  if(WIN32)
    target_compile_definitions(${target} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()

# A deliverable or tool: built straight into the dist folder.
function(corvalis_dist target)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY "${CORVALIS_DIST_DIR}"
    LIBRARY_OUTPUT_DIRECTORY "${CORVALIS_DIST_DIR}")
endfunction()

# A program or Xtra that ships. Only the shipping tree builds it: into the dist folder,
# stripped, with the lean runtime corners; its file name goes to deliverables.txt there,
# which the size script and the import audit read. The test tree leaves it out of "all":
# tests run the shipped files from the dist folder.
function(corvalis_deliverable target)
  if(CORVALIS_SHIPPING)
    target_sources(${target} PRIVATE "${PROJECT_SOURCE_DIR}/common/lean_runtime.cpp")
    target_link_options(${target} PRIVATE -Wl,--gc-sections -s)
    corvalis_dist(${target})
    add_dependencies(deliverables ${target})
    set_property(GLOBAL APPEND PROPERTY CORVALIS_DELIVERABLES "$<TARGET_FILE_NAME:${target}>")
  else()
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL ON)
  endif()
endfunction()

# A program that needs administrator rights however its file is named (the installer and
# the uninstaller): the manifest that asks Windows to elevate it.
function(corvalis_require_administrator target)
  set(rc "${PROJECT_SOURCE_DIR}/common/require_administrator.rc")
  target_sources(${target} PRIVATE "${rc}")
  target_include_directories(${target} PRIVATE "${PROJECT_SOURCE_DIR}")
  set_property(SOURCE "${rc}" APPEND PROPERTY OBJECT_DEPENDS
    "${PROJECT_SOURCE_DIR}/common/require_administrator.manifest")
endfunction()

# The shipped installer stub, as the test trees find it (scripts/build makes it first).
set(CORVALIS_SHIPPED_INSTALLER "${CORVALIS_DIST_DIR}/Installer.exe")

# A GoogleTest program. Under the cross build ctest runs it through Wine.
function(corvalis_gtest name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS;LOCKS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  corvalis_options(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(WIN32)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_prefix
      ENVIRONMENT "CORVALIS_DIST=${CORVALIS_DIST_DIR};CORVALIS_TEST_DATA=${CMAKE_BINARY_DIR}/testdata")
  endif()
  if(T_LOCKS)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
endfunction()
