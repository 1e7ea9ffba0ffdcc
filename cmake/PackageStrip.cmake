# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack on the staged files before it makes the package: strips every program as
# Debian's dh_strip does, dropping the symbols and the compiler's .comment and .note sections,
# which nothing needs at run time.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file IN LISTS staged)
  if(IS_SYMLINK "${file}")
    continue()
  endif()
  file(READ "${file}" magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    execute_process(COMMAND strip --remove-section=.comment --remove-section=.note "${file}"
                    RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "Cannot strip ${file}")
    endif()
  endif()
endforeach()
