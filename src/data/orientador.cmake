# Orientador store: the connection and table cursor over the Orientador's files, the folder set-up
# with the stand-in schemas (embedded from share/orientador), the table preparation routines and the
# field writer GRAVACAMPO (src/import) that writes through them.
target_sources(pelomira_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TDM.h
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorField.h
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorField.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorValues.h
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorValues.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorDatabase.h
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorDatabase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorTable.h
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorRowReader.h
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorRowReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorFolder.h
  ${CMAKE_CURRENT_LIST_DIR}/OrientadorFolder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TransferProgress.h
  ${CMAKE_CURRENT_LIST_DIR}/TablePreparation.h
  ${CMAKE_CURRENT_LIST_DIR}/TablePreparation.cpp
  # The field writer of the Orientador transfers.
  ${CMAKE_SOURCE_DIR}/src/import/FieldSources.h
  ${CMAKE_SOURCE_DIR}/src/import/GRAVACAMPO.h
  ${CMAKE_SOURCE_DIR}/src/import/GRAVACAMPO.cpp
)

# The schemas and sample rows travel inside the program.
set(PELOMIRA_ORIENTADOR_FILES IMPORT.sql REGIMP.sql DSI.sql LIDSI.sql TABSISCO.sql TABSISCO.sample.sql)
set(_orientador_deps ${CMAKE_CURRENT_LIST_DIR}/orientador_embed.cmake)
foreach(_f IN LISTS PELOMIRA_ORIENTADOR_FILES)
  list(APPEND _orientador_deps ${CMAKE_SOURCE_DIR}/share/orientador/${_f})
endforeach()
string(REPLACE ";" "," _orientador_list "${PELOMIRA_ORIENTADOR_FILES}")
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/generated/OrientadorEmbedded.cpp
  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR}/share/orientador
          -DOUT=${CMAKE_BINARY_DIR}/generated/OrientadorEmbedded.cpp
          "-DFILES=${_orientador_list}"
          -P ${CMAKE_CURRENT_LIST_DIR}/orientador_embed.cmake
  DEPENDS ${_orientador_deps}
  COMMENT "Embedding the Orientador schemas"
  VERBATIM)
target_sources(pelomira_core PRIVATE ${CMAKE_BINARY_DIR}/generated/OrientadorEmbedded.cpp)
