# Tests through the plug-in on the real engine: the Chromium engine's WebView2Loader.dll
# (bin/chromium-engine/) with Debian's headless Chromium behind it.
if(NOT TARGET ChromiumWebView2Loader)
  return()
endif()
file(GLOB _chromium_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
# The engine's file serving is also tested directly, compiled in from its own source.
add_executable(chromium_tests ${_chromium_sources} ${CMAKE_SOURCE_DIR}/testing/testhost/test_main.cpp
  ${CMAKE_SOURCE_DIR}/testing/chromium_engine/served_files.cpp)
target_include_directories(chromium_tests PRIVATE ${CMAKE_SOURCE_DIR}/testing/chromium_engine)
target_link_libraries(chromium_tests PRIVATE testhost tamrel_core GTest::gtest ws2_32)
add_dependencies(chromium_tests zkTamrelDesk ChromiumWebView2Loader)

set(_web_libraries ${CMAKE_BINARY_DIR}/js-tests/WebLibraries)
add_test(NAME chromium_tests COMMAND chromium_tests --gtest_color=no)
set_tests_properties(chromium_tests PROPERTIES
  TIMEOUT 600
  ENVIRONMENT "TAMREL_WEB_LIBRARIES=${_web_libraries}"
  FIXTURES_REQUIRED "tamrel_web_libraries;tamrel_chromium_processes")

# After the tests: no Chromium started by them may still run (one is ended by this check).
add_test(NAME chromium_left_running COMMAND ${CMAKE_CURRENT_LIST_DIR}/no_chromium_left.sh ${CMAKE_BINARY_DIR}/wineprefix)
set_tests_properties(chromium_left_running PROPERTIES FIXTURES_CLEANUP tamrel_chromium_processes TIMEOUT 60)
