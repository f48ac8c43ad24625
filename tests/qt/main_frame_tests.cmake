# Tests of the main window, its prompts and wait dialog, and of the whole editor.
propdesk_add_qt_test(main_frame_tests main_frame_test.cpp)
propdesk_add_qt_test(external_command_wait_tests external_command_wait_test.cpp)

# The built editor in a virtual display, driven like a person; skipped without Xvfb or xdotool.
# The sanitizer build leaves it out: it drives the same code as the tests above, only slower.
if(NOT PROPDESK_SANITIZE)
  add_test(NAME end_to_end COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/end_to_end_test.sh $<TARGET_FILE:propdesk>)
  set_tests_properties(end_to_end PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
endif()
