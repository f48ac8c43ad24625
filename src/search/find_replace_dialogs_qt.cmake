# The Find and Replace dialogs: the search subsystem's Qt widgets, built into the shell library.
# Included from src/shell/CMakeLists.txt.
target_sources(propdesk_shell PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/find_replace_dialog_host_qt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/find_replace_dialog_qt.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search_text_field_qt.cpp)
