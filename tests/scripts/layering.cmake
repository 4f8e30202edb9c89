# Builds a library's include probes (tests/CMakeLists.txt) and checks each outcome: the upward
# probe and the hidden link's must fail on their include ("No such file"), the downward one must
# build.
#   cmake -DBUILD=<build dir> -DPROBES=layering_<lib>_up=<header>;layering_<lib>_down=<header>;layering_<lib>_hidden=<header> -P layering.cmake
set(failures "")
foreach(entry ${PROBES})
  string(REPLACE "=" ";" entry "${entry}")
  list(GET entry 0 probe)
  list(GET entry 1 header)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target ${probe}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  string(REPLACE "." "\\." pattern "${header}")
  if(probe MATCHES "_(up|hidden)$")
    if(result EQUAL 0)
      string(APPEND failures "${probe}: \"${header}\" was found, though it is above or hidden\n")
    elseif(NOT out MATCHES "${pattern}: No such file|'${pattern}' file not found")
      string(APPEND failures "${probe} failed for another reason than the include:\n${out}\n")
    else()
      message(STATUS "${probe}: \"${header}\" refused")
    endif()
  elseif(NOT result EQUAL 0)
    string(APPEND failures "${probe}: \"${header}\" should build from above it:\n${out}\n")
  else()
    message(STATUS "${probe}: \"${header}\" found")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
