# SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
# SPDX-License-Identifier: MIT

# What "cmake --install" puts in place and how "cpack -G DEB" packs it. On
# Linux that is a desktop program's full set: the program, its desktop entry,
# AppStream metainfo, the MIME package of the .qrx type, icons for both in the
# hicolor theme, a manual page and the Debian copyright and changelog.

include(GNUInstallDirs)

set(QBE_PACKAGE_NAME "quarn-basic-editor")
set(QBE_PACKAGING_DIR "${PROJECT_SOURCE_DIR}/packaging")
set(QBE_PACKAGING_OUT "${PROJECT_BINARY_DIR}/packaging")

install(TARGETS quarn-basic-editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(UNIX AND NOT APPLE)
    # The release history in the metainfo and the Debian changelog start with
    # the version this tree builds.
    file(STRINGS "${QBE_PACKAGING_DIR}/${QBE_APP_ID}.metainfo.xml.in" releases REGEX "<release version=")
    list(GET releases 0 newest)
    string(REGEX REPLACE ".*version=\"([^\"]+)\".*" "\\1" newest "${newest}")
    file(STRINGS "${QBE_PACKAGING_DIR}/changelog" changes LIMIT_COUNT 1)
    string(REGEX REPLACE "^[^ ]+ \\(([^)]+)\\).*" "\\1" changed "${changes}")
    if(NOT newest STREQUAL QBE_PRODUCT_VERSION OR NOT changed STREQUAL QBE_PRODUCT_VERSION)
        message(FATAL_ERROR "The newest release in packaging/${QBE_APP_ID}.metainfo.xml.in (${newest}) and in "
                            "packaging/changelog (${changed}) must be the product version ${QBE_PRODUCT_VERSION}")
    endif()

    configure_file("${QBE_PACKAGING_DIR}/${QBE_APP_ID}.metainfo.xml.in"
                   "${QBE_PACKAGING_OUT}/${QBE_APP_ID}.metainfo.xml" @ONLY)

    # The licence text is LICENSE's, below its title and copyright line, in the
    # machine-readable copyright format: indented, empty lines as " .".
    file(STRINGS "${PROJECT_SOURCE_DIR}/LICENSE" licence_lines)
    list(GET licence_lines 0 licence_title)
    if(NOT licence_title STREQUAL "MIT License")
        message(FATAL_ERROR "packaging/copyright.in names the MIT licence; LICENSE starts with \"${licence_title}\"")
    endif()
    list(SUBLIST licence_lines 4 -1 licence_lines)
    set(QBE_LICENSE_BODY "")
    foreach(line IN LISTS licence_lines)
        if(line STREQUAL "")
            string(APPEND QBE_LICENSE_BODY " .\n")
        else()
            string(APPEND QBE_LICENSE_BODY " ${line}\n")
        endif()
    endforeach()
    string(STRIP "${QBE_LICENSE_BODY}" QBE_LICENSE_BODY)
    string(PREPEND QBE_LICENSE_BODY " ")
    configure_file("${QBE_PACKAGING_DIR}/copyright.in" "${QBE_PACKAGING_OUT}/copyright" @ONLY)

    # The icons at the theme's fixed sizes are drawn from the SVG sources at
    # build time; the sources themselves go in as the scalable icons.
    find_program(QBE_RSVG_CONVERT rsvg-convert REQUIRED)
    find_program(QBE_GZIP gzip REQUIRED)
    set(icon_sources
        "apps|quarn-basic-editor|${QBE_PACKAGING_DIR}/quarn-basic-editor.svg"
        "mimetypes|text-x-quarnbasic|${PROJECT_SOURCE_DIR}/src/res/svg/docicon.svg")
    set(generated "")
    foreach(entry IN LISTS icon_sources)
        string(REPLACE "|" ";" entry "${entry}")
        list(GET entry 0 context)
        list(GET entry 1 name)
        list(GET entry 2 source)
        foreach(size 16 24 32 48 64 128 256)
            set(png "${QBE_PACKAGING_OUT}/icons/${size}x${size}/${context}/${name}.png")
            add_custom_command(OUTPUT "${png}"
                COMMAND ${CMAKE_COMMAND} -E make_directory "${QBE_PACKAGING_OUT}/icons/${size}x${size}/${context}"
                COMMAND "${QBE_RSVG_CONVERT}" --width ${size} --height ${size} --output "${png}" "${source}"
                DEPENDS "${source}"
                COMMENT "Drawing ${name} at ${size}x${size}"
                VERBATIM)
            list(APPEND generated "${png}")
        endforeach()
        install(FILES "${source}" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/${context}
                RENAME ${name}.svg)
    endforeach()
    install(DIRECTORY "${QBE_PACKAGING_OUT}/icons/" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

    # The manual page and the changelog go in compressed, without a time stamp.
    foreach(entry "quarn-basic-editor.1|quarn-basic-editor.1.gz" "changelog|changelog.gz")
        string(REPLACE "|" ";" entry "${entry}")
        list(GET entry 0 source)
        list(GET entry 1 target)
        add_custom_command(OUTPUT "${QBE_PACKAGING_OUT}/${target}"
            COMMAND "${QBE_GZIP}" -9 -n -c "${QBE_PACKAGING_DIR}/${source}" > "${QBE_PACKAGING_OUT}/${target}"
            DEPENDS "${QBE_PACKAGING_DIR}/${source}"
            COMMENT "Compressing ${source}")
        list(APPEND generated "${QBE_PACKAGING_OUT}/${target}")
    endforeach()
    add_custom_target(qbe_packaging_files ALL DEPENDS ${generated})

    install(FILES "${QBE_PACKAGING_DIR}/${QBE_APP_ID}.desktop" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES "${QBE_PACKAGING_OUT}/${QBE_APP_ID}.metainfo.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES "${QBE_PACKAGING_DIR}/quarn-basic-editor.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
    install(FILES "${QBE_PACKAGING_OUT}/quarn-basic-editor.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES "${QBE_PACKAGING_OUT}/copyright" "${QBE_PACKAGING_OUT}/changelog.gz"
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${QBE_PACKAGE_NAME})
endif()

# The Debian package. Its version is the product version as it is ("1.3.8c"
# is a valid Debian version; the package is native, so it has no Debian
# revision). Dependencies come from the program's libraries through
# dpkg-shlibdeps; the plugins Qt loads by name are added by hand: the SVG icon
# engine (in libqt6svg6) and the window-system plugins (qt6-qpa-plugins).
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "${QBE_PACKAGE_NAME}")
set(CPACK_PACKAGE_VERSION "${QBE_PRODUCT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Quarn BASIC Editor authors")
set(CPACK_PACKAGE_CONTACT "The Quarn BASIC Editor authors <bugs@quarnbasic.example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "${QBE_HOMEPAGE_URL}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Quarn BASIC programs")
set(CPACK_PACKAGE_DESCRIPTION
"Quarn BASIC Editor edits programs written in Quarn BASIC, a BASIC dialect
for the Game Boy Advance. It colours the language's keywords, compiles the
active file with the Quarn BASIC compiler, runs the result in an emulator and
sends it to the hardware through a flash linker or a multi-boot cable. It
keeps unsaved work safe across a crash and starts new projects from a
template.

The compiler, the emulator and the linker are separate programs that are not
part of this package.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_NAME "${QBE_PACKAGE_NAME}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION "devel")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE "xz")
include(CPack)
