# Every C++ file of the project in the style of .clang-format.
add_test(NAME code_format COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-format.sh)
set_tests_properties(code_format PROPERTIES TIMEOUT 120)
