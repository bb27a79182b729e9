# skarvel_library(<subsystem> SOURCES ...): one static library per source folder.
function(skarvel_library sub)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  add_library(skarvel_${sub} STATIC ${ARG_SOURCES})
  target_include_directories(skarvel_${sub} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/generated)
  target_link_libraries(skarvel_${sub} PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Network
    Qt6::SerialPort PkgConfig::ALSA PkgConfig::SNDFILE JPEG::JPEG Threads::Threads)
  # Every subsystem builds on the platform library.
  if(NOT sub STREQUAL "platform")
    target_link_libraries(skarvel_${sub} PUBLIC skarvel_platform)
  endif()
endfunction()

# skarvel_test(<name> SOURCES ... [LABELS ...] [GUI]): a GoogleTest executable
# linked against every subsystem. GUI tests get the offscreen platform, so a
# plain ctest works without a display. Tests labelled fuzz also join the
# fuzz_tests target that the sanitizer configuration builds.
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
    list(APPEND props ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  endif()
  gtest_discover_tests(${name} PROPERTIES ${props} DISCOVERY_TIMEOUT 60)
  if("fuzz" IN_LIST ARG_LABELS)
    add_dependencies(fuzz_tests ${name})
  endif()
endfunction()
