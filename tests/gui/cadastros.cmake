# GUI tests of the registry windows and the code-mapping window.
target_sources(gui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/IntegraGuiWorld.h
  ${CMAKE_CURRENT_LIST_DIR}/RegistryWindowsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MappingWindowTest.cpp
)
