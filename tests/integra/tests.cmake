# Core tests of the customer integrations.
target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MerlinRequestDocumentTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CustomerReadersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IntegrationWorld.h
  ${CMAKE_CURRENT_LIST_DIR}/MerlinSimProcess.h
  ${CMAKE_CURRENT_LIST_DIR}/CustomerIntegrationTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MerlinRequestSendTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CliIntegrateTest.cpp
)
