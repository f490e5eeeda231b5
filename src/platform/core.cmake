target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Platform.h
  ${CMAKE_CURRENT_LIST_DIR}/Paths.h
  ${CMAKE_CURRENT_LIST_DIR}/Paths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextCase.h
  ${CMAKE_CURRENT_LIST_DIR}/TextCase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgramVersion.h
  ${CMAKE_CURRENT_LIST_DIR}/ProgramVersion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SystemError.h
  ${CMAKE_CURRENT_LIST_DIR}/SystemError.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/LinuxPlatform.h
  ${CMAKE_CURRENT_LIST_DIR}/linux/LinuxPlatform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TerminationSignals.h
  ${CMAKE_CURRENT_LIST_DIR}/linux/LinuxTerminationSignals.cpp
)
target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FolderCreation.h
  ${CMAKE_CURRENT_LIST_DIR}/FolderCreation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WholeFile.h
  ${CMAKE_CURRENT_LIST_DIR}/WholeFile.cpp
)
