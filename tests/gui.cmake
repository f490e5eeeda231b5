target_sources(gui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/gui/GuiTestMain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gui/GuiTests.h
  ${CMAKE_CURRENT_LIST_DIR}/TestEnv.h
  ${CMAKE_CURRENT_LIST_DIR}/TestWorld.h
  ${CMAKE_CURRENT_LIST_DIR}/TestEnv.cpp
)
include(${CMAKE_CURRENT_LIST_DIR}/gui/app.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/gui/import.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/gui/cadastros.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/gui/data.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/gui/export.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/gui/integra.cmake)
