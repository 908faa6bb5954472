# Fails when a library links a library of a layer it must not reach: the libraries named on its
# link line, as the build configured them.
#   cmake -DTARGET=<name> -DLIBRARIES=<lib;...> -DFORBIDDEN=<regex;...> -P this-file
cmake_minimum_required(VERSION 3.25)
if(NOT FORBIDDEN)
  message(FATAL_ERROR "nothing forbidden for ${TARGET}")
endif()
list(JOIN FORBIDDEN "|" forbidden)
set(offences "")
foreach(library IN LISTS LIBRARIES)
  if(library MATCHES "^(${forbidden})$")
    list(APPEND offences "${library}")
  endif()
endforeach()
if(offences)
  list(JOIN offences " " text)
  message(FATAL_ERROR "${TARGET} links a library it must not reach: ${text}")
endif()
message(STATUS "${TARGET}: links none of ${FORBIDDEN}")
