# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# cmake -P script behind the install_consumer test; its variables come from tests/install/CMakeLists.txt.

include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/KxRun.cmake)

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})

kx_run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# Only the prefix and Qt are offered to find_package: no package registry, no build tree.
set(configureArgs -S ${CONSUMER_DIR} -B ${WORK_DIR}/build -G ${GENERATOR}
    -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
    -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
    -DCMAKE_PREFIX_PATH=${prefix}
    -DQt6_DIR=${QT_DIR}
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF)
if(CXX_LAUNCHER)
    list(APPEND configureArgs -DCMAKE_CXX_COMPILER_LAUNCHER=${CXX_LAUNCHER})
endif()
if(CXX_FLAGS)
    list(APPEND configureArgs "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}")
endif()
kx_run("configure the consumer" ${CMAKE_COMMAND} ${configureArgs})

file(STRINGS ${WORK_DIR}/build/CMakeCache.txt packageDir REGEX "^kxNotifyKXMessage_DIR:")
string(FIND "${packageDir}" "${prefix}/" at)
if(NOT at GREATER 0)
    message(FATAL_ERROR "the consumer found the package outside the prefix: ${packageDir}")
endif()

kx_run("build the consumer" ${CMAKE_COMMAND} --build ${WORK_DIR}/build)

# The tool must start as a farm admin would start it: no library search path set.
kx_run("run the consumer" ${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH ${WORK_DIR}/build/farmtool)
string(STRIP "${runOutput}" printed)
if(NOT printed STREQUAL EXPECT)
    message(FATAL_ERROR "the consumer printed '${printed}', expected '${EXPECT}'")
endif()
message(STATUS "the consumer printed '${printed}'")
