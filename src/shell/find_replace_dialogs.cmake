# The Find and Replace dialogs and their host, the search subsystem's Qt widgets.
target_sources(propdesk_shell PRIVATE
  ${PROJECT_SOURCE_DIR}/src/search/find_replace_dialog_host_qt.cpp
  ${PROJECT_SOURCE_DIR}/src/search/find_replace_dialog_qt.cpp
  ${PROJECT_SOURCE_DIR}/src/search/search_text_field_qt.cpp)
