# Tests of the About box and the settings dialog through the window. Included from this folder's
# CMakeLists.txt.
propdesk_add_qt_test(about_dialog_test about_dialog_test.cpp)

# The settings dialog through the main window, with the project's own converter as the external command.
propdesk_add_qt_test(settings_end_to_end_test settings_end_to_end_test.cpp)
add_dependencies(settings_end_to_end_test propdesk-native2ascii)
target_compile_definitions(settings_end_to_end_test PRIVATE
                           PROPDESK_NATIVE2ASCII="$<TARGET_FILE:propdesk-native2ascii>"
                           PROPDESK_EXAMPLE_FILE="${PROJECT_SOURCE_DIR}/examples/orders_ja.properties")
