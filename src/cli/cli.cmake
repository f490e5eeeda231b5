target_sources(pelomira-cli PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CliCommands.h
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CliSettings.cpp
  # Orientador commands
  ${CMAKE_CURRENT_LIST_DIR}/CliOrientador.cpp

  # Integra commands
  ${CMAKE_CURRENT_LIST_DIR}/CliIntegra.cpp

  # import commands
  ${CMAKE_CURRENT_LIST_DIR}/CliMerlin.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CliImport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CliTransfer.cpp

  # NORVIK commands
)
