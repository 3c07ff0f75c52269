# The soak and fuzz runs on the engine double: one program, two entries. scripts/soak.sh runs the
# same program with longer runs (TAMREL_SOAK_CYCLES, TAMREL_FUZZ_CALLS, TAMREL_FUZZ_SEED).
file(GLOB _soak_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_executable(soak_tests ${_soak_sources} ${CMAKE_SOURCE_DIR}/testing/testhost/test_main.cpp)
target_link_libraries(soak_tests PRIVATE browser_fixture testhost tamrel_core GTest::gtest)
add_dependencies(soak_tests zkTamrelDesk)
add_test(NAME soak_cycles COMMAND soak_tests --gtest_color=no --gtest_filter=ProcessResources.*:CycleSoak.*)
add_test(NAME soak_fuzz COMMAND soak_tests --gtest_color=no --gtest_filter=LogForm.*:CallFuzz.*)
set_tests_properties(soak_cycles soak_fuzz PROPERTIES TIMEOUT 300)
