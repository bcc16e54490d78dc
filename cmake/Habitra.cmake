# Shared build settings: one static library per source folder, warnings on.

add_library(habitra_options INTERFACE)
target_compile_options(habitra_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                                 -Wno-missing-field-initializers)
# Test code may write plain string literals for its data.
target_compile_definitions(habitra_options INTERFACE $<$<NOT:$<BOOL:$<TARGET_PROPERTY:HABITRA_TEST_CODE>>>:QT_NO_CAST_FROM_ASCII>
                                                     QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
                                                     HABITRA_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
                                                     HABITRA_VERSION_MINOR=${PROJECT_VERSION_MINOR}
                                                     HABITRA_VERSION_PATCH=${PROJECT_VERSION_PATCH}
                                                     HABITRA_VERSION_TWEAK=${PROJECT_VERSION_TWEAK})
if(HABITRA_WERROR)
    target_compile_options(habitra_options INTERFACE -Werror)
endif()
if(HABITRA_SANITIZE)
    target_compile_options(habitra_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                     -fno-sanitize-recover=undefined)
    target_link_options(habitra_options INTERFACE -fsanitize=address,undefined)
endif()

# habitra_library(<folder> SOURCES ... DEPENDS ...): the folder's static library. Its include root
# holds only the folder itself (as <folder>/...), and a library sees the roots of what it links, so
# an include of a folder it does not depend on fails to build. The folder's own files include each
# other by bare name.
function(habitra_library folder)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    set(target habitra_${folder})
    set(root ${PROJECT_BINARY_DIR}/include/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
    add_library(${target} STATIC ${ARG_SOURCES})
    target_include_directories(${target} PUBLIC ${root})
    target_link_libraries(${target} PUBLIC habitra_options ${ARG_DEPENDS})
endfunction()

# habitra_test(<folder> SOURCES ... DEPENDS ...): one Qt Test program per source folder, and one
# CTest entry <folder>.<Class> per class it registers, so that `ctest -R` and `ctest -j` work.
function(habitra_test folder)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    set(target test_${folder})
    add_executable(${target} ${ARG_SOURCES})
    # Tests include the windows' generated ui headers; they own no .ui files of their own.
    set_target_properties(${target} PROPERTIES HABITRA_TEST_CODE ON AUTOUIC OFF)
    target_link_libraries(${target} PRIVATE habitra_testsupport ${ARG_DEPENDS})
    set(classes "")
    foreach(source ${ARG_SOURCES})
        if(NOT source MATCHES "\\.cpp$")
            continue()
        endif()
        get_filename_component(source ${source} ABSOLUTE)
        # A class added to a file is picked up by the next build.
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
        file(STRINGS ${source} registrations REGEX "^HABITRA_TEST\\([A-Za-z0-9_]+\\)")
        foreach(line ${registrations})
            string(REGEX REPLACE "^HABITRA_TEST\\(([A-Za-z0-9_]+)\\).*" "\\1" class "${line}")
            list(APPEND classes ${class})
        endforeach()
    endforeach()
    if(NOT classes)
        message(FATAL_ERROR "${target} registers no test class")
    endif()
    foreach(class ${classes})
        add_test(NAME ${folder}.${class} COMMAND ${target} ${class})
        set_tests_properties(${folder}.${class} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0"
            TIMEOUT 900)
    endforeach()
endfunction()
