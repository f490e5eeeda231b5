# SISCOMEX table export: values into the export files, the table list, the export itself.
target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ExportEncoding.h
  ${CMAKE_CURRENT_LIST_DIR}/ExportEncoding.cpp
)
