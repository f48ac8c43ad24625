# Tests of the About box and of dialog centring; pictures of the dialogs for the README
# (scripts/dialog-screenshots.sh). Included from this folder's CMakeLists.txt.
propdesk_add_qt_test(center_window_test center_window_test.cpp)
propdesk_add_qt_test(about_dialog_test about_dialog_test.cpp)

add_executable(dialog_screenshots dialog_screenshots.cpp)
target_link_libraries(dialog_screenshots PRIVATE propdesk_shell propdesk_warnings)
