# bash completion for quarrix-cli: its subcommands, each one's options, and file names by kind
# (packages for package arguments, trigger lists for lists, folders for the folder options).

# Candidates among words: those that start with the word being completed.
_quarrix_cli_words() {
  local IFS=$' \t\n'
  COMPREPLY+=($(compgen -W "$1" -- "$cur"))
}

# Folders, and the files whose names end in one of the given endings, ASCII case ignored; every
# file when the ending is "*".
_quarrix_cli_files() {
  local IFS=$'\n' name ending
  compopt -o filenames 2>/dev/null
  COMPREPLY+=($(compgen -d -- "$cur"))
  [[ $# -eq 0 ]] && return
  for name in $(compgen -f -- "$cur"); do
    [[ -d $name ]] && continue
    for ending in "$@"; do
      if [[ $ending == '*' || ${name,,} == *."$ending" ]]; then
        COMPREPLY+=("$name")
        break
      fi
    done
  done
}

_quarrix_cli_complete() {
  case $1 in
    packages) _quarrix_cli_files uax uz2 ;;
    uz2) _quarrix_cli_files uz2 ;;
    lists) _quarrix_cli_files txt ini ;;
    ini) _quarrix_cli_files ini ;;
    files) _quarrix_cli_files '*' ;;
    folder) _quarrix_cli_files ;;
    breaks) _quarrix_cli_words 'crlf lf cr' ;;
  esac
}

_quarrix_cli() {
  # The options of each subcommand, and of the program itself.
  local -A options=(
    [quarrix-cli]='-h --help --version'
    [extract]='-h --help --no-trigger-names --no-dedicated --hide-in-menu --admin-only --no-random --sounds-only --only --append -o --output --line-breaks'
    [names]='-h --help --sounds-only'
    [sort]='-h --help -o --output --line-breaks --in-place'
    [dedupe]='-h --help -o --output --line-breaks --in-place'
    [sounds]='-h --help --json'
    [export]='-h --help -d --dir --force'
    [check]='-h --help --sounds --ini --stock --redirect --json'
    [compress]='-h --help -d --dir --force'
    [decompress]='-h --help -d --dir --force'
  )
  # The options that take a value, and what kind of value.
  local -A values=(
    [--only]=name [--append]=lists [-o]=lists [--output]=lists [--line-breaks]=breaks
    [-d]=folder [--dir]=folder [--sounds]=folder [--stock]=folder [--redirect]=folder
    [--ini]=ini
  )
  # The positional arguments of each subcommand in order; the last one repeats.
  local -A arguments=(
    [extract]=packages [names]='packages none' [sort]='lists none' [dedupe]='lists none'
    [sounds]=packages [export]='packages name' [check]='lists none' [compress]=files
    [decompress]=uz2
  )

  COMPREPLY=()
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
  # bash splits --option=value at "=": complete the value as after "--option value".
  if [[ $cur == = ]]; then
    cur=
  elif [[ $prev == = ]]; then
    prev=${COMP_WORDS[COMP_CWORD - 2]}
  fi

  local command= word i positionals=0 only_arguments=
  for ((i = 1; i < COMP_CWORD; i++)); do
    word=${COMP_WORDS[i]}
    if [[ -z $only_arguments && $word == -- ]]; then
      only_arguments=1
    elif [[ -z $only_arguments && $word == -* ]]; then
      # Past its value: the word after an "=" that bash split off, or else the next word.
      if [[ ${COMP_WORDS[i + 1]} == = ]]; then
        ((i += 2))
      elif [[ -n ${values[$word]} ]]; then
        ((i++))
      fi
    elif [[ -z $command ]]; then
      command=$word
    else
      ((positionals++))
    fi
  done

  if [[ -z $command ]]; then
    if [[ $cur == -* ]]; then
      _quarrix_cli_words "${options[quarrix-cli]}"
    else
      local commands=${!options[*]}
      _quarrix_cli_words "${commands/quarrix-cli/}"
    fi
    return
  fi
  [[ -z ${options[$command]} ]] && return

  if [[ -z $only_arguments && -n ${values[$prev]} && " ${options[$command]} " == *" $prev "* ]]; then
    _quarrix_cli_complete "${values[$prev]}"
  elif [[ -z $only_arguments && $cur == -* ]]; then
    _quarrix_cli_words "${options[$command]}"
  else
    local -a kinds=(${arguments[$command]})
    ((positionals >= ${#kinds[@]})) && positionals=$((${#kinds[@]} - 1))
    _quarrix_cli_complete "${kinds[positionals]}"
  fi
}

complete -F _quarrix_cli quarrix-cli
