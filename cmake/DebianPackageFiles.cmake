# Run by CPack on the staged installation before the Debian package is made: adds the package's
# copyright and changelog and compresses them and the manual pages with `gzip -9n`, as Debian
# policy asks.
find_program(gzip_program gzip REQUIRED)

set(staged ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(doc_dir ${staged}/${CPACK_PROGRAM_DOC_DIR})

# The changelog's latest entry must be the version being packaged.
file(STRINGS ${CPACK_PROGRAM_DEBIAN_FILES}/changelog latest_entry LIMIT_COUNT 1)
if(NOT latest_entry MATCHES "^${CPACK_PACKAGE_NAME} \\(${CPACK_PACKAGE_VERSION}\\) ")
    message(FATAL_ERROR "resources/debian/changelog has no entry for ${CPACK_PACKAGE_VERSION}: "
        "its latest is \"${latest_entry}\"")
endif()

file(COPY ${CPACK_PROGRAM_DEBIAN_FILES}/copyright ${CPACK_PROGRAM_DEBIAN_FILES}/changelog
    DESTINATION ${doc_dir}
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

file(GLOB_RECURSE manual_pages ${staged}/${CPACK_PROGRAM_MAN_DIR}/*)
foreach(file IN LISTS manual_pages ITEMS ${doc_dir}/changelog)
    execute_process(COMMAND ${gzip_program} -9nf ${file} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
