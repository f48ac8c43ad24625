# Tests of the main window, its prompts, file choosers and wait dialog, and the whole editor.
propdesk_add_shell_test(file_chooser_tests file_chooser_test.cpp)

add_test(NAME end_to_end COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/end_to_end_test.sh $<TARGET_FILE:propdesk>)
set_tests_properties(end_to_end PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
propdesk_add_shell_test(main_frame_tests main_frame_test.cpp)
