# The locale test compares the window's files with trelvane-csv run in the same locale.
add_dependencies(number_locale_test trelvane-csv)
target_compile_definitions(number_locale_test PRIVATE TRELVANE_CSV_TOOL="$<TARGET_FILE:trelvane-csv>")
