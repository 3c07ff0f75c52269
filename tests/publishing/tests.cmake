# The release layout of WebLibraries from the pinned packages, and a tree with a link cycle.
set(_fixtures ${TAMREL_BIN_DIR}/fixtures)
set(_release_libs ${TAMREL_BIN_DIR}/release-WebLibraries)
add_custom_command(
  OUTPUT ${_release_libs}/.laid-out
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/web-libraries.sh ${_release_libs}
  COMMAND ${CMAKE_COMMAND} -E touch ${_release_libs}/.laid-out
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/web-libraries.sh ${CMAKE_SOURCE_DIR}/package-lock.json
  COMMENT "Laying out WebLibraries from the pinned packages"
  VERBATIM)
add_custom_target(release_web_libraries DEPENDS ${_release_libs}/.laid-out)

add_dependencies(publishing_tests release_web_libraries)

# A WebLibraries tree whose extension folder holds a directory symbolic link back to itself
# (made on the build side: Wine cannot create links from inside).
set(_cycle ${_fixtures}/link-cycle/WebLibraries/ECharts)
add_custom_command(
  OUTPUT ${_fixtures}/link-cycle/.made
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${_fixtures}/link-cycle/WebLibraries
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_cycle}/dist/extension/nested/deeper ${_cycle}/theme
  COMMAND ${CMAKE_COMMAND} -E touch ${_cycle}/dist/echarts.min.js ${_cycle}/dist/extension/bmap.js
          ${_cycle}/dist/extension/nested/deeper/tool.JS ${_cycle}/theme/dark.js ${_cycle}/LICENSE
  COMMAND ${CMAKE_COMMAND} -E create_symlink .. ${_cycle}/dist/extension/nested/loop
  COMMAND ${CMAKE_COMMAND} -E touch ${_fixtures}/link-cycle/.made
  VERBATIM)
add_custom_target(link_cycle_fixture DEPENDS ${_fixtures}/link-cycle/.made)
add_dependencies(publishing_tests link_cycle_fixture)
