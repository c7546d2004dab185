list(APPEND QUILLET_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/profilerecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settingsrules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pathtext.cpp
  ${CMAKE_CURRENT_LIST_DIR}/commandline.cpp
  ${CMAKE_CURRENT_LIST_DIR}/textcodes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dpirules.cpp
)
list(APPEND QUILLET_APP_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/handles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/configstore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fileio.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startprocess.cpp
  ${CMAKE_CURRENT_LIST_DIR}/editor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/barrier.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wintext.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dpi.cpp
)
