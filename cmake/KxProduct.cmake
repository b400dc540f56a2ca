# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
include(KxExportCheck)

# kx_add_product_library(<target> SOURCES ...): the plug-in shared library with file name
# liblx_kxNotifyKXMessage64.so.1 and the unversioned link beside it. The whole data model is linked in
# so that every exported data-model symbol is in the library, whether the plug-in calls it or not.
function(kx_add_product_library target)
    cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
    add_library(${target} SHARED ${ARG_SOURCES})
    set_target_properties(${target} PROPERTIES
        OUTPUT_NAME lx_kxNotifyKXMessage64
        VERSION 1
        SOVERSION 1)
    target_compile_definitions(${target} PRIVATE KX_BUILD_DATAMODEL QT_NO_FOREACH)
    target_link_libraries(${target} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,kxdatamodel>")
    target_link_libraries(${target} PUBLIC kxShared Qt6::Core)
    # A farm tool that links the product library uses the data model through the same headers.
    target_include_directories(${target} PUBLIC
        $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
        $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/kxNotifyKXMessage>)
    target_link_options(${target} PRIVATE ${KX_NO_UNDEFINED_LINK_OPTION})
    # The library's calls to its own functions bind to its own definitions at link time: a server
    # process built from the same modules defines the same exported names, and the first definition
    # in the process would otherwise take every call of the plug-in. The names stay exported for the
    # tools, and calls into libkxShared and Qt stay dynamic (they are not defined here). Data keeps its
    # ordinary binding, so a tool that links the library still shares the library's constants.
    target_link_options(${target} PRIVATE "LINKER:-Bsymbolic-functions")
    # Debug builds leave weak copies of Qt's inline members in the objects; keep them local.
    kx_hide_foreign_symbols(${target})
    kx_set_warnings(${target})
endfunction()
