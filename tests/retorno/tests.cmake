# Core tests of this area are added here.

# The scan, the return and the alert run against merlin-sim (the real program), an Orientador folder
# and an Integra database; pelomira-cli return in-process.
target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/RetornoFixtures.h
  ${CMAKE_CURRENT_LIST_DIR}/RetornoWorld.h
  ${CMAKE_CURRENT_LIST_DIR}/RegistrationScanTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReturnSenderTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AutomaticReturnTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CliReturnTest.cpp
)
add_dependencies(core_tests merlin-sim)
