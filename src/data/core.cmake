target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TDM.h
  # record sets
  ${CMAKE_CURRENT_LIST_DIR}/DataProvider.h
  ${CMAKE_CURRENT_LIST_DIR}/RecordCommand.h
  ${CMAKE_CURRENT_LIST_DIR}/RecordCommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecordSchema.h
  ${CMAKE_CURRENT_LIST_DIR}/RecordSchema.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecordSet.h
  ${CMAKE_CURRENT_LIST_DIR}/RecordSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecordTable.h
  ${CMAKE_CURRENT_LIST_DIR}/RecordTable.cpp
)
# XML documents and the transform that feeds the process record sets
target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/XmlDocument.h
  ${CMAKE_CURRENT_LIST_DIR}/XmlDocument.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XmlDocumentCache.h
  ${CMAKE_CURRENT_LIST_DIR}/XmlDocumentCache.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XmlTransform.h
  ${CMAKE_CURRENT_LIST_DIR}/XmlTransform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XmlTransformProvider.h
  ${CMAKE_CURRENT_LIST_DIR}/XmlTransformProvider.cpp
)
# The Merlin web client the data module holds
target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MerlinClient.h
  ${CMAKE_CURRENT_LIST_DIR}/MerlinClient.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MerlinAddress.h
  ${CMAKE_CURRENT_LIST_DIR}/MerlinAddress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MerlinResponse.h
  ${CMAKE_CURRENT_LIST_DIR}/MerlinResponse.cpp
)
