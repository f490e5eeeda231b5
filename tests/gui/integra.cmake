# GUI tests of the customer integrations.
target_sources(gui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/IntegrationMenuTest.cpp
)
