# The shell tests run the window program itself (--help and --version need no display), and a tool
# that starts Qt with a command line as the window program does, to see which arguments Qt takes.
add_executable(start_arguments_tool start_arguments_tool.cpp)
target_link_libraries(start_arguments_tool PRIVATE trelvane_gui)
if(TARGET shell_test)
    add_dependencies(shell_test trelvane start_arguments_tool)
    target_compile_definitions(shell_test PRIVATE TRELVANE_WINDOW_PROGRAM="$<TARGET_FILE:trelvane>"
                                                  START_ARGUMENTS_TOOL="$<TARGET_FILE:start_arguments_tool>")
endif()
