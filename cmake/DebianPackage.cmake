# `cpack -G DEB` (scripts/package.sh) turns the installation into the Debian package 491mx. Its
# version is the project's; its library dependencies come from the binary through dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME 491mx)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "信息科")
set(CPACK_PACKAGE_CONTACT "信息科 <author@491mx.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://491mx.example/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "billing program of a hospital's inpatient ward")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "491MX 医院（住院）计费系统 is used by a ward's cashiers when a patient's\n"
    "stay is settled: it issues, corrects and prints inpatient receipts onto\n"
    "pre-printed forms, keeps a PDF copy of every printed page, and sums the\n"
    "receipts of a period. Its windows are in Chinese.")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see it: the typeface of the forms and receipts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, qt6-translations-l10n")
# The About window's links open in the desktop's browser through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")

# Debian's documentation files, and the compression its policy asks for, belong to the package
# only: a plain `cmake --install` leaves the manual page uncompressed.
set(CPACK_PROGRAM_DEBIAN_FILES ${PROJECT_SOURCE_DIR}/resources/debian)
set(CPACK_PROGRAM_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/491mx)
set(CPACK_PROGRAM_MAN_DIR ${CMAKE_INSTALL_MANDIR})
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DebianPackageFiles.cmake)

include(CPack)
