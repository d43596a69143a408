# Helpers shared by every layer's CMakeLists.

# korvex_layer(<target> DEPS <libs...> [PKG <pkg-config modules...>])
# One static library from every .cpp in the calling folder (subfolders listed in SUBDIRS too).
function(korvex_layer target)
  cmake_parse_arguments(ARG "" "" "DEPS;SUBDIRS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(sub IN LISTS ARG_SUBDIRS)
    file(GLOB_RECURSE more CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/*.cpp)
    list(APPEND sources ${more})
  endforeach()
  if(sources)
    add_library(${target} STATIC ${sources})
    set(scope PUBLIC)
  else()
    add_library(${target} INTERFACE)   # headers only so far
    set(scope INTERFACE)
  endif()
  target_include_directories(${target} ${scope} ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} ${scope} ${ARG_DEPS})
endfunction()

# korvex_tests(LABEL <layer> LIBS <libs...> [SEPARATE <Name>Test.cpp...] [COST <seconds>])
# One test program for the calling folder, named after it (tests/platform/user: tests_platform_user), from
# every *Test.cpp in it; each test case is a CTest test "<layer>.<Suite>.<Case>" with the layer's label, run in
# a process of its own. The folder's support sources are an object library (support_<folder>) that this
# program and other folders' programs link. A SEPARATE source (one that replaces the global operator new to
# count allocations) gets a program of its own, <folder>_<Name>Test, so the folder's other tests keep the
# sanitizer's allocator. COST, what a case takes about, lets a parallel ctest start the long ones first.
function(korvex_tests)
  cmake_parse_arguments(ARG "" "LABEL;COST" "LIBS;SEPARATE" ${ARGN})
  if(NOT ARG_COST)
    set(ARG_COST 0)
  endif()
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
  file(GLOB support CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support/*.cpp)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(support_target)
  if(support)
    string(MAKE_C_IDENTIFIER "support_${folder}" support_target)
    add_library(${support_target} OBJECT ${support})
    target_include_directories(${support_target} PUBLIC ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${support_target} PUBLIC ${ARG_LIBS} GTest::gtest GTest::gmock)
    korvex_test_headers(${support_target})
  endif()
  string(MAKE_C_IDENTIFIER "${folder}" program)
  set(programs)
  foreach(name IN LISTS ARG_SEPARATE)
    list(REMOVE_ITEM tests ${CMAKE_CURRENT_SOURCE_DIR}/${name})
    get_filename_component(stem ${name} NAME_WE)
    add_executable(${program}_${stem} ${name})
    list(APPEND programs ${program}_${stem})
  endforeach()
  if(tests)
    add_executable(${program} ${tests})
    list(APPEND programs ${program})
  endif()
  foreach(target IN LISTS programs)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} PRIVATE ${support_target} ${ARG_LIBS} GTest::gtest GTest::gtest_main
      GTest::gmock)
    korvex_test_headers(${target})
    # Eight test sources compile as one (what they include is parsed once, and the templates they share are
    # made once): names at file scope must differ across the folder. A source that can't join (one that
    # includes the X11 headers, whose macros would reach the next source) sets SKIP_UNITY_BUILD_INCLUSION.
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
    # NO_PRETTY_VALUES: a parameterised case is named by its index or its name generator, never by the bytes
    # of its value (which hold addresses that change from build to build).
    gtest_discover_tests(${target}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      NO_PRETTY_VALUES
      TEST_PREFIX "${ARG_LABEL}."
      PROPERTIES LABELS ${ARG_LABEL} COST ${ARG_COST} ENVIRONMENT "KORVEX_SKINS_DIR=${PROJECT_SOURCE_DIR}/skins")
  endforeach()
  set(KORVEX_TEST_PROGRAMS ${programs} PARENT_SCOPE)
endfunction()

# korvex_test_headers(<target>): GoogleTest and the standard headers that test sources include most,
# precompiled once for every test program and support library (parsing them took about a second of every
# test source's compile, and making them took ten seconds a program). Test sources are compiled at -O1 in
# the optimised builds: they call the product code, which keeps its own optimisation, and they compile in
# about half the time.
function(korvex_test_headers target)
  if(NOT TARGET korvex_test_pch)
    set(source "${CMAKE_BINARY_DIR}/korvex_test_pch.cpp")
    if(NOT EXISTS "${source}")
      file(WRITE "${source}" "// The precompiled test headers are made from this empty source.\n")
    endif()
    add_library(korvex_test_pch OBJECT "${source}")
    target_link_libraries(korvex_test_pch PUBLIC GTest::gtest GTest::gmock)
    korvex_test_options(korvex_test_pch)
    target_precompile_headers(korvex_test_pch PRIVATE
      <gtest/gtest.h> <gmock/gmock.h>
      <algorithm> <chrono> <filesystem> <fstream> <functional> <map> <memory> <optional> <set> <sstream>
      <string> <thread> <vector>)
  endif()
  korvex_test_options(${target})
  target_precompile_headers(${target} REUSE_FROM korvex_test_pch)
endfunction()

# korvex_test_options(<target>): the compile options of test sources (the precompiled headers need the
# same ones in every target that shares them).
function(korvex_test_options target)
  target_compile_options(${target} PRIVATE "$<$<CONFIG:Release,RelWithDebInfo>:-O1>")
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # In a unity source a test's fixture in an anonymous namespace looks to GCC like one in a header.
    target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
  endif()
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # With these headers precompiled, GCC 12 inlines std::string's copies differently and with the optimiser
    # on reports impossible sizes and bounds in them: compiler bugs gone in GCC 13, like the -Wrestrict one
    # that the top CMakeLists.txt turns off.
    target_compile_options(${target} PRIVATE "$<$<NOT:$<CONFIG:Debug>>:-Wno-stringop-overflow;-Wno-stringop-overread;-Wno-array-bounds>")
  endif()
endfunction()

# korvex_embed(<target> <NAME> <file>)
# Compiles the file's bytes into target; at run time classes::FindEmbeddedResource("<NAME>") finds them.
# The bytes go in through the assembler's .incbin, so large files cost no compile time; the generated
# source carries the file's hash, so a changed file is never taken from a compiler cache. A static
# library's resources come along with every program that links it: the library asks the linker to keep them.
function(korvex_embed target name file)
  get_filename_component(file "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  string(MAKE_C_IDENTIFIER "${target}_${name}" id)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/korvex_embed/${id}.cpp")
  set(script "${CMAKE_BINARY_DIR}/korvex_embed.cmake")
  if(NOT EXISTS "${script}")
    file(WRITE "${script}" [=[
file(SHA256 "${IN}" hash)
file(WRITE "${OUT}.tmp" "// Generated from ${IN} (sha256 ${hash}); do not edit.
#include \"platform/classes/Resources.h\"

#include <cstdint>

__asm__(\".pushsection .rodata.korvex_embed_${ID},\\\"a\\\"\\n\"
        \".balign 16\\n\"
        \".globl korvex_embed_begin_${ID}\\n\"
        \".hidden korvex_embed_begin_${ID}\\n\"
        \"korvex_embed_begin_${ID}:\\n\"
        \".incbin \\\"${IN}\\\"\\n\"
        \".globl korvex_embed_end_${ID}\\n\"
        \".hidden korvex_embed_end_${ID}\\n\"
        \"korvex_embed_end_${ID}:\\n\"
        \".byte 0\\n\"
        \".popsection\\n\");

extern \"C\" const std::uint8_t korvex_embed_begin_${ID}[];
extern \"C\" const std::uint8_t korvex_embed_end_${ID}[];
extern \"C\" const int korvex_embedded_${ID};
const int korvex_embedded_${ID} = 1;

namespace {
const korvex::classes::TEmbeddedResource Registration(\"${NAME}\", korvex_embed_begin_${ID},
    static_cast<std::size_t>(korvex_embed_end_${ID} - korvex_embed_begin_${ID}));
}
")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
]=])
  endif()
  add_custom_command(OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -DIN=${file} -DOUT=${out} -DID=${id} -DNAME=${name} -P "${script}"
    DEPENDS "${file}" "${script}"
    COMMENT "Embedding ${name} into ${target}"
    VERBATIM)
  # Each generated source names its registration alike: never merged into a unity unit.
  set_source_files_properties("${out}" PROPERTIES OBJECT_DEPENDS "${file}" SKIP_UNITY_BUILD_INCLUSION ON)
  target_sources(${target} PRIVATE "${out}")
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "STATIC_LIBRARY" OR type STREQUAL "OBJECT_LIBRARY")
    target_link_options(${target} INTERFACE "LINKER:--undefined=korvex_embedded_${id}")
  endif()
endfunction()
