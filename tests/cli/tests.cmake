# The commands of pelomira-cli, run in-process.
target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CliRunnerTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CliNorvikTest.cpp
)
target_link_libraries(core_tests PRIVATE pelomira_cli_commands)
