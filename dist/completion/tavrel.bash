# bash completion for tavrel: subcommands, their options, HTML page paths,
# directories for "files", and machine names (hives in the registry folder)
# for -r.

_tavrel_machines() {
    local folder=${TAVREL_REGISTRY_DIR:-/etc/tavrel-wizard/registry}
    local hive
    for hive in "$folder"/*.reg; do
        [[ -f $hive ]] || continue
        hive=${hive##*/}
        printf '%s\n' "${hive%.reg}"
    done
}

_tavrel() {
    local cur prev words cword
    _init_completion || return

    local commands="list add change delete rebuild feed docmap dirs files url"
    local entry_options="--link --title --description --date"
    local command="" word
    for word in "${words[@]:1:cword-1}"; do
        if [[ " $commands " == *" $word "* ]]; then
            command=$word
            break
        fi
    done

    if [[ -z $command ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$commands --help --version --wait --server-config --site" -- "$cur")
        return
    fi

    case $prev in
        --link | --title | --description | --date | --wait | --base-url | --site)
            return
            ;;
        --server-config)
            _filedir
            return
            ;;
        -r)
            mapfile -t COMPREPLY < <(compgen -W "$(_tavrel_machines)" -- "$cur")
            return
            ;;
    esac

    local options="--help"
    case $command in
        list) options+=" --json --wait" ;;
        add | change) options+=" $entry_options --force --wait" ;;
        delete | rebuild) options+=" --force --wait" ;;
        feed) options+=" --enable --disable --base-url --force --wait" ;;
        docmap | dirs) options+=" -r --json --server-config --site" ;;
        url) options+=" -r --server-config --site" ;;
        files) options+=" --json" ;;
    esac
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
        return
    fi

    case $command in
        docmap | dirs) ;;
        files) _filedir -d ;;
        url) _filedir ;;
        *) _filedir '@([hH][tT][mM]?([lL]))' ;;
    esac
} &&
    complete -F _tavrel tavrel
