#compdef veltrin
# zsh completion for veltrin: its options, and folders or files after those that take one.

# At most one mode; --json also goes with --bench, --bench-history and --diff.
local -a modes=(--json --summary --bench --bench-history --capture --screenshots --report --diff --help --version)
local -a besides_json=(${modes:#--json}) with_json=(${${${modes:#--bench}:#--bench-history}:#--diff})

_arguments -s \
  "(${modes[*]})--summary[print the plain-text hardware summary]" \
  "(${besides_json[*]})--bench[run the CPU benchmark and print its result]" \
  "(${besides_json[*]})--bench-history[print the recorded benchmark runs]" \
  "(${with_json[*]})--json[print the snapshot, or with --bench or --diff the result, as JSON]" \
  "(${modes[*]})--capture[save what every tool prints into a folder]:capture folder:_files -/" \
  "(${modes[*]})--screenshots[render every tab into a folder]:screenshots folder:_files -/" \
  "(${modes[*]})--report[write a report to post, serial numbers and UUIDs masked]::report file:_files" \
  "(${besides_json[*]} --replay)--diff[print the fields that differ between two captures or JSON files]:capture folder or JSON file:_files:capture folder or JSON file:_files" \
  "(- *)--help[show the usage text]" \
  "(- *)--version[show the version]" \
  "(--replay --diff)--replay[read the machine from a capture folder]:capture folder:_files -/" \
  "(--replace)--replace[let --capture replace the finished capture in its folder]" \
  "(--format)--format[write the report as HTML or Markdown]:format:(html markdown)" \
  "(--unmasked)--unmasked[show serial numbers and UUIDs whole in a report or comparison]"
