# skarvel_library(<name> SOURCES ... LINKS ... [QT]): one static library that
# links only what it names. QT: it has classes with Q_OBJECT.
function(skarvel_library name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/generated)
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  if(NOT ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC OFF)
  endif()
endfunction()

# skarvel_windows(<files>...): the windows of a folder. They show the main
# window's state, so they are built with the main window (skarvel_app).
function(skarvel_windows)
  foreach(file ${ARGN})
    set_property(GLOBAL APPEND PROPERTY SKARVEL_WINDOW_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${file})
  endforeach()
endfunction()

# skarvel_test(<name> SOURCES ... [LABELS ...] [GUI] [LIBS ...]): a GoogleTest
# executable linked against the whole program. GUI tests get the offscreen
# platform with a screen of a desktop's size (tests/support), so a plain
# ctest works without a display. Tests labelled fuzz
# also join the fuzz_tests target that the sanitizer configuration builds.
function(skarvel_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LABELS;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_GUI)
    # A QApplication lives for the whole test program.
    target_link_libraries(${name} PRIVATE skarvel_gui_test_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE skarvel_testsupport skarvel_all GTest::gtest ${ARG_LIBS})
  if(TARGET skarvel)
    add_dependencies(${name} skarvel)
  endif()
  set(props "")
  if(ARG_LABELS)
    list(APPEND props LABELS ${ARG_LABELS})
  endif()
  if(ARG_GUI)
    list(APPEND props ENVIRONMENT QT_QPA_PLATFORM=${SKARVEL_TEST_PLATFORM})
  endif()
  gtest_discover_tests(${name} PROPERTIES ${props} DISCOVERY_TIMEOUT 60)
  if("fuzz" IN_LIST ARG_LABELS)
    add_dependencies(fuzz_tests ${name})
  endif()
endfunction()
