target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AppContext.h
  ${CMAKE_CURRENT_LIST_DIR}/AppError.h
  ${CMAKE_CURRENT_LIST_DIR}/ConsoleOperator.h
  ${CMAKE_CURRENT_LIST_DIR}/ConsoleOperator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IniFile.h
  ${CMAKE_CURRENT_LIST_DIR}/IniFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Logs.h
  ${CMAKE_CURRENT_LIST_DIR}/Logs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Operator.h
  ${CMAKE_CURRENT_LIST_DIR}/ScriptedOperator.h
  ${CMAKE_CURRENT_LIST_DIR}/ScriptedOperator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Settings.h
  ${CMAKE_CURRENT_LIST_DIR}/Settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextUtils.h
  ${CMAKE_CURRENT_LIST_DIR}/TextUtils.cpp
)
