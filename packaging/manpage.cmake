# SPDX-License-Identifier: Apache-2.0
# Copyright the kxNotifyKXMessage authors
# cmake -P script: writes PROGRAM's manual page OUT (gzip -9n) with help2man from the program's own
# --help and --version, the sections of INCLUDE added. With COMMANDS ON the page also holds, per
# command that --help lists under "Commands:", that command's own --help text.
# Variables: HELP2MAN, GZIP, PROGRAM, NAME (the one-line description), INCLUDE, COMMANDS, OUT.

include(${CMAKE_CURRENT_LIST_DIR}/../cmake/KxRun.cmake)

# Text for a roff no-fill block: backslashes written as \e, a leading dot or quote kept as text.
function(roff_literal text outVar)
    string(REPLACE "\\" "\\e" text "${text}")
    string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
    set(${outVar} "${text}" PARENT_SCOPE)
endfunction()

file(READ ${INCLUDE} include)
if(COMMANDS)
    kx_run("${PROGRAM} --help" ${PROGRAM} --help)
    string(REGEX MATCH "\nCommands:\n([^\n]+\n)+" commandBlock "${runOutput}")
    string(REGEX MATCHALL "\n  [a-z]+ " commandNames "${commandBlock}")
    if(NOT commandNames)
        message(FATAL_ERROR "${PROGRAM} --help lists no commands")
    endif()
    string(APPEND include "\n[COMMANDS IN DETAIL]\n")
    foreach(command IN LISTS commandNames)
        string(STRIP "${command}" command)
        kx_run("${PROGRAM} ${command} --help" ${PROGRAM} ${command} --help)
        roff_literal("${runOutput}" text)
        string(APPEND include ".SS ${command}\n.nf\n${text}.fi\n")
    endforeach()
endif()
get_filename_component(page ${OUT} NAME_WLE)
get_filename_component(outDir ${OUT} DIRECTORY)
file(WRITE ${outDir}/${page}.h2m "${include}")
kx_run(help2man ${HELP2MAN} --no-info --no-discard-stderr "--name=${NAME}" --include=${outDir}/${page}.h2m
    --output=${outDir}/${page} ${PROGRAM})
kx_run(gzip ${GZIP} -9nf ${outDir}/${page})
