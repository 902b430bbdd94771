#compdef veltrin
# zsh completion for veltrin: its options, and folders after those that take one.

# At most one mode; --json also goes with --bench and --bench-history.
local -a modes=(--json --summary --bench --bench-history --capture --screenshots --help --version)
local -a besides_json=(${modes:#--json}) besides_bench=(${${modes:#--bench}:#--bench-history})

_arguments -s \
  "(${modes[*]})--summary[print the plain-text hardware summary]" \
  "(${besides_json[*]})--bench[run the CPU benchmark and print its result]" \
  "(${besides_json[*]})--bench-history[print the recorded benchmark runs]" \
  "(${besides_bench[*]})--json[print the snapshot, or with --bench the result, as JSON]" \
  "(${modes[*]})--capture[save what every tool prints into a folder]:capture folder:_files -/" \
  "(${modes[*]})--screenshots[render every tab into a folder]:screenshots folder:_files -/" \
  "(- *)--help[show the usage text]" \
  "(- *)--version[show the version]" \
  "(--replay)--replay[read the machine from a capture folder]:capture folder:_files -/" \
  "(--replace)--replace[let --capture replace the finished capture in its folder]"
