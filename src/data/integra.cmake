# The Integra database (Firebird) and the data module's chains over it.

# The schema is built into the program, so init-integra needs no file beside it.
set(PELOMIRA_INTEGRA_SQL ${CMAKE_SOURCE_DIR}/share/integra/integra.sql)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PELOMIRA_INTEGRA_SQL})
file(READ ${PELOMIRA_INTEGRA_SQL} PELOMIRA_INTEGRA_SCHEMA)
configure_file(${CMAKE_CURRENT_LIST_DIR}/IntegraSchema.cpp.in ${CMAKE_BINARY_DIR}/generated/IntegraSchema.cpp @ONLY)

target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/IntegraDatabase.h
  ${CMAKE_CURRENT_LIST_DIR}/IntegraDatabase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EmbeddedFirebird.h
  ${CMAKE_CURRENT_LIST_DIR}/EmbeddedFirebird.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IntegraFileGuard.h
  ${CMAKE_CURRENT_LIST_DIR}/IntegraFileGuard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IntegraTruncation.h
  ${CMAKE_CURRENT_LIST_DIR}/IntegraTruncation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IntegraTable.h
  ${CMAKE_CURRENT_LIST_DIR}/IntegraTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IntegraSchema.h
  ${CMAKE_BINARY_DIR}/generated/IntegraSchema.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IntegraReindex.h
  ${CMAKE_CURRENT_LIST_DIR}/IntegraReindex.cpp
)
