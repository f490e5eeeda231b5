# The table export window.
target_sources(pelomira_gui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TfrmImportar.h
  ${CMAKE_CURRENT_LIST_DIR}/TfrmImportar.cpp
)
