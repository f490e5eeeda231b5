# Core tests of this area are added here.
target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/RecordSetTest.cpp
)
# The XML transform, and the Merlin web client against a local HTTP server.
target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/XmlTransformTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TransformCoverageTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MerlinAddressTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MerlinClientTest.cpp
)
