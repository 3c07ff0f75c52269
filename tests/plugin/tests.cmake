# Checks of the built file itself, run on the build machine.
add_test(NAME plugin_binary COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_binary.sh $<TARGET_FILE:zkTamrelDesk>)
