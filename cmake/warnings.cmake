# Warnings for the project's own targets (not for the libraries built beside them).
function(tessaryn_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()
