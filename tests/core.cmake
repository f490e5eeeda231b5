target_sources(core_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TestEnv.h
  ${CMAKE_CURRENT_LIST_DIR}/TestWorld.h
  ${CMAKE_CURRENT_LIST_DIR}/TestEnv.cpp
)
include(${CMAKE_CURRENT_LIST_DIR}/platform/tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/base/tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/data/tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/data/integra_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/data/orientador_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/data/norvik_tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/import/tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/retorno/tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/export/tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/cadastros/tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/integra/tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/app/tests.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/cli/tests.cmake)
