# Core tests of this area are added here.
target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CliLoadTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProcessImportTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TransformCoverageTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XmlTransformTest.cpp
)
