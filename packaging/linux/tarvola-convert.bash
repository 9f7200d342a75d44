# bash completion for tarvola-convert. The option names come from its --help.
_tarvola_convert() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  case $prev in
    -o | --output)
      compopt -o filenames
      COMPREPLY=($(compgen -f -X '!*.[kK][mM][lLzZ]' -- "$cur") $(compgen -d -- "$cur"))
      return ;;
    -d | --output-dir)
      compopt -o filenames
      COMPREPLY=($(compgen -d -- "$cur"))
      return ;;
    --format)
      COMPREPLY=($(compgen -W 'kml kmz' -- "$cur"))
      return ;;
    --profile)
      COMPREPLY=($(compgen -W 'classic earth web' -- "$cur"))
      return ;;
    --altitude)
      COMPREPLY=($(compgen -W 'clamp relative absolute' -- "$cur"))
      return ;;
    --units)
      COMPREPLY=($(compgen -W 'metric imperial' -- "$cur"))
      return ;;
    -j | --jobs | --line-width)
      return ;;
  esac
  if [[ $cur == --format=* ]]; then
    COMPREPLY=($(compgen -W 'kml kmz' -- "${cur#--format=}"))
    return
  fi
  if [[ $cur == -* ]]; then
    local options
    options=$("${COMP_WORDS[0]}" --help 2>/dev/null | grep -oE -- '(^|[ ,])--?[A-Za-z][-A-Za-z]*' | tr -d ' ,')
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    return
  fi
  compopt -o filenames
  COMPREPLY=($(compgen -f -X '!*.[gG][pP][xX]' -- "$cur") $(compgen -d -- "$cur"))
} && complete -F _tarvola_convert tarvola-convert
