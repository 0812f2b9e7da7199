# The XML and JSON report test runs the command-line companion beside the window.
add_dependencies(xml_json_reports_test trelvane-csv)
target_compile_definitions(xml_json_reports_test PRIVATE TRELVANE_CSV_TOOL="$<TARGET_FILE:trelvane-csv>")
