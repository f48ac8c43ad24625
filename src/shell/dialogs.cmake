# The About box, the settings dialog and the helpers they share.
target_sources(propdesk_shell PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/about_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app_icon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/center_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/template_dialog.cpp
  ${PROJECT_SOURCE_DIR}/src/settings/program_chooser_qt.cpp
  ${PROJECT_SOURCE_DIR}/src/settings/settings_dialog_qt.cpp)
