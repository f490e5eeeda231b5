# Windows of this area are added here as they are written.
target_sources(pelomira_gui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TfrmRetorno.h
  ${CMAKE_CURRENT_LIST_DIR}/TfrmRetorno.cpp
)
