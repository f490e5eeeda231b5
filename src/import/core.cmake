# Sources of this area are added here as they are written.

# Merlin web service
target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MerlinAddress.h
  ${CMAKE_CURRENT_LIST_DIR}/MerlinAddress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MerlinClient.h
  ${CMAKE_CURRENT_LIST_DIR}/MerlinClient.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MerlinProcessRequest.h
  ${CMAKE_CURRENT_LIST_DIR}/MerlinProcessRequest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MerlinResponse.h
  ${CMAKE_CURRENT_LIST_DIR}/MerlinResponse.cpp
)
target_sources(pelomira_core PRIVATE
  # XML documents and the transform engine
  ${CMAKE_CURRENT_LIST_DIR}/XmlDocument.h
  ${CMAKE_CURRENT_LIST_DIR}/XmlDocument.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XmlDocumentCache.h
  ${CMAKE_CURRENT_LIST_DIR}/XmlDocumentCache.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XmlTransform.h
  ${CMAKE_CURRENT_LIST_DIR}/XmlTransform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XmlTransformProvider.h
  ${CMAKE_CURRENT_LIST_DIR}/XmlTransformProvider.cpp
)
target_sources(pelomira_core PRIVATE
  # process document: record-set reset, prologue, dispatch to the transfers
  ${CMAKE_CURRENT_LIST_DIR}/ProcessImport.h
  ${CMAKE_CURRENT_LIST_DIR}/ProcessImport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProcessRecordSets.h
  ${CMAKE_CURRENT_LIST_DIR}/ProcessRecordSets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProcessTransfer.h
  ${CMAKE_CURRENT_LIST_DIR}/ProcessTransfers.h
  ${CMAKE_CURRENT_LIST_DIR}/ProcessTransfers.cpp
)
target_sources(pelomira_core PRIVATE
  # the DI transfer into the Orientador and the writing every Orientador transfer shares
  ${CMAKE_CURRENT_LIST_DIR}/FieldSources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TransferConversions.h
  ${CMAKE_CURRENT_LIST_DIR}/TransferConversions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorRowWriter.h
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorRowWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DiOrientadorWriter.h
  ${CMAKE_CURRENT_LIST_DIR}/DiOrientadorWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DiOrientadorTransfer.h
  ${CMAKE_CURRENT_LIST_DIR}/DiOrientadorTransfer.cpp
)
