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

# The core and the CLI (no Qt) also hold every narrowing and every C-style cast to account:
# each is a static_cast where it is meant. Clang's -Wconversion takes in sign changes, which
# GCC leaves out; both check the same. The Qt targets keep the common set.
function(quarrix_core_warnings target)
  quarrix_warnings(${target})
  if(NOT MSVC)
    target_compile_options(${target} PRIVATE -Wconversion -Wold-style-cast
                           $<$<CXX_COMPILER_ID:Clang>:-Wno-sign-conversion>)
  endif()
endfunction()
