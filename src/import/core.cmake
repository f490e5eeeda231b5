# Sources of this area are added here as they are written.

# the process request to Merlin
target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MerlinProcessRequest.h
  ${CMAKE_CURRENT_LIST_DIR}/MerlinProcessRequest.cpp
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
  # the writing every Orientador transfer shares: rules, field writers, preparation, the run of a unit
  ${CMAKE_CURRENT_LIST_DIR}/FieldSources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TransferOutcome.h
  ${CMAKE_CURRENT_LIST_DIR}/TransferConversions.h
  ${CMAKE_CURRENT_LIST_DIR}/TransferConversions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TransferRules.h
  ${CMAKE_CURRENT_LIST_DIR}/TransferRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PartyRules.h
  ${CMAKE_CURRENT_LIST_DIR}/PartyRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DocumentView.h
  ${CMAKE_CURRENT_LIST_DIR}/DocumentView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PartyWriter.h
  ${CMAKE_CURRENT_LIST_DIR}/PartyWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorRowWriter.h
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorRowWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UnitPreparation.h
  ${CMAKE_CURRENT_LIST_DIR}/UnitPreparation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorTransfer.h
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorTransfer.cpp
  # the DI transfer into the Orientador
  ${CMAKE_CURRENT_LIST_DIR}/DiOrientadorRules.h
  ${CMAKE_CURRENT_LIST_DIR}/DiOrientadorRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DiOrientadorWriter.h
  ${CMAKE_CURRENT_LIST_DIR}/DiOrientadorWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DiOrientadorTransfer.h
  ${CMAKE_CURRENT_LIST_DIR}/DiOrientadorTransfer.cpp
  # the LI, DSI and LSI transfers into the Orientador
  ${CMAKE_CURRENT_LIST_DIR}/LicenceSources.h
  ${CMAKE_CURRENT_LIST_DIR}/LicenceSources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LicenceOrientadorTransfer.h
  ${CMAKE_CURRENT_LIST_DIR}/LicenceOrientadorTransfer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LiOrientadorRules.h
  ${CMAKE_CURRENT_LIST_DIR}/LiOrientadorRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LiOrientadorWriter.h
  ${CMAKE_CURRENT_LIST_DIR}/LiOrientadorWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LiOrientadorTransfer.h
  ${CMAKE_CURRENT_LIST_DIR}/LiOrientadorTransfer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LsiOrientadorRules.h
  ${CMAKE_CURRENT_LIST_DIR}/LsiOrientadorRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LsiOrientadorWriter.h
  ${CMAKE_CURRENT_LIST_DIR}/LsiOrientadorWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LsiOrientadorTransfer.h
  ${CMAKE_CURRENT_LIST_DIR}/LsiOrientadorTransfer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DsiOrientadorRules.h
  ${CMAKE_CURRENT_LIST_DIR}/DsiOrientadorRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DsiOrientadorWriter.h
  ${CMAKE_CURRENT_LIST_DIR}/DsiOrientadorWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DsiOrientadorTransfer.h
  ${CMAKE_CURRENT_LIST_DIR}/DsiOrientadorTransfer.cpp
  # DI transfer into NORVIK
  ${CMAKE_CURRENT_LIST_DIR}/GRAVACAMPONORVIK.h
  ${CMAKE_CURRENT_LIST_DIR}/GRAVACAMPONORVIK.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DiNorvikRules.h
  ${CMAKE_CURRENT_LIST_DIR}/DiNorvikRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DiNorvikWriter.h
  ${CMAKE_CURRENT_LIST_DIR}/DiNorvikWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DiNorvikTransfer.h
  ${CMAKE_CURRENT_LIST_DIR}/DiNorvikTransfer.cpp
)
