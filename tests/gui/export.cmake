# GUI tests of the table export window.
target_sources(gui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ExportWindowTest.cpp
)
