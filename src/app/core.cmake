target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/VersionUpdate.h
  ${CMAKE_CURRENT_LIST_DIR}/VersionUpdate.cpp
)
