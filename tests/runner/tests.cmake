# The publication runner: its parser and substitution (white-box), scripts handed back by the
# plug-in (in-process, on the engine double), and the runner program as authors start it.
tamrel_test_folder(runner tamrel_runner_core)

# A release folder for runs on the engine double: the plug-in with the double beside it and
# the WebLibraries of the release.
set(_runner_double ${TAMREL_BIN_DIR}/runner-release/double)
add_custom_command(
  OUTPUT ${_runner_double}/.made
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${_runner_double}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_runner_double}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:zkTamrelDesk> $<TARGET_FILE:WebView2Loader> ${_runner_double}/
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${TAMREL_BIN_DIR}/release-WebLibraries ${_runner_double}/WebLibraries
  COMMAND ${CMAKE_COMMAND} -E touch ${_runner_double}/.made
  DEPENDS zkTamrelDesk WebView2Loader ${TAMREL_BIN_DIR}/release-WebLibraries/.laid-out
  COMMENT "Laying out the runner's release folder with the engine double"
  VERBATIM)
add_custom_target(runner_release_double DEPENDS ${_runner_double}/.made)
add_dependencies(runner_release_double release_web_libraries)
add_dependencies(runner_tests tamrel_runner runner_release_double)

# The guide's examples and the example publication: checked against the plug-in's actions, and
# the examples that need no page run in full on the engine double.
set(_publications ${CMAKE_CURRENT_LIST_DIR}/publications.sh)
foreach(_mode check double)
  add_test(NAME publications_${_mode}
           COMMAND bash ${_publications} ${_mode} $<TARGET_FILE:tamrel_runner> ${_runner_double}
                   ${CMAKE_BINARY_DIR}/publications-${_mode})
  set_tests_properties(publications_${_mode} PROPERTIES TIMEOUT 300)
endforeach()

# With the Chromium engine in the build, every guide example and the example publication run
# in full on it, pictures included, from a release folder with that engine beside the plug-in.
if(TARGET ChromiumWebView2Loader)
  set(_runner_chromium ${TAMREL_BIN_DIR}/runner-release/chromium)
  add_custom_command(
    OUTPUT ${_runner_chromium}/.made
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${_runner_chromium}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_runner_chromium}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:zkTamrelDesk> $<TARGET_FILE:ChromiumWebView2Loader>
            ${_runner_chromium}/
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${TAMREL_BIN_DIR}/release-WebLibraries ${_runner_chromium}/WebLibraries
    COMMAND ${CMAKE_COMMAND} -E touch ${_runner_chromium}/.made
    DEPENDS zkTamrelDesk ChromiumWebView2Loader ${TAMREL_BIN_DIR}/release-WebLibraries/.laid-out
    COMMENT "Laying out the runner's release folder with the Chromium engine"
    VERBATIM)
  add_custom_target(runner_release_chromium DEPENDS ${_runner_chromium}/.made)
  add_dependencies(runner_release_chromium release_web_libraries)
  add_dependencies(runner_tests runner_release_chromium)
  add_test(NAME publications_browser
           COMMAND bash ${_publications} browser $<TARGET_FILE:tamrel_runner> ${_runner_chromium}
                   ${CMAKE_BINARY_DIR}/publications-browser)
  # The check that no Chromium outlives its tests runs after these publications too.
  set_tests_properties(publications_browser PROPERTIES TIMEOUT 600 FIXTURES_REQUIRED tamrel_chromium_processes)
endif()
