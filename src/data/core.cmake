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
