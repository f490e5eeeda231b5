# The four registries, the registry import and the code mapping (core routines of their windows).
target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Registry.h
  ${CMAKE_CURRENT_LIST_DIR}/Registry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegistryOperations.h
  ${CMAKE_CURRENT_LIST_DIR}/RegistryOperations.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CodeMapping.h
  ${CMAKE_CURRENT_LIST_DIR}/CodeMapping.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegistryImport.h
  ${CMAKE_CURRENT_LIST_DIR}/RegistryImport.cpp
)
