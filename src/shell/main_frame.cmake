# The main window with its menu, prompts, file choosers and wait dialog, the icon, and the
# propdesk executable. Included from this folder's CMakeLists.txt.
target_sources(propdesk_shell PRIVATE
  app_entry.cpp
  document_info_pane.cpp
  external_command_wait.cpp
  main_frame.cpp
  main_menu.cpp
  qt_prompts.cpp
  ${PROJECT_SOURCE_DIR}/src/document/file_chooser_qt.cpp)

qt_add_resources(propdesk_shell propdesk_icons
  PREFIX /icons
  BASE ${PROJECT_SOURCE_DIR}/res/icons
  FILES ${PROJECT_SOURCE_DIR}/res/icons/propdesk-16.png ${PROJECT_SOURCE_DIR}/res/icons/propdesk-32.png)

add_executable(propdesk main.cpp)
target_link_libraries(propdesk PRIVATE propdesk_shell propdesk_warnings)
