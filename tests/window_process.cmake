# The window in processes of its own, started by a test: two windows of two programs sharing one store.
add_executable(window_process_tool window_process_tool.cpp)
target_link_libraries(window_process_tool PRIVATE trelvane_gui)
if(TARGET two_windows_test)
    add_dependencies(two_windows_test window_process_tool)
    target_compile_definitions(two_windows_test PRIVATE TRELVANE_WINDOW_TOOL="$<TARGET_FILE:window_process_tool>")
endif()
