include(GoogleTest)
find_package(GTest REQUIRED)

# The shared corpus of real documents sits beside the checkout.
set(LEAFMILL_CORPUS_DIR "${CMAKE_SOURCE_DIR}/../shared/corpus" CACHE PATH "Folder of the document corpus")

# leafmill_add_test(NAME <name> SOURCES <files...> [LIBS <targets...>] [GUI])
# Builds one GoogleTest executable and registers its cases with CTest.
# GUI tests get a QApplication and run on the offscreen platform.
function(leafmill_add_test)
  cmake_parse_arguments(ARG "GUI" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE leafmill_testsupport ${ARG_LIBS})
  set_target_properties(${ARG_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  # A suite's case files and fixtures sit beside its sources.
  target_compile_definitions(${ARG_NAME} PRIVATE LEAFMILL_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}")
  if(ARG_GUI)
    target_link_libraries(${ARG_NAME} PRIVATE leafmill_gui_testmain leafmill_ui Qt6::Test)
    set_target_properties(${ARG_NAME} PROPERTIES AUTOMOC ON)
  else()
    target_link_libraries(${ARG_NAME} PRIVATE GTest::gtest_main)
  endif()
  # The corpus folder reaches the tests as a build-time default of the support
  # library (LEAFMILL_CORPUS in the environment overrides it); GUI tests choose
  # the offscreen platform in their own main.
  # Cases are named by their suites' name generators (tests/support/CaseName.h):
  # the printed parameter values would put bytes and addresses into the names.
  gtest_discover_tests(${ARG_NAME}
    NO_PRETTY_VALUES
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300)
endfunction()
