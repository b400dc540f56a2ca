# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# For cmake -P scripts: kx_run(<what> <command>...) runs the command and stops the script with its
# output when it fails; its standard output is left in runOutput.
function(kx_run what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
    endif()
    set(runOutput "${out}" PARENT_SCOPE)
endfunction()
