# The commands are a library, so the tests run them in-process; the executable is main.cpp alone.
add_library(pelomira_cli_commands STATIC)
target_link_libraries(pelomira_cli_commands PUBLIC pelomira_core)
target_sources(pelomira_cli_commands PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CliCommand.h
  ${CMAKE_CURRENT_LIST_DIR}/CliCommands.h
  ${CMAKE_CURRENT_LIST_DIR}/CliCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CliRunner.h
  ${CMAKE_CURRENT_LIST_DIR}/CliRunner.cpp
  # settings and set-up
  ${CMAKE_CURRENT_LIST_DIR}/CliSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CliOrientador.cpp
  # Integra database
  ${CMAKE_CURRENT_LIST_DIR}/CliIntegra.cpp
  # process import
  ${CMAKE_CURRENT_LIST_DIR}/CliMerlin.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CliImport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CliTransfer.cpp
  # NORVIK
  ${CMAKE_CURRENT_LIST_DIR}/CliNorvik.cpp
  # table export
  ${CMAKE_CURRENT_LIST_DIR}/CliExport.cpp
  # customer integrations
  ${CMAKE_CURRENT_LIST_DIR}/CliIntegrate.cpp
)
target_sources(pelomira-cli PRIVATE ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(pelomira-cli PRIVATE pelomira_cli_commands)
