# The window tests of the platform once more on a real X server (Xvfb, 1600 x 1000), at scale 1 and at
# QT_SCALE_FACTOR=2, where the window must still open inside the screen; and under a window manager,
# whose frame must fit in too, at the scale factors where the window is shrunk to fit (1.5 and 2). The
# Windows build runs all its tests on an X server already (tools/windows.sh).
if(WIN32)
    return()
endif()
foreach(scale 1 2)
    add_test(NAME platform_window_x11_scale${scale}
             COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/run-on-xvfb.sh 1600x1000 $<TARGET_FILE:platform_window_test>)
    set_tests_properties(platform_window_x11_scale${scale} PROPERTIES ENVIRONMENT "QT_SCALE_FACTOR=${scale}"
                                                                      SKIP_RETURN_CODE 77 TIMEOUT 120)
endforeach()
foreach(scale 1 1.5 2)
    add_test(NAME platform_window_x11_framed_scale${scale}
             COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/run-on-xvfb.sh --window-manager 1600x1000
                     $<TARGET_FILE:platform_window_test> --gtest_filter=PlatformWindow.OpensWithItsFrame*)
    set_tests_properties(platform_window_x11_framed_scale${scale} PROPERTIES ENVIRONMENT "QT_SCALE_FACTOR=${scale}"
                                                                             SKIP_RETURN_CODE 77 TIMEOUT 120)
endforeach()
