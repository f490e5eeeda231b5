# Core tests of this area are added here.

# merlin-sim itself, as the requests of the program meet it.
target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MerlinSimTest.cpp
)
if(NOT TARGET PkgConfig::CPPHTTPLIB)
  pkg_check_modules(CPPHTTPLIB REQUIRED IMPORTED_TARGET GLOBAL cpp-httplib)
endif()
target_link_libraries(core_tests PRIVATE PkgConfig::CPPHTTPLIB)
# The merlin-sim test starts the real program from the build folder.
add_dependencies(core_tests merlin-sim)

target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CliLoadTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProcessImportTest.cpp
)

# The transfers into the Orientador (DI, LI, DSI, LSI): through the Orientador entry, and end to end
# through pelomira-cli and merlin-sim.
target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DiTransferWorld.h
  ${CMAKE_CURRENT_LIST_DIR}/DiSampleExpectations.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DiOrientadorTransferTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DiTransferSafetyTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TransferRulesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LiOrientadorTransferTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DsiOrientadorTransferTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LsiOrientadorTransferTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CliTransferTest.cpp
)
add_dependencies(core_tests pelomira-cli)
# The DI transfer into NORVIK.
target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/NorvikWorld.h
  ${CMAKE_CURRENT_LIST_DIR}/DiNorvikTransferTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NorvikFilesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NorvikConcurrencyTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GRAVACAMPONORVIKTest.cpp
)
add_dependencies(core_tests norvik_merge pelomira-cli)
