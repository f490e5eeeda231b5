# GUI tests of this area are added here.
# The return window against merlin-sim (the real program), started by the tests.
target_sources(gui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/RetornoWindowTest.cpp
)
add_dependencies(gui_tests merlin-sim)
