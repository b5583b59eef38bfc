# Runs lupdate over the sources into a copy of the catalogue and fails when any entry is
# unfinished, obsolete or vanished.
set(copy ${WORK_DIR}/scanlet_ru_check.ts)
configure_file(${SOURCE_DIR}/resources/scanlet_ru.ts ${copy} COPYONLY)
execute_process(COMMAND ${LUPDATE} -silent -locations none
                        ${SOURCE_DIR}/app ${SOURCE_DIR}/records ${SOURCE_DIR}/acquisition
                        ${SOURCE_DIR}/views ${SOURCE_DIR}/output -ts ${copy}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lupdate failed")
endif()
file(READ ${copy} text)
string(REGEX MATCHALL "<source>[^<]*</source>[^<]*<translation type=\"(unfinished|obsolete|vanished)\"" bad "${text}")
list(LENGTH bad count)
if(count GREATER 0)
  message(FATAL_ERROR "${count} catalogue entries need work (run: cmake --build build -t lupdate):\n${bad}")
endif()
string(REGEX MATCHALL "<message>" all "${text}")
list(LENGTH all total)
message(STATUS "${total} texts, all translated")
