# Checks of the built file itself, run on the build machine.
add_test(NAME plugin_binary COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_binary.sh $<TARGET_FILE:zkTamrelDesk>)

# The plug-in's raisers of the run-time's exceptions, linked into a test program of their own
# (every program that links them gets them in place of the run-time's).
add_executable(runtime_exceptions_tests ${CMAKE_CURRENT_LIST_DIR}/runtime/runtime_exceptions_test.cpp
               ${CMAKE_SOURCE_DIR}/src/plugin/runtime_exceptions.cpp ${CMAKE_SOURCE_DIR}/testing/testhost/test_main.cpp)
target_link_libraries(runtime_exceptions_tests PRIVATE tamrel_support GTest::gtest)
add_test(NAME runtime_exceptions_tests COMMAND runtime_exceptions_tests --gtest_color=no)
