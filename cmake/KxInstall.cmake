# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# Installs the libraries and the public headers with a CMake package config, so that a farm tool can
# find_package(kxNotifyKXMessage) and use the data model. Each rule names its component, the Debian
# package it goes to (packaging/CMakeLists.txt): "plugin" what a farm server loads, "dev" what a farm
# tool builds against.
include(CMakePackageConfigHelpers)
foreach(dir runtime config jobs clients renderapps plugin platform/kxshared)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/${dir}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kxNotifyKXMessage/${dir}
            COMPONENT dev FILES_MATCHING PATTERN "*.h")
endforeach()
# The plug-in and libkxShared.so share the plug-in folder and find each other there, so a tool built
# against the package starts without a library search path.
set_target_properties(kxShared PROPERTIES INSTALL_RPATH "$ORIGIN")
if(TARGET kxNotifyKXMessage)
    set_target_properties(kxNotifyKXMessage PROPERTIES INSTALL_RPATH "$ORIGIN")
endif()
install(TARGETS kxShared kxdatamodel EXPORT kxNotifyKXMessageTargets
        LIBRARY DESTINATION ${KX_PLUGIN_INSTALL_DIR} COMPONENT plugin
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
if(TARGET kxNotifyKXMessage)
    install(TARGETS kxNotifyKXMessage EXPORT kxNotifyKXMessageTargets
            LIBRARY DESTINATION ${KX_PLUGIN_INSTALL_DIR} COMPONENT plugin NAMELINK_COMPONENT dev)
endif()
install(EXPORT kxNotifyKXMessageTargets NAMESPACE kx:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/kxNotifyKXMessage
        COMPONENT dev)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/kxNotifyKXMessageConfig.cmake.in
"@PACKAGE_INIT@
include(CMakeFindDependencyMacro)
find_dependency(Qt6 COMPONENTS Core)
include(\"\${CMAKE_CURRENT_LIST_DIR}/kxNotifyKXMessageTargets.cmake\")
")
configure_package_config_file(${CMAKE_CURRENT_BINARY_DIR}/kxNotifyKXMessageConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/kxNotifyKXMessageConfig.cmake
    INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/kxNotifyKXMessage)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/kxNotifyKXMessageConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/kxNotifyKXMessageConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/kxNotifyKXMessageConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/kxNotifyKXMessage COMPONENT dev)
