# The four registry windows (one design, TfrmCadastro) and the code-mapping window.
target_sources(pelomira_gui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TfrmCadastro.h
  ${CMAKE_CURRENT_LIST_DIR}/TfrmCadastro.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmUnidade.h
  ${CMAKE_CURRENT_LIST_DIR}/TfrmUnidade.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmPais.h
  ${CMAKE_CURRENT_LIST_DIR}/TfrmPais.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmExportador.h
  ${CMAKE_CURRENT_LIST_DIR}/TfrmExportador.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmFabricante.h
  ${CMAKE_CURRENT_LIST_DIR}/TfrmFabricante.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmVinculo.h
  ${CMAKE_CURRENT_LIST_DIR}/TfrmVinculo.cpp
)
