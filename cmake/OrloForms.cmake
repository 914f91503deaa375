# Form files as component resources.
#
#   orlo_add_form_resources(<target> <form.dfm>...)
#
# At build time each form file (text or binary form) is converted by formconv
# into a C++ source holding its binary form and a static registrar, compiled
# into <target>: when the program or library is loaded, the form's stream is
# registered under the class name of its root ("object Form1: TForm1" gives
# "TForm1"), where ReadComponentRes and InitInheritedComponent find it.
# A resource file (".res" layout, such as a language side file ".lng") is
# taken the same way: its RCDATA resource is registered under the resource's
# own name, where InitGlossa finds it.
# Relative paths are taken from the calling CMakeLists.txt's folder. For a
# static library, link it whole (the registrars are not referenced by name).
#
# The converter is Orlo::formconv: built first as part of the same build (in
# this project or in a parent that takes it in with add_subdirectory()), or
# the installed one when the helper comes from find_package(OrloGlossa40). A
# cross build can point ORLO_FORMCONV_EXECUTABLE at a formconv built for the
# host instead.

include_guard(GLOBAL)

set(ORLO_FORMCONV_EXECUTABLE "" CACHE FILEPATH "formconv to run at build time (default: Orlo::formconv)")

function(orlo_add_form_resources target)
    if(ORLO_FORMCONV_EXECUTABLE)
        set(converter ${ORLO_FORMCONV_EXECUTABLE})
        set(converter_target)
    else()
        set(converter $<TARGET_FILE:Orlo::formconv>)
        set(converter_target Orlo::formconv)
    endif()
    set(outputs)
    foreach(form IN LISTS ARGN)
        get_filename_component(source ${form} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
        file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${source})
        string(MAKE_C_IDENTIFIER ${relative} id)
        set(output ${CMAKE_CURRENT_BINARY_DIR}/orlo_forms/${target}/${id}.cpp)
        add_custom_command(
            OUTPUT ${output}
            COMMAND ${converter} -c ${source} ${output}
            DEPENDS ${source} ${converter_target}
            COMMENT "Converting form ${relative}"
            VERBATIM)
        target_sources(${target} PRIVATE ${output})
        list(APPEND outputs ${output})
    endforeach()
    # The target may live in another folder, where these rules are not seen:
    # a target of this folder runs them first.
    get_property(count GLOBAL PROPERTY ORLO_FORM_RESOURCE_COUNT)
    math(EXPR count "${count} + 1")
    set_property(GLOBAL PROPERTY ORLO_FORM_RESOURCE_COUNT ${count})
    add_custom_target(${target}_forms_${count} DEPENDS ${outputs})
    add_dependencies(${target} ${target}_forms_${count})
    # The registrars are compiled against the component resources of orlortl.
    target_link_libraries(${target} PRIVATE Orlo::rtl)
endfunction()

# String references checked against a form.
#
#   orlo_check_strings(<target> <form> <source>...)
#
# Before <target> is built, "glossa check" compares the GetString calls of the
# sources with the named strings of the form (".dfm": calls through its TGlossa)
# or of the language side file (".lng": plain calls). A name that is not
# defined fails the build with a "file:line:column: error" message; unused
# names and calls it cannot analyse are reported as warnings. Relative paths
# are taken from the calling CMakeLists.txt's folder. ORLO_GLOSSA_EXECUTABLE
# can name a glossa built for the host.

set(ORLO_GLOSSA_EXECUTABLE "" CACHE FILEPATH "glossa to run at build time (default: Orlo::glossa)")

function(orlo_check_strings target form)
    if(ORLO_GLOSSA_EXECUTABLE)
        set(checker ${ORLO_GLOSSA_EXECUTABLE})
        set(checker_target)
    else()
        set(checker $<TARGET_FILE:Orlo::glossa>)
        set(checker_target Orlo::glossa)
    endif()
    get_filename_component(form_path ${form} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    set(sources)
    foreach(source IN LISTS ARGN)
        get_filename_component(path ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
        list(APPEND sources ${path})
    endforeach()
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${form_path})
    string(MAKE_C_IDENTIFIER ${relative} id)
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/orlo_checks/${target}/${id}.checked)
    add_custom_command(
        OUTPUT ${stamp}
        COMMAND ${checker} check ${form_path} ${sources}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${form_path} ${sources} ${checker_target}
        COMMENT "Checking the string references of ${target} against ${relative}"
        VERBATIM)
    get_property(count GLOBAL PROPERTY ORLO_STRING_CHECK_COUNT)
    math(EXPR count "${count} + 1")
    set_property(GLOBAL PROPERTY ORLO_STRING_CHECK_COUNT ${count})
    add_custom_target(${target}_strings_${count} DEPENDS ${stamp})
    add_dependencies(${target} ${target}_strings_${count})
endfunction()
