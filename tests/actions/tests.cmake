# The action tests drive real browser hosts on the engine double, through the browser tests' fixture.
target_sources(actions_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../browser/browser_fixture.cpp)
target_include_directories(actions_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../browser)
