target_sources(pelomira_gui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/QtAlertScheduler.h
  ${CMAKE_CURRENT_LIST_DIR}/QtAlertScheduler.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtCommandWiring.h
  ${CMAKE_CURRENT_LIST_DIR}/QtCommandWiring.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtHotKeys.h
  ${CMAKE_CURRENT_LIST_DIR}/QtLanguage.h
  ${CMAKE_CURRENT_LIST_DIR}/QtLanguage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtHotKeys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtTray.h
  ${CMAKE_CURRENT_LIST_DIR}/QtTray.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmConfig.h
  ${CMAKE_CURRENT_LIST_DIR}/TfrmConfig.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmPrincipal.h
  ${CMAKE_CURRENT_LIST_DIR}/TfrmPrincipal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmSplash.h
  ${CMAKE_CURRENT_LIST_DIR}/TfrmSplash.cpp
)

# The pictures the windows show are built in; the registry toolbar's glyphs stay files under the
# program's Images folder, where they were always looked for.
qt_add_resources(pelomira_gui "shell_images"
  PREFIX "/images"
  BASE "${CMAKE_SOURCE_DIR}/share/images"
  FILES
    "${CMAKE_SOURCE_DIR}/share/images/aguarde.gif"
    "${CMAKE_SOURCE_DIR}/share/images/pelomira.png"
    "${CMAKE_SOURCE_DIR}/share/images/pelomira64.png"
    "${CMAKE_SOURCE_DIR}/share/images/splash.png"
    "${CMAKE_SOURCE_DIR}/share/images/toolbar/buscar_di.png"
    "${CMAKE_SOURCE_DIR}/share/images/toolbar/configuracoes.png"
    "${CMAKE_SOURCE_DIR}/share/images/toolbar/retorno.png"
    "${CMAKE_SOURCE_DIR}/share/images/toolbar/sair.png"
    "${CMAKE_SOURCE_DIR}/share/images/toolbar/tabelas.png"
)
