# GUI tests of the search window.
target_sources(gui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SearchWindowTest.cpp
)
