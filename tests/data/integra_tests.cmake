# Core tests of the Integra database, and the helper program they start as a second process.
add_executable(integra_test_helper ${CMAKE_CURRENT_LIST_DIR}/IntegraTestHelper.cpp)
target_link_libraries(integra_test_helper PRIVATE pelomira_core)
add_dependencies(core_tests integra_test_helper)
target_compile_definitions(core_tests PRIVATE INTEGRA_TEST_HELPER="$<TARGET_FILE:integra_test_helper>")

target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/IntegraWorld.h
  ${CMAKE_CURRENT_LIST_DIR}/IntegraWorld.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IntegraDatabaseTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IntegraReindexTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IntegraServerTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IntegraSharedTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IntegraTruncationTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EmbeddedFirebirdTest.cpp
)
# The shared-file tests run pelomira-cli beside this process.
add_dependencies(core_tests pelomira-cli)
