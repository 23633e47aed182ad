# Warnings for our own targets (not for third-party code built alongside).
function(korvat_warnings Target)
  target_compile_options(${Target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Werror)
endfunction()
