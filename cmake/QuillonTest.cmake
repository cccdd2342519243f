# Registers a GoogleTest suite over the core: one executable, its cases discovered by ctest.
function(quillon_add_core_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE quillon_core GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    target_compile_definitions(${name} PRIVATE
        QUILLON_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples/System"
        QUILLON_FIXTURES_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures")
    if(CMAKE_CROSSCOMPILING)
        # Cross-built suites run under an emulator (Wine); list the cases at test time.
        gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
    endif()
endfunction()

# Registers a Qt Test suite over the windows. On Linux it runs on the offscreen platform; the
# Windows build runs under Wine on Windows' own platform, on the X display that
# scripts/test-windows.sh starts for the run.
function(quillon_add_gui_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE quillon_app Qt6::Test Qt6::Widgets)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    target_compile_definitions(${name} PRIVATE
        QUILLON_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples/System")
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    if(WIN32)
        # In TAP form: Qt Test's plain form goes to the debugger when no console window is
        # attached, as under Wine, and so would never be seen.
        add_test(NAME ${name} COMMAND ${name} -o -,tap)
    else()
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    endif()
endfunction()
