# Core tests of the Orientador store.
target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorWorld.h
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorDatabaseTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorTableTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TablePreparationTest.cpp
  ${CMAKE_SOURCE_DIR}/tests/import/GRAVACAMPOTest.cpp
)
# The locking tests hold the file with a second, plain SQLite connection.
target_link_libraries(core_tests PRIVATE PkgConfig::SQLITE3)
