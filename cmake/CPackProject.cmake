# Read by cpack before it builds a package (the Debian package and the zip for Windows).

# Every time in a package is the commit's: CPack's archives take SOURCE_DATE_EPOCH for their
# files' times, and the caller's own value, when it sets one, wins.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    set(ENV{SOURCE_DATE_EPOCH} ${CPACK_QUILLON_SOURCE_DATE_EPOCH})
endif()

# The Debian package needs tools that CPack would otherwise do without in silence, giving a
# package without its library dependencies.
if(CPACK_GENERATOR STREQUAL "DEB")
    foreach(toolAndPackage dpkg-shlibdeps:dpkg-dev file:file)
        string(REPLACE ":" ";" toolAndPackage ${toolAndPackage})
        list(GET toolAndPackage 0 tool)
        list(GET toolAndPackage 1 debianPackage)
        find_program(found_${tool} ${tool})
        if(NOT found_${tool})
            message(FATAL_ERROR "${tool} not found (Debian package ${debianPackage}): the "
                                "package's library dependencies are computed with it")
        endif()
    endforeach()
endif()
