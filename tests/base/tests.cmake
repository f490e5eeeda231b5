target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TextUtilsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IniFileTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LogsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BusyGuardTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsSaveTest.cpp
)
