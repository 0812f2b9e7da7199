# The export tests run the command-line companion; the CSV reader check reads the window's export back
# with Python's csv module and compares it with the table, cell by cell. Both are about Linux too (its
# mounts, FIFOs, devices and memory limits; a host Python running the program), so the Windows build
# runs only the paths test, which drives the same two programs.
foreach(test export_test paths_test)
    if(TARGET ${test})
        add_dependencies(${test} trelvane-csv)
        target_compile_definitions(${test} PRIVATE TRELVANE_CSV_TOOL="$<TARGET_FILE:trelvane-csv>")
    endif()
endforeach()
if(WIN32)
    return()
endif()

add_executable(export_dump_tool export_dump_tool.cpp)
target_link_libraries(export_dump_tool PRIVATE trelvane_gui)
trelvane_reuse_qt_pch(export_dump_tool)
# The window's load under an address-space limit, run by the export test as a process of its own.
add_executable(limited_load_tool limited_load_tool.cpp)
target_link_libraries(limited_load_tool PRIVATE trelvane_gui)
trelvane_reuse_qt_pch(limited_load_tool)
add_dependencies(export_test limited_load_tool)
target_compile_definitions(export_test PRIVATE LIMITED_LOAD_TOOL="$<TARGET_FILE:limited_load_tool>")

find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME export_csv_reader
         COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/export_csv_check.py
                 $<TARGET_FILE:export_dump_tool>
                 ${CMAKE_SOURCE_DIR}/tests/data/export_hostile_cells.txt
                 ${CMAKE_SOURCE_DIR}/examples/one_run_fails.txt
                 ${CMAKE_SOURCE_DIR}/examples/powershell_utf16le.txt)
set_tests_properties(export_csv_reader PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
