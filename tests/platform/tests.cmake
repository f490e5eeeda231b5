target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/PlatformTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FolderCreationTest.cpp
)
