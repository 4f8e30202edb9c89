# Makes one man page: cmake -DSCDOC=... -DEPOCH=... -DIN=NAME.1.scd -DOUT=NAME.1 -P scdoc-page.cmake
# writes OUT (troff) and OUT.gz.
set(ENV{SOURCE_DATE_EPOCH} ${EPOCH})
execute_process(COMMAND ${SCDOC} INPUT_FILE ${IN} OUTPUT_VARIABLE roff RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "scdoc failed on ${IN}")
endif()
# scdoc turns hyphenation off before .TH, which turns it on again: paths and option names
# would be split at line ends ("~/.lo-cal"). Off again after it.
string(REGEX REPLACE "(\n\\.TH [^\n]*\n)" "\\1.nh\n" roff "${roff}")
file(WRITE ${OUT} "${roff}")
# -n: no name or time in the gzip header, so the package is reproducible.
execute_process(COMMAND gzip -9nc ${OUT} OUTPUT_FILE ${OUT}.gz RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${OUT}")
endif()
