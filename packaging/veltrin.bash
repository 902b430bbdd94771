# bash completion for veltrin: its options, and folders or files after those that take one.

_veltrin()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    local before=
    [ "$COMP_CWORD" -ge 2 ] && before=${COMP_WORDS[COMP_CWORD - 2]}
    case $prev in
    --replay | --capture | --screenshots)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -d -- "$cur")
        return
        ;;
    --format)
        mapfile -t COMPREPLY < <(compgen -W 'html markdown' -- "$cur")
        return
        ;;
    esac
    # Each side of --diff is a capture folder or a JSON file; the report's file is optional.
    if [ "$prev" = --diff ] || [ "$before" = --diff ] || { [ "$prev" = --report ] && [ "${cur#-}" = "$cur" ]; }; then
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
    fi
    mapfile -t COMPREPLY < <(compgen -W '--json --summary --bench --bench-history --capture --screenshots --report --diff --help --version --replay --replace --format --unmasked' -- "$cur")
}
complete -F _veltrin veltrin
