# The DiskSpd test runs the command-line companion on a report that mixes both benchmarks.
add_dependencies(diskspd_test trelvane-csv)
target_compile_definitions(diskspd_test PRIVATE TRELVANE_CSV_TOOL="$<TARGET_FILE:trelvane-csv>")
