# NORVIK store: dBase III tables, memo files and Clipper indices shared with the NORVIK workstations.
target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ClipperLocks.h
  ${CMAKE_CURRENT_LIST_DIR}/SharedFile.h
  ${CMAKE_CURRENT_LIST_DIR}/SharedFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DbfCodePage.h
  ${CMAKE_CURRENT_LIST_DIR}/DbfCodePage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DbfField.h
  ${CMAKE_CURRENT_LIST_DIR}/DbfHeader.h
  ${CMAKE_CURRENT_LIST_DIR}/DbfHeader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DbfValue.h
  ${CMAKE_CURRENT_LIST_DIR}/DbfValue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DbtMemo.h
  ${CMAKE_CURRENT_LIST_DIR}/DbtMemo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NtxKeyExpression.h
  ${CMAKE_CURRENT_LIST_DIR}/NtxKeyExpression.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NtxIndex.h
  ${CMAKE_CURRENT_LIST_DIR}/NtxIndex.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DbfTable.h
  ${CMAKE_CURRENT_LIST_DIR}/DbfTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DbfCheck.h
  ${CMAKE_CURRENT_LIST_DIR}/DbfCheck.cpp
)
