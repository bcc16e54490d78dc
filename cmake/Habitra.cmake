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

# habitra_library(<folder> DEPENDS ...): every .cpp, .ui and .qrc of the folder.
function(habitra_library folder)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    set(target habitra_${folder})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
                                        ${CMAKE_CURRENT_SOURCE_DIR}/*.ui ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    list(FILTER sources INCLUDE REGEX "\\.(cpp|ui|qrc|h)$")
    list(FILTER sources EXCLUDE REGEX "/main\\.cpp$") # a folder's program entry is its own target
    set(compiled ${sources})
    list(FILTER compiled INCLUDE REGEX "\\.cpp$")
    if(NOT compiled)
        # A folder whose first class has not been written yet.
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${target} INTERFACE habitra_options ${ARG_DEPENDS})
        return()
    endif()
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC habitra_options ${ARG_DEPENDS})
endfunction()

# habitra_test(<folder> DEPENDS ...): one Qt Test program per source folder, of every .cpp in it.
function(habitra_test folder)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    set(target test_${folder})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
                                        ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    add_executable(${target} ${sources})
    # Tests include the windows' generated ui headers; they own no .ui files of their own.
    set_target_properties(${target} PROPERTIES HABITRA_TEST_CODE ON AUTOUIC OFF)
    target_link_libraries(${target} PRIVATE habitra_testsupport ${ARG_DEPENDS})
    add_test(NAME ${folder} COMMAND ${target})
    set_tests_properties(${folder} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0"
        TIMEOUT 900)

endfunction()
