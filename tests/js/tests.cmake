# Page-side tests: the JavaScript the plug-in injects or builds, run in headless Chromium.
# tamrel_script_dump (run under Wine by the node tests) writes the exact texts the plug-in
# builds, so the browser runs those and no copy of them.
add_executable(tamrel_script_dump ${CMAKE_SOURCE_DIR}/testing/script_dump/script_dump.cpp)
target_link_libraries(tamrel_script_dump PRIVATE tamrel_core)
target_link_options(tamrel_script_dump PRIVATE -municode)

# The pure script builders, tested in C++ as well (js_tests.exe).
tamrel_test_folder(js)

# scripts/setup.sh chooses the Node.js (20 or later) and configure.sh passes it in.
find_program(TAMREL_NODE node)
if(NOT TAMREL_NODE)
  message(FATAL_ERROR "node not found: run scripts/setup.sh, or pass -DTAMREL_NODE=<node 20 or later>")
endif()

set(_js_dir ${CMAKE_CURRENT_SOURCE_DIR}/js)
set(_js_web_libraries ${CMAKE_BINARY_DIR}/js-tests/WebLibraries)
set(_js_env
  TAMREL_SCRIPT_DUMP=$<TARGET_FILE:tamrel_script_dump>
  TAMREL_WEB_LIBRARIES=${_js_web_libraries}
  TAMREL_JS_WORK=${CMAKE_BINARY_DIR}/js-tests)

# The release folder's WebLibraries, laid out from the pinned npm packages.
add_test(NAME js_web_libraries COMMAND ${CMAKE_SOURCE_DIR}/scripts/web-libraries.sh ${_js_web_libraries})
set_tests_properties(js_web_libraries PROPERTIES FIXTURES_SETUP tamrel_web_libraries TIMEOUT 300)

add_test(NAME js_page_scripts COMMAND ${TAMREL_NODE} --test --test-concurrency=1 page_scripts.test.mjs
         WORKING_DIRECTORY ${_js_dir})
set_tests_properties(js_page_scripts PROPERTIES ENVIRONMENT "${_js_env}" TIMEOUT 300)

add_test(NAME js_components COMMAND ${TAMREL_NODE} --test --test-concurrency=1 components.test.mjs
         WORKING_DIRECTORY ${_js_dir})
set_tests_properties(js_components PROPERTIES ENVIRONMENT "${_js_env}" TIMEOUT 300
                     FIXTURES_REQUIRED tamrel_web_libraries)
