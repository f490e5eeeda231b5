target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/RegistryOperationsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CodeMappingTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegistryImportTest.cpp
)
