# bash completion for veltrin: its options, and folders after those that take one.
# Written for bash 3.2 as much as for bash 5 (no mapfile).

# COMPREPLY becomes the lines of standard input, one word each.
_veltrin_reply()
{
    local line
    COMPREPLY=()
    while IFS= read -r line; do
        COMPREPLY+=("$line")
    done
}

_veltrin()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    case $prev in
    --replay | --capture | --screenshots)
        compopt -o filenames 2>/dev/null
        _veltrin_reply < <(compgen -d -- "$cur")
        return
        ;;
    esac
    _veltrin_reply < <(compgen -W '--json --summary --bench --bench-history --capture --screenshots --help --version --replay --replace' -- "$cur")
}
complete -F _veltrin veltrin
