# The Windows WMI source, cross-compiled with MinGW-w64 and run under Wine (tools/wine-smoke.sh).
# The Windows program is built without sanitizers, so the sanitizer build leaves it out. In the Windows
# build it is one more test program, run like the others (under Wine here).
if(WIN32)
    add_executable(wmi_smoke ${CMAKE_SOURCE_DIR}/tools/wmi-smoke.cpp)
    target_link_libraries(wmi_smoke PRIVATE trelvane_core)
    add_test(NAME disks_wmi_smoke COMMAND wmi_smoke)
    # The same checks once more, counted as skipped when Wine leaves known gaps: the gaps are never
    # counted as passes.
    add_test(NAME disks_wmi_known_gaps COMMAND wmi_smoke --known-gaps)
    set_tests_properties(disks_wmi_known_gaps PROPERTIES SKIP_RETURN_CODE 77)
elseif(NOT TRELVANE_SANITIZE)
    add_test(NAME disks_wine_smoke COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-smoke.sh ${CMAKE_BINARY_DIR}/wine-smoke)
    set_tests_properties(disks_wine_smoke PROPERTIES TIMEOUT 900 SKIP_RETURN_CODE 77)
endif()
