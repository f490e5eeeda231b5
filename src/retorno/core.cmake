# Sources of this area are added here as they are written.

# the registration scan, the return to Merlin and the alert run
target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ReturnList.h
  ${CMAKE_CURRENT_LIST_DIR}/ReturnList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScanSources.h
  ${CMAKE_CURRENT_LIST_DIR}/ScanSources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReturnedProcesses.h
  ${CMAKE_CURRENT_LIST_DIR}/ReturnedProcesses.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReturnRunLock.h
  ${CMAKE_CURRENT_LIST_DIR}/ReturnRunLock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PendingReturns.h
  ${CMAKE_CURRENT_LIST_DIR}/PendingReturns.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegistrationScan.h
  ${CMAKE_CURRENT_LIST_DIR}/RegistrationScan.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReturnSender.h
  ${CMAKE_CURRENT_LIST_DIR}/ReturnSender.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AutomaticReturn.h
  ${CMAKE_CURRENT_LIST_DIR}/AutomaticReturn.cpp
)
