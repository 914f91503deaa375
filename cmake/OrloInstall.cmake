# The package OrloGlossa40: what a build exports to its users, installed
# (find_package(OrloGlossa40), pkg-config orloglossa40) or taken in by a parent
# project with add_subdirectory(). Either way users name the targets Orlo::<name>.
#
# A library or program joins the package with one call where it is defined:
#
#   orlo_export_library(<target> <export name> [HEADERS <folder>...] [LEAVE_OUT <unit>...]
#                       [DEPENDS <find_package args>])
#   orlo_export_program(<target>)
#
# HEADERS are folders relative to the project root whose headers are installed
# under include/orlo/ by the same relative path, so "runtime/Glossa.h" is
# included as in the sources; LEAVE_OUT names units ("runtime/LangComboBox")
# of those folders that this build does not compile, whose headers would
# include what is not installed. DEPENDS is what the package configuration must
# find for the library's public interface ("Qt6 COMPONENTS Widgets").

set(ORLO_PACKAGE OrloGlossa40)
set(ORLO_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/orlo)
set(ORLO_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/${ORLO_PACKAGE})

# Installed programs find the libraries relative to themselves, wherever the
# prefix is moved to.
file(RELATIVE_PATH ORLO_BIN_TO_LIB ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})

function(orlo_export_library target export_name)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "HEADERS;LEAVE_OUT;DEPENDS")
    add_library(Orlo::${export_name} ALIAS ${target})
    set_target_properties(${target} PROPERTIES
        EXPORT_NAME ${export_name}
        VERSION ${PROJECT_VERSION}
        SOVERSION ${PROJECT_VERSION_MAJOR}
        INSTALL_RPATH "$ORIGIN")
    # Headers are included by their path from the project root.
    target_include_directories(${target} PUBLIC
        $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
        $<INSTALL_INTERFACE:${ORLO_INSTALL_INCLUDEDIR}>)
    target_compile_features(${target} PUBLIC cxx_std_${CMAKE_CXX_STANDARD})
    set_property(GLOBAL APPEND PROPERTY ORLO_EXPORTED_TARGETS ${target})
    set_property(GLOBAL APPEND PROPERTY ORLO_EXPORTED_LIBRARIES ${target})
    set_property(GLOBAL APPEND PROPERTY ORLO_HEADER_FOLDERS ${arg_HEADERS})
    set_property(GLOBAL APPEND PROPERTY ORLO_HEADERS_LEFT_OUT ${arg_LEAVE_OUT})
    if(arg_DEPENDS)
        list(JOIN arg_DEPENDS " " dependency)
        set_property(GLOBAL APPEND PROPERTY ORLO_PACKAGE_DEPENDENCIES "find_dependency(${dependency})")
    endif()
endfunction()

function(orlo_export_program target)
    add_executable(Orlo::${target} ALIAS ${target})
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${ORLO_BIN_TO_LIB}")
    set_property(GLOBAL APPEND PROPERTY ORLO_EXPORTED_TARGETS ${target})
endfunction()

# Install rules for everything exported above; called once at the end of the
# top-level CMakeLists.txt.
function(orlo_install_package)
    if(NOT ORLO_INSTALL)
        return()
    endif()
    get_property(targets GLOBAL PROPERTY ORLO_EXPORTED_TARGETS)
    get_property(folders GLOBAL PROPERTY ORLO_HEADER_FOLDERS)
    get_property(dependencies GLOBAL PROPERTY ORLO_PACKAGE_DEPENDENCIES)

    install(TARGETS ${targets} EXPORT ${ORLO_PACKAGE}Targets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
    get_property(left_out GLOBAL PROPERTY ORLO_HEADERS_LEFT_OUT)
    set(leave_out_rule)
    if(left_out)
        list(JOIN left_out "|" units)
        set(leave_out_rule REGEX "/(${units})\\.h$" EXCLUDE)
    endif()
    foreach(folder IN LISTS folders)
        install(DIRECTORY ${PROJECT_SOURCE_DIR}/${folder}/
            DESTINATION ${ORLO_INSTALL_INCLUDEDIR}/${folder}
            FILES_MATCHING PATTERN "*.h" ${leave_out_rule})
    endforeach()

    install(EXPORT ${ORLO_PACKAGE}Targets NAMESPACE Orlo:: DESTINATION ${ORLO_INSTALL_CMAKEDIR})
    include(CMakePackageConfigHelpers)
    list(JOIN dependencies "\n" ORLO_FIND_DEPENDENCIES)
    configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/${ORLO_PACKAGE}Config.cmake.in
        ${PROJECT_BINARY_DIR}/${ORLO_PACKAGE}Config.cmake
        INSTALL_DESTINATION ${ORLO_INSTALL_CMAKEDIR})
    write_basic_package_version_file(${PROJECT_BINARY_DIR}/${ORLO_PACKAGE}ConfigVersion.cmake
        VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
    install(FILES
        ${PROJECT_BINARY_DIR}/${ORLO_PACKAGE}Config.cmake
        ${PROJECT_BINARY_DIR}/${ORLO_PACKAGE}ConfigVersion.cmake
        ${PROJECT_SOURCE_DIR}/cmake/OrloForms.cmake
        DESTINATION ${ORLO_INSTALL_CMAKEDIR})
    orlo_install_pkg_config()
endfunction()

# orloglossa40.pc for builds without CMake. Its prefix is taken from where the
# file lies, so the installed tree can be moved.
function(orlo_install_pkg_config)
    get_property(libraries GLOBAL PROPERTY ORLO_EXPORTED_LIBRARIES)
    set(ORLO_PC_LIBS)
    # Users first, so a static link resolves in order.
    list(REVERSE libraries)
    foreach(library IN LISTS libraries)
        get_target_property(name ${library} OUTPUT_NAME)
        if(NOT name)
            set(name ${library})
        endif()
        string(APPEND ORLO_PC_LIBS " -l${name}")
    endforeach()
    # The forms layer's headers include Qt's.
    set(ORLO_PC_REQUIRES)
    set(ORLO_PC_CFLAGS)
    if(TARGET orlovcl)
        set(ORLO_PC_REQUIRES Qt6Widgets)
        set(ORLO_PC_CFLAGS " -DORLO_WITH_FORMS=1")
    endif()
    set(pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
    file(RELATIVE_PATH ORLO_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
    string(REGEX REPLACE "/$" "" ORLO_PC_TO_PREFIX "${ORLO_PC_TO_PREFIX}")
    configure_file(${PROJECT_SOURCE_DIR}/cmake/orloglossa40.pc.in ${PROJECT_BINARY_DIR}/orloglossa40.pc @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/orloglossa40.pc DESTINATION ${pc_dir})
endfunction()
