# bash completion for kxinspect                                        -*- shell-script -*-
# SPDX-License-Identifier: Apache-2.0
# Commands and options are read from the program's own --help, so they are always the installed
# program's.
_kxinspect()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} program=${COMP_WORDS[0]}
    local command="" i
    for ((i = 1; i < COMP_CWORD; i++)); do
        if [[ ${COMP_WORDS[i]} != -* ]]; then
            command=${COMP_WORDS[i]}
            break
        fi
    done
    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--help --version' -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$("$program" --help 2>/dev/null |
                sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z]*\) .*/\1/p')" -- "$cur"))
        fi
        return
    fi
    case $prev in
        --farm | --out)
            COMPREPLY=($(compgen -f -- "$cur"))
            return
            ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$("$program" "$command" --help 2>/dev/null |
            sed -n 's/^  \(--[a-z][a-z-]*\).*/\1/p')" -- "$cur"))
    else
        COMPREPLY=($(compgen -f -- "$cur"))
    fi
} &&
    complete -o filenames -F _kxinspect kxinspect
