# Core tests of the NORVIK store.
target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DbfTestFiles.h
  ${CMAKE_CURRENT_LIST_DIR}/NtxIndexTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DbfTableTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DbfBadInputTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DbfReadersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DbfValuesTest.cpp
)
