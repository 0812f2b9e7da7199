# trelvane_render draws the real window offscreen to PNG files. The test "render_screens" renders into
# the build folder at every test run; `ninja screenshots` refreshes the pictures of the README.
# The screens are drawn by one library, compiled once for the program and the test.
add_library(trelvane_render_screens STATIC ${CMAKE_CURRENT_SOURCE_DIR}/render_screens.cpp)
target_link_libraries(trelvane_render_screens PUBLIC trelvane_gui)
trelvane_reuse_qt_pch(trelvane_render_screens)
add_executable(trelvane_render ${CMAKE_CURRENT_SOURCE_DIR}/render_main.cpp)
target_link_libraries(trelvane_render PRIVATE trelvane_render_screens)
trelvane_reuse_qt_pch(trelvane_render)
add_test(NAME render_screens COMMAND trelvane_render ${CMAKE_BINARY_DIR}/renders ${CMAKE_SOURCE_DIR}/examples)
set_tests_properties(render_screens PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=${TRELVANE_TEST_PLATFORM}")
set(README_SCREENSHOTS chart_mb_sec.png chart_filtered.png chart_avg_latency.png chart_diskspd_io_sec.png
                       compare_chart.png compare_curves.png run_details_sqlio.png run_details_diskspd.png
                       run_details_diskspd_xml.png run_details_fio.png)
list(TRANSFORM README_SCREENSHOTS PREPEND ${CMAKE_BINARY_DIR}/screenshots/ OUTPUT_VARIABLE README_SCREENSHOT_FILES)
# The report is opened by a relative path, so the pictures show the same path wherever the sources are.
add_custom_target(screenshots
    COMMAND trelvane_render ${CMAKE_BINARY_DIR}/screenshots examples
    COMMAND ${CMAKE_COMMAND} -E copy ${README_SCREENSHOT_FILES} ${CMAKE_SOURCE_DIR}/docs/screenshots/
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    DEPENDS trelvane_render
    COMMENT "Rendering the README screenshots into docs/screenshots")
if(TARGET render_test)
    target_link_libraries(render_test PRIVATE trelvane_render_screens)
endif()
# The group frames are checked at the scale factors users run with; the scale factor is read once per
# process, so each is a run of its own (the plain run above covers 1).
foreach(factor 1.5 2)
    add_test(NAME render_group_frames_scale_${factor}
             COMMAND render_test --gtest_filter=GroupFrameTest.*)
    set_tests_properties(render_group_frames_scale_${factor} PROPERTIES
                         ENVIRONMENT "QT_QPA_PLATFORM=${TRELVANE_TEST_PLATFORM};QT_SCALE_FACTOR=${factor}")
endforeach()
