# The export tests run the command-line companion; the CSV reader check reads the window's export back
# with Python's csv module and compares it with the table, cell by cell.
add_dependencies(export_test trelvane-csv)
if(WIN32)
    target_sources(export_test PRIVATE ScopedMountWindows.cpp)
else()
    target_sources(export_test PRIVATE ScopedMountLinux.cpp)
endif()
target_compile_definitions(export_test PRIVATE TRELVANE_CSV_TOOL="$<TARGET_FILE:trelvane-csv>")

add_executable(export_dump_tool export_dump_tool.cpp)
target_link_libraries(export_dump_tool PRIVATE trelvane_gui)

find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME export_csv_reader
         COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/export_csv_check.py
                 $<TARGET_FILE:export_dump_tool>
                 ${CMAKE_SOURCE_DIR}/tests/data/export_hostile_cells.txt
                 ${CMAKE_SOURCE_DIR}/examples/one_run_fails.txt
                 ${CMAKE_SOURCE_DIR}/examples/powershell_utf16le.txt)
set_tests_properties(export_csv_reader PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
