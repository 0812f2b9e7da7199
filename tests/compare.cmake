# The comparison's tests run the command-line companion: its --compare on its own, and against the
# Compare Reports window's export.
foreach(test compare_tool_test compare_window_test)
    if(TARGET ${test})
        add_dependencies(${test} trelvane-csv)
        target_compile_definitions(${test} PRIVATE TRELVANE_CSV_TOOL="$<TARGET_FILE:trelvane-csv>")
    endif()
endforeach()
