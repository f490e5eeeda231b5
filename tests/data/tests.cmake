# Core tests of this area are added here.
target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/RecordSetTest.cpp
)
