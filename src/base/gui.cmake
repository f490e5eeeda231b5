# The windows every area shows through the operator, and the Qt side of the operator itself.
target_sources(pelomira_gui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/QtAltKeyFilter.h
  ${CMAKE_CURRENT_LIST_DIR}/QtAltKeyFilter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtOperator.h
  ${CMAKE_CURRENT_LIST_DIR}/QtOperator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtGauge.h
  ${CMAKE_CURRENT_LIST_DIR}/QtGauge.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtUi.h
  ${CMAKE_CURRENT_LIST_DIR}/QtWindowStacking.h
  ${CMAKE_CURRENT_LIST_DIR}/QtWindowStacking.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtControls.h
  ${CMAKE_CURRENT_LIST_DIR}/TBarraCadastro.h
  ${CMAKE_CURRENT_LIST_DIR}/TBarraCadastro.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmBarraWS.h
  ${CMAKE_CURRENT_LIST_DIR}/TfrmBarraWS.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmMensagens.h
  ${CMAKE_CURRENT_LIST_DIR}/TfrmMensagens.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmProgresso.h
  ${CMAKE_CURRENT_LIST_DIR}/TfrmProgresso.cpp
)
