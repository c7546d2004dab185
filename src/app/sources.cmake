list(APPEND QUILLET_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/profilerecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settingsrules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../services/commandline.cpp
)
list(APPEND QUILLET_APP_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/configstore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startprocess.cpp
  ${CMAKE_CURRENT_LIST_DIR}/editor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mainwnd.cpp
)
