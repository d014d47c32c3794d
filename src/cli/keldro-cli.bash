# bash completion for keldro-cli                           -*- shell-script -*-
# Installed as share/bash-completion/completions/keldro-cli; needs the helpers
# of the bash-completion package (_init_completion, _filedir).

# The options of one command that take a value, as a case pattern list.
_keldro_cli_valued()
{
    case $1 in
        offset) echo '--mode|--reference' ;;
        split) echo '--at|--parts|--every|--mode|--out|--name|--tracks|--overlap-back|--overlap-fwd|--title|--artist|--album|--year|--comment|--track|--genre' ;;
        merge) echo '-o|--output|--silence|--silence-after|--title|--artist|--album|--year|--comment|--track|--genre' ;;
    esac
}

_keldro_cli_options()
{
    case $1 in
        info) echo '--help --json' ;;
        offset) echo '--help --mode --reference --json' ;;
        cue) echo '--help --json' ;;
        split) echo '--help --at --parts --every --mode --out --name --tracks
            --count-generated --overlap-back --overlap-fwd --title --artist
            --album --year --comment --track --genre --no-vbr-header --seamless
            --overwrite --skip-existing --export-cue --dry-run --json' ;;
        merge) echo '--help -o --output --silence --silence-after --title --artist
            --album --year --comment --track --genre --ignore-mismatch
            --no-check --overwrite --json' ;;
    esac
}

# How many arguments that are not options or option values come before the
# word being completed (the command's positionals so far).
_keldro_cli_positionals()
{
    local command=$1 start=$2 valued i n=0
    valued=$(_keldro_cli_valued "$command")
    for ((i = start + 1; i < cword; i++)); do
        case ${words[i]} in
            --) ;;
            --*=*) ;;
            -*) [[ ${words[i]} == @($valued) ]] && ((i++)) ;;
            *) ((n++)) ;;
        esac
    done
    echo "$n"
}

_keldro_cli()
{
    local cur prev words cword split
    _init_completion -s || return

    local i command='' at=0
    for ((i = 1; i < cword; i++)); do
        if [[ ${words[i]} != -* ]]; then
            command=${words[i]}
            at=$i
            break
        fi
    done

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--help --version' -- "$cur"))
        else
            COMPREPLY=($(compgen -W 'info offset cue split merge' -- "$cur"))
        fi
        return
    fi

    case $prev in
        --mode)
            if [[ $command == offset ]]; then
                COMPREPLY=($(compgen -W 'fast frame' -- "$cur"))
            else
                COMPREPLY=($(compgen -W 'auto fast frame' -- "$cur"))
            fi
            return
            ;;
        --out)
            _filedir -d
            return
            ;;
        -o | --output)
            _filedir mp3
            return
            ;;
        --at | --parts | --every | --name | --tracks | --overlap-back | --overlap-fwd | \
            --title | --artist | --album | --year | --comment | --track | --genre | \
            --reference | --silence | --silence-after)
            # A time, a number or a free text: nothing to offer.
            return
            ;;
    esac
    [[ $split == true ]] && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_keldro_cli_options "$command")" -- "$cur"))
        return
    fi

    case $command in
        info | merge) _filedir mp3 ;;
        cue) _filedir cue ;;
        split) _filedir '@(mp3|cue)' ;;
        offset)
            # FILE first, then times.
            (($(_keldro_cli_positionals offset "$at") == 0)) && _filedir mp3
            ;;
    esac
} &&
    complete -F _keldro_cli keldro-cli
