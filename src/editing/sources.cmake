list(APPEND QUILLET_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/editrules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/subrules.cpp
)
list(APPEND QUILLET_APP_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/folding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/blocks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/searchdialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gotodialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gotosub.cpp
  ${CMAKE_CURRENT_LIST_DIR}/completion.cpp
)
