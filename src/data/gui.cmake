# The search window and the data-aware controls the windows of other areas use.
target_sources(pelomira_gui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/QtDBEdit.h
  ${CMAKE_CURRENT_LIST_DIR}/QtDBEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtRecordSetModel.h
  ${CMAKE_CURRENT_LIST_DIR}/QtRecordSetModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmPesquisa.h
  ${CMAKE_CURRENT_LIST_DIR}/TfrmPesquisa.cpp
)
