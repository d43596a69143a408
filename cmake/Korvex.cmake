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

# korvex_tests(LABEL <layer> LIBS <libs...>)
# One test program per *Test.cpp in the calling folder, each test case a CTest test with the layer's label.
function(korvex_tests)
  cmake_parse_arguments(ARG "" "LABEL" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
  file(GLOB support CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support/*.cpp)
  foreach(test_source IN LISTS tests)
    get_filename_component(name ${test_source} NAME_WE)
    set(target ${ARG_LABEL}_${name})
    add_executable(${target} ${test_source} ${support})
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
    gtest_discover_tests(${target}
      DISCOVERY_MODE PRE_TEST
      TEST_PREFIX "${ARG_LABEL}."
      PROPERTIES LABELS ${ARG_LABEL} ENVIRONMENT "KORVEX_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data")
  endforeach()
endfunction()
