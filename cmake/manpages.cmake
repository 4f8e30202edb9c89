# The man pages: scdoc sources in docs/man, made into troff by the build and installed gzipped
# under share/man/man1 by the package.
find_program(KNIT_SCDOC scdoc)
if(NOT KNIT_SCDOC)
  message(FATAL_ERROR "scdoc not found: the man pages in docs/man are made with it. "
                      "Install the Debian package scdoc (scripts/setup.sh installs it).")
endif()

# The pages carry a date; a fixed one keeps two builds of the same source byte for byte equal:
# SOURCE_DATE_EPOCH when the caller sets it, else the date of the latest changelog entry.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(knit_man_epoch $ENV{SOURCE_DATE_EPOCH})
else()
  file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog knit_man_trailer REGEX "^ -- .*>  " LIMIT_COUNT 1)
  string(REGEX REPLACE "^ -- .*>  " "" knit_man_date "${knit_man_trailer}")
  execute_process(COMMAND date -u -d "${knit_man_date}" +%s
    OUTPUT_VARIABLE knit_man_epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE knit_man_status)
  if(NOT knit_man_status EQUAL 0 OR NOT knit_man_epoch MATCHES "^[0-9]+$")
    message(FATAL_ERROR "packaging/changelog: no date in its first trailer line (\" -- NAME <MAIL>  DATE\")")
  endif()
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog)

set(knit_man_dir ${CMAKE_BINARY_DIR}/man)
set(knit_man_pages)
foreach(page knitpanel knitsim knitjob knitfleet)
  set(source ${knit_man_dir}/${page}.1.scd)
  set(roff ${knit_man_dir}/${page}.1)
  # The footer names the project's version.
  configure_file(${CMAKE_SOURCE_DIR}/docs/man/${page}.1.scd ${source} @ONLY)
  add_custom_command(OUTPUT ${roff} ${roff}.gz
    COMMAND ${CMAKE_COMMAND} -DSCDOC=${KNIT_SCDOC} -DEPOCH=${knit_man_epoch} -DIN=${source} -DOUT=${roff}
            -P ${CMAKE_SOURCE_DIR}/cmake/scdoc-page.cmake
    DEPENDS ${source} ${CMAKE_SOURCE_DIR}/cmake/scdoc-page.cmake
    VERBATIM)
  list(APPEND knit_man_pages ${roff}.gz)
endforeach()
add_custom_target(knit_manpages ALL DEPENDS ${knit_man_pages})
install(FILES ${knit_man_pages} DESTINATION share/man/man1)

if(KNIT_TESTS AND NOT CMAKE_CROSSCOMPILING)
  # Each page renders without a groff warning and names every command and option the tools'
  # --help lists.
  add_test(NAME unit_test_manpages COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/test_manpages.sh
    ${knit_man_dir} $<TARGET_FILE:knitjob> $<TARGET_FILE:knitsim> $<TARGET_FILE:knitfleet>)
  set_tests_properties(unit_test_manpages PROPERTIES LABELS unit TIMEOUT 60)
endif()
