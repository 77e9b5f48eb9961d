# Every warning is a bug: one place sets the flags for every project target. Dev, CI and
# the checking presets turn warnings into errors; the package preset does not, so a newer
# compiler's new warning cannot block a release build.
function(quarrix_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${QUARRIX_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                           $<$<BOOL:${QUARRIX_WERROR}>:-Werror>)
  endif()
endfunction()
