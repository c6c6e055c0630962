# cmake -DVERSION=... -DCHANGELOG=... -P ChangelogVersion.cmake: fails unless the changelog's
# top entry is that of the version, as a release needs one for the package to carry.
file(READ ${CHANGELOG} changelog)
string(REGEX MATCH "^[^\n]*" top "${changelog}")
string(FIND "${top}" "morlend (${VERSION}) " at)
if(NOT at EQUAL 0)
    message(FATAL_ERROR "The top entry of ${CHANGELOG} is \"${top}\", not one for the version "
        "${VERSION}: add an entry for it (CONTRIBUTING.md, Releasing).")
endif()
