# bash completion for veltrin: its options, and folders after those that take one.

_veltrin()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    case $prev in
    --replay | --capture | --screenshots)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -d -- "$cur")
        return
        ;;
    esac
    mapfile -t COMPREPLY < <(compgen -W '--json --summary --bench --bench-history --capture --screenshots --help --version --replay --replace' -- "$cur")
}
complete -F _veltrin veltrin
