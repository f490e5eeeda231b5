# SISCOMEX table export: values into the export files, the table list, the two file forms and the
# export itself.
target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ExportEncoding.h
  ${CMAKE_CURRENT_LIST_DIR}/ExportEncoding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExportTableList.h
  ${CMAKE_CURRENT_LIST_DIR}/ExportTableList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StagedFile.h
  ${CMAKE_CURRENT_LIST_DIR}/StagedFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TableFileWriter.h
  ${CMAKE_CURRENT_LIST_DIR}/TableFileWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XmlTableWriter.h
  ${CMAKE_CURRENT_LIST_DIR}/XmlTableWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CsvTableWriter.h
  ${CMAKE_CURRENT_LIST_DIR}/CsvTableWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TableExportProgress.h
  ${CMAKE_CURRENT_LIST_DIR}/TableExport.h
  ${CMAKE_CURRENT_LIST_DIR}/TableExport.cpp
)
