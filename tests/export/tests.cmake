# SISCOMEX table export: the value encodings, and the export itself with its files read back by
# independent readers (pugixml, xmllint, Python's csv module).
target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ExportWorld.h
  ${CMAKE_CURRENT_LIST_DIR}/ExportEncodingTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TableExportTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CliExportTest.cpp
)
