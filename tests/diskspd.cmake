# The DiskSpd test runs the command-line companion on a report that mixes both benchmarks.
add_dependencies(diskspd_test trelvane-csv)
target_compile_definitions(diskspd_test PRIVATE TRELVANE_CSV_TOOL="$<TARGET_FILE:trelvane-csv>")
# The Run Details tool test runs trelvane-csv's tables of the runs' details.
add_dependencies(run_details_tool_test trelvane-csv)
target_compile_definitions(run_details_tool_test PRIVATE TRELVANE_CSV_TOOL="$<TARGET_FILE:trelvane-csv>")
