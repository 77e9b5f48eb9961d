# Every warning is a bug: one place sets the flags for every project target.
function(quarrix_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${QUARRIX_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
                           $<$<BOOL:${QUARRIX_WERROR}>:-Werror>)
  endif()
endfunction()
