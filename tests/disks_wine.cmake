# The Windows WMI source, run as a Windows program: only the Windows build has it (tools/windows.sh runs
# it under Wine there), and Wine's WMI is incomplete, so what Wine lacks is reported as known gaps.
if(NOT WIN32)
    return()
endif()
add_executable(wmi_smoke ${CMAKE_SOURCE_DIR}/tools/wmi-smoke.cpp)
target_link_libraries(wmi_smoke PRIVATE trelvane_core)
# Passes when the connection wrote its line to standard output and no check failed; the run below judges
# the exit status.
add_test(NAME disks_wmi_smoke COMMAND wmi_smoke)
set_tests_properties(disks_wmi_smoke PROPERTIES
                     PASS_REGULAR_EXPRESSION "Connected to ROOT\\\\CIMV2 WMI namespace.*passed, 0 failed")
# The same checks once more, counted as skipped when Wine leaves known gaps: the gaps are never
# counted as passes.
add_test(NAME disks_wmi_known_gaps COMMAND wmi_smoke --known-gaps)
set_tests_properties(disks_wmi_known_gaps PROPERTIES SKIP_RETURN_CODE 77)
