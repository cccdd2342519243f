# The same commit builds to the same bytes, whatever folder it is built in and whenever, so that
# anyone can rebuild a release and compare it with what was published.
#
# QUILLON_SOURCE_DATE_EPOCH is the one time the build writes anywhere (the AppStream release's
# date, the packages' file times, the Debian changelog's): SOURCE_DATE_EPOCH when the caller sets
# it, else the time of the commit being built, from git or, in a source tarball that
# `git archive` made, from cmake/commit-time.txt, which git fills in as it writes the tarball.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(QUILLON_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
    execute_process(COMMAND git log -1 --format=%ct
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE QUILLON_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE gitFailed ERROR_QUIET)
    if(gitFailed)
        file(STRINGS ${PROJECT_SOURCE_DIR}/cmake/commit-time.txt QUILLON_SOURCE_DATE_EPOCH
             LIMIT_COUNT 1)
    endif()
endif()
if(NOT QUILLON_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    message(FATAL_ERROR "No time for the build: this is neither a git checkout nor a tarball that "
                        "git archive made, so set SOURCE_DATE_EPOCH (seconds since 1970)")
endif()
set(ENV{SOURCE_DATE_EPOCH} ${QUILLON_SOURCE_DATE_EPOCH})
string(TIMESTAMP QUILLON_RELEASE_DATE "%Y-%m-%d" UTC)
# What is made from that time depends on this file, rewritten only when the time changes, so that
# a build folder kept from another commit makes it afresh.
set(QUILLON_SOURCE_DATE_FILE ${CMAKE_BINARY_DIR}/source-date-epoch.txt)
file(CONFIGURE OUTPUT ${QUILLON_SOURCE_DATE_FILE} CONTENT "${QUILLON_SOURCE_DATE_EPOCH}\n")

# No build folder in any program: paths in debug information and __FILE__ are relative to the
# source folder. Debug builds keep whole paths for the debugger.
add_compile_options("$<$<AND:$<COMPILE_LANGUAGE:C,CXX>,$<NOT:$<CONFIG:Debug>>>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>")

# Static libraries without their members' times, owners and modes (ar's D).
foreach(language C CXX)
    set(CMAKE_${language}_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
    set(CMAKE_${language}_ARCHIVE_APPEND "<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>")
    set(CMAKE_${language}_ARCHIVE_FINISH "<CMAKE_RANLIB> -D <TARGET>")
endforeach()

if(WIN32)
    # A Windows program's header holds the time it was linked unless told otherwise. The linker
    # puts SOURCE_DATE_EPOCH there instead when it finds it set, and a program linked at an
    # earlier commit would keep that commit's time: it never sees one.
    add_link_options(-Wl,--no-insert-timestamp)
    set(CMAKE_CXX_LINKER_LAUNCHER env -u SOURCE_DATE_EPOCH)
endif()

# The packages (cmake/CPackProject.cmake sets their time) hold folders of the same modes
# whatever the umask of whoever builds them.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/CPackProject.cmake)
set(CPACK_QUILLON_SOURCE_DATE_EPOCH ${QUILLON_SOURCE_DATE_EPOCH})
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
