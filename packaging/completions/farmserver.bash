# bash completion for kxfarmserver                                     -*- shell-script -*-
# SPDX-License-Identifier: Apache-2.0
_kxfarmserver()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    case $prev in
        --plugin)
            COMPREPLY=($(compgen -f -X '!*.so*' -- "$cur") $(compgen -d -- "$cur"))
            return
            ;;
        --log)
            COMPREPLY=($(compgen -f -- "$cur"))
            return
            ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--plugin --log --strict --json --version --help' -- "$cur"))
    else
        COMPREPLY=($(compgen -f -X '!*.ini' -- "$cur") $(compgen -d -- "$cur"))
    fi
} &&
    complete -o filenames -F _kxfarmserver kxfarmserver
