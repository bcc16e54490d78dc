# Shared build settings: one static library per source folder, warnings on.

add_library(habitra_options INTERFACE)
target_compile_options(habitra_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                                 -Wno-missing-field-initializers)
target_compile_definitions(habitra_options INTERFACE QT_NO_CAST_FROM_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
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

# habitra_library(<folder> SOURCES ... DEPENDS ...)
function(habitra_library folder)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    set(target habitra_${folder})
    add_library(${target} STATIC ${ARG_SOURCES})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC habitra_options ${ARG_DEPENDS})
endfunction()

# habitra_test(<folder> SOURCES ... DEPENDS ...): one Qt Test program per source folder.
function(habitra_test folder)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;DEPENDS" ${ARGN})
    set(target test_${folder})
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE habitra_testsupport ${ARG_DEPENDS})
    add_test(NAME ${folder} COMMAND ${target})
    set_tests_properties(${folder} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0"
        TIMEOUT 900)

endfunction()
