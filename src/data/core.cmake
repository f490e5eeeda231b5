target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TDM.h
)
