# The URL handler that stands in for the desktop's file manager is a QObject with a slot.
if(TARGET window_memory_test)
    set_target_properties(window_memory_test PROPERTIES AUTOMOC ON)
endif()
