# bash completion for veltrin: its options, and folders or files after those that take one.
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
    local before=
    [ "$COMP_CWORD" -ge 2 ] && before=${COMP_WORDS[COMP_CWORD - 2]}
    case $prev in
    --replay | --capture | --screenshots)
        compopt -o filenames 2>/dev/null
        _veltrin_reply < <(compgen -d -- "$cur")
        return
        ;;
    --format)
        _veltrin_reply < <(compgen -W 'html markdown' -- "$cur")
        return
        ;;
    esac
    # Each side of --diff is a capture folder or a JSON file; the report's file is optional.
    if [ "$prev" = --diff ] || [ "$before" = --diff ] || { [ "$prev" = --report ] && [ "${cur#-}" = "$cur" ]; }; then
        compopt -o filenames 2>/dev/null
        _veltrin_reply < <(compgen -f -- "$cur")
        return
    fi
    _veltrin_reply < <(compgen -W '--json --summary --bench --bench-history --capture --screenshots --report --diff --help --version --replay --replace --format --unmasked' -- "$cur")
}
complete -F _veltrin veltrin
