# The set-up scripts' own logic, with stand-ins for the tools they call.
add_test(NAME setup_node COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/setup/node_setup_test.sh)
set_tests_properties(setup_node PROPERTIES TIMEOUT 120)
