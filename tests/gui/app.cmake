target_sources(gui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ShellWorld.h
  ${CMAKE_CURRENT_LIST_DIR}/ShellWindowsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PrincipalTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConfigTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowBehaviourTest.cpp
)
