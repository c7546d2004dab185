list(APPEND QUILLET_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/keywordtext.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settingsblock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfwriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/filerules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recoveryrules.cpp
)
list(APPEND QUILLET_APP_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/editorsetup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/keywords.cpp
  ${CMAKE_CURRENT_LIST_DIR}/filedialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recovery.cpp
)
