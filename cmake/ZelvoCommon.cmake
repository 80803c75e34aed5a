# Compile options every target of the project links.
add_library(zelvo_common INTERFACE)
target_compile_features(zelvo_common INTERFACE cxx_std_20)
target_compile_options(zelvo_common INTERFACE -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wno-missing-field-initializers)
target_compile_definitions(zelvo_common INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT QT_NO_KEYWORDS)
if(ZELVO_SANITIZE)
    target_compile_options(zelvo_common INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(zelvo_common INTERFACE -fsanitize=address,undefined)
endif()

# Folders are added while they exist, so the tree builds at every step of its growth.
function(zelvo_add_folders)
    foreach(folder IN LISTS ARGN)
        if(EXISTS ${CMAKE_SOURCE_DIR}/${folder}/CMakeLists.txt)
            add_subdirectory(${folder})
        endif()
    endforeach()
endfunction()

# zelvo_add_test(NAME name SOURCES ... LIBS ... [QT] [OWN_X] [LOCK resource])
# QT tests get a main that runs a QApplication on the offscreen platform. OWN_X tests, which
# start whole programs on the X server, each get an X server of their own, so that no other
# test's clients meet theirs. Tests that share a LOCK (for example a system-wide lock the
# program takes) never run at the same time.
function(zelvo_add_test)
    cmake_parse_arguments(T "QT;OWN_X" "NAME;LOCK" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    if(T_OWN_X)
        # Discovery and every test run through the launcher.
        set_target_properties(${T_NAME} PROPERTIES
            CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/support/private-xvfb.sh)
    endif()
    if(T_QT)
        set(main_lib zelvo_test_qt_main)
    else()
        set(main_lib GTest::gtest_main)
    endif()
    target_link_libraries(${T_NAME} PRIVATE zelvo_common zelvo_test_support ${main_lib} GTest::gtest GTest::gmock ${T_LIBS})
    set(properties TIMEOUT 300)
    if(T_LOCK)
        list(APPEND properties RESOURCE_LOCK ${T_LOCK})
    endif()
    gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
        PROPERTIES ${properties})
endfunction()

# zelvo_add_x11_test(NAME name SOURCES ... LIBS ...)
# Qt tests on the xcb platform, each run on an X server of its own (they grab keys and move the
# keyboard focus), as one CTest test.
function(zelvo_add_x11_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE zelvo_common zelvo_test_support zelvo_test_qt_main GTest::gtest GTest::gmock ${T_LIBS})
    add_test(NAME ${T_NAME}
        COMMAND ${CMAKE_SOURCE_DIR}/tests/support/private-xvfb.sh $<TARGET_FILE:${T_NAME}>)
    # The desktop platform's D-Bus library keeps an allocation to the end, which is not ours.
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=xcb;ASAN_OPTIONS=detect_leaks=0:abort_on_error=1")
endfunction()
