# Sources of this area are added here as they are written.

# Merlin web service
target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MerlinAddress.h
  ${CMAKE_CURRENT_LIST_DIR}/MerlinAddress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MerlinClient.h
  ${CMAKE_CURRENT_LIST_DIR}/MerlinClient.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MerlinProcessRequest.h
  ${CMAKE_CURRENT_LIST_DIR}/MerlinProcessRequest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MerlinResponse.h
  ${CMAKE_CURRENT_LIST_DIR}/MerlinResponse.cpp
)
