# bash completion for scenario-builder; made from its command tables.
_scenario_builder_words() { COMPREPLY=($(compgen -W "$1" -- "$cur")); }
_scenario_builder_folders() { compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -d -- "$cur")); }
# Files whose names end in one of the extensions given as "a|b", and folders to go through.
_scenario_builder_files() {
  compopt -o filenames 2>/dev/null
  COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X "!*.@($1)" -- "$cur"))
}
_scenario_builder() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} command="" i
  shopt -s extglob
  for ((i = 1; i < COMP_CWORD; i++)); do
    case ${COMP_WORDS[i]} in -*) ;; *) command=${COMP_WORDS[i]}; break ;; esac
  done
  case $command in
    "")
      _scenario_builder_words 'sources compile inspect summary diff plot decompile documents explain timing lsp help --help --version'
      ;;
    sources)
      case $prev in
        -o|--output) _scenario_builder_folders; return ;;
      esac
      if [[ $cur == -* ]]; then
        _scenario_builder_words '-o --output --force --wait --no-wait --help'
      fi
      ;;
    compile)
      case $prev in
        -o|--output) _scenario_builder_folders; return ;;
        --name) :; return ;;
        --number) :; return ;;
        --diagnostics-format) _scenario_builder_words 'text json sarif'; return ;;
        --diagnostics-output) _scenario_builder_files ; return ;;
        --input-encoding) _scenario_builder_words 'windows-1252 utf-8'; return ;;
        --acceleration) :; return ;;
        --braking) :; return ;;
        --dwell) :; return ;;
        --margin) :; return ;;
        --max-speed) :; return ;;
      esac
      if [[ $cur == -* ]]; then
        _scenario_builder_words '-o --output --name --number --check --diagnostics-format --diagnostics-output --write-on-fault --werror -w --no-warnings --input-encoding --wait --no-wait --acceleration --braking --dwell --margin --max-speed --help'
      else
        _scenario_builder_files txt
      fi
      ;;
    inspect)
      case $prev in
      esac
      if [[ $cur == -* ]]; then
        _scenario_builder_words '--all --json --annotate --help'
      else
        _scenario_builder_files 'dat|sim'
      fi
      ;;
    summary)
      case $prev in
        --name) :; return ;;
        --number) :; return ;;
      esac
      if [[ $cur == -* ]]; then
        _scenario_builder_words '--name --number --json --help'
      else
        _scenario_builder_folders
      fi
      ;;
    diff)
      case $prev in
        --name) :; return ;;
        --number) :; return ;;
      esac
      if [[ $cur == -* ]]; then
        _scenario_builder_words '--name --number --json --help'
      else
        _scenario_builder_files 'dat|sim'
      fi
      ;;
    plot)
      case $prev in
        --name) :; return ;;
        --number) :; return ;;
        -o|--output) _scenario_builder_files svg; return ;;
        --axis) _scenario_builder_words 'km m'; return ;;
        --from) :; return ;;
        --to) :; return ;;
      esac
      if [[ $cur == -* ]]; then
        _scenario_builder_words '--name --number -o --output --axis --from --to --wait --no-wait --help'
      else
        _scenario_builder_folders
      fi
      ;;
    decompile)
      case $prev in
        --name) :; return ;;
        --number) :; return ;;
        -o|--output) _scenario_builder_folders; return ;;
      esac
      if [[ $cur == -* ]]; then
        _scenario_builder_words '--name --number -o --output --force --no-verify --wait --no-wait --help'
      else
        _scenario_builder_folders
      fi
      ;;
    documents)
      case $prev in
        --name) :; return ;;
        --number) :; return ;;
        -o|--output) _scenario_builder_folders; return ;;
        --class) :; return ;;
        --rank) :; return ;;
        --mass) :; return ;;
      esac
      if [[ $cur == -* ]]; then
        _scenario_builder_words '--name --number -o --output --force --class --rank --mass --wait --no-wait --help'
      else
        _scenario_builder_folders
      fi
      ;;
    explain)
      case $prev in
      esac
      if [[ $cur == -* ]]; then
        _scenario_builder_words '--markdown --help'
      else
        _scenario_builder_words '1 2 3 4 5 6 7 8 9 10 11 12 13 15 16 17 18 19 20 21 22 24 25 101 102 103 1250 1251'
      fi
      ;;
    timing)
      case $prev in
        --name) :; return ;;
        --number) :; return ;;
        --acceleration) :; return ;;
        --braking) :; return ;;
        --dwell) :; return ;;
        --margin) :; return ;;
        --max-speed) :; return ;;
      esac
      if [[ $cur == -* ]]; then
        _scenario_builder_words '--name --number --json --acceleration --braking --dwell --margin --max-speed --help'
      else
        _scenario_builder_files txt
      fi
      ;;
    lsp)
      case $prev in
      esac
      if [[ $cur == -* ]]; then
        _scenario_builder_words '--help'
      fi
      ;;
    help)
      case $prev in
      esac
      if [[ $cur == -* ]]; then
        _scenario_builder_words '--help'
      else
        _scenario_builder_words 'sources compile inspect summary diff plot decompile documents explain timing lsp help'
      fi
      ;;
  esac
}
complete -F _scenario_builder scenario-builder
