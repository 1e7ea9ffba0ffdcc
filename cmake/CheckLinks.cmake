# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a program needs a library it must not: a command-line tool meant to run where no
# desktop is installed must not pull in X11, Qt's GUI, widget or D-Bus modules, the secret
# store's library or OpenGL.
#   cmake -DPROGRAM=<file> -DFORBIDDEN=<regex> [-DTRANSITIVE=ON] -P CheckLinks.cmake
# Without TRANSITIVE only the libraries the program names itself count (readelf -d); with it,
# every library the loader would load for it (ldd).
if(NOT PROGRAM OR NOT FORBIDDEN)
  message(FATAL_ERROR "Usage: cmake -DPROGRAM=<file> -DFORBIDDEN=<regex> [-DTRANSITIVE=ON] -P CheckLinks.cmake")
endif()
if(NOT EXISTS "${PROGRAM}")
  message(FATAL_ERROR "${PROGRAM} does not exist")
endif()

if(TRANSITIVE)
  execute_process(COMMAND ldd "${PROGRAM}" OUTPUT_VARIABLE listing ERROR_VARIABLE errors
                  RESULT_VARIABLE failed)
  set(pattern "([^ \t\n]+\\.so[^ \t\n]*)")
else()
  execute_process(COMMAND readelf -d "${PROGRAM}" OUTPUT_VARIABLE listing ERROR_VARIABLE errors
                  RESULT_VARIABLE failed)
  set(pattern "Shared library: \\[([^]]+)\\]")
endif()
if(failed)
  message(FATAL_ERROR "Cannot list the libraries of ${PROGRAM}: ${errors}")
endif()

string(REGEX MATCHALL "${pattern}" entries "${listing}")
if(NOT entries)
  message(FATAL_ERROR "No libraries listed for ${PROGRAM}; the listing was:\n${listing}")
endif()
set(libraries "")
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "${pattern}" "\\1" library "${entry}")
  list(APPEND libraries "${library}")
endforeach()
list(REMOVE_DUPLICATES libraries)

set(found "")
foreach(library IN LISTS libraries)
  if(library MATCHES "${FORBIDDEN}")
    list(APPEND found "${library}")
    message(STATUS "Forbidden library: ${library}")
  endif()
endforeach()
if(found)
  list(JOIN found ", " found_text)
  message(FATAL_ERROR "${PROGRAM} needs libraries it must not: ${found_text}")
endif()
list(LENGTH libraries count)
message(STATUS "${PROGRAM}: none of ${count} libraries matches ${FORBIDDEN}")
