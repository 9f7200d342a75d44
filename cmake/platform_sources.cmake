# tarvola_platform_sources(<target> WINDOWS <file>... OTHER <file>...): the files of the platform
# being built for, as each platform's code lives in files of its own.
function(tarvola_platform_sources target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "WINDOWS;OTHER")
  if(WIN32)
    target_sources(${target} PRIVATE ${arg_WINDOWS})
  else()
    target_sources(${target} PRIVATE ${arg_OTHER})
  endif()
endfunction()
