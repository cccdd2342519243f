# Run by cpack once it has made the zip for Windows: CPack adds the zip's entries in the order
# the file system lists them and dates them in the local time zone, so they are sorted and
# dated afresh, in UTC, from the commit's time (scripts/sort-zip.py).
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    execute_process(COMMAND python3 ${CPACK_QUILLON_SOURCE_DIR}/scripts/sort-zip.py
                            ${CPACK_QUILLON_SOURCE_DATE_EPOCH} ${package}
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "cannot sort the entries of ${package}")
    endif()
endforeach()
