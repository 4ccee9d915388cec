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
  set(env "LEAFMILL_CORPUS=${LEAFMILL_CORPUS_DIR}" "LEAFMILL_PROGRAM_DIR=${LEAFMILL_PROGRAM_DIR}")
  if(ARG_GUI)
    target_link_libraries(${ARG_NAME} PRIVATE leafmill_gui_testmain leafmill_ui Qt6::Test)
    set_target_properties(${ARG_NAME} PROPERTIES AUTOMOC ON)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  else()
    target_link_libraries(${ARG_NAME} PRIVATE GTest::gtest_main)
  endif()
  gtest_discover_tests(${ARG_NAME}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
