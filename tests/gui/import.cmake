# GUI tests of this area are added here.
target_sources(gui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ImportarMerlinTest.cpp
)
# The request window is tested against a real HTTP server in the test process.
if(NOT TARGET PkgConfig::CPPHTTPLIB)
  pkg_check_modules(CPPHTTPLIB REQUIRED IMPORTED_TARGET GLOBAL cpp-httplib)
endif()
target_link_libraries(gui_tests PRIVATE PkgConfig::CPPHTTPLIB Threads::Threads)
