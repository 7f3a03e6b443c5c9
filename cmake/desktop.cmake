# Quillo on the Linux desktop: install rules, the menu entry, the replay file type,
# the icons, the AppStream metainfo and the Debian package.

# Chosen once; the entry, the metainfo, the icons and the package all take them
# from here.
set(QUILLO_APP_ID io.github.quillo.Quillo)
set(QUILLO_REPOSITORY_URL https://github.com/quillo/quillo)
set(QUILLO_SCREENSHOT_URL ${QUILLO_REPOSITORY_URL}/raw/main/docs)
set(QUILLO_LICENSE MIT)
set(QUILLO_MAINTAINER_EMAIL quillo@users.noreply.github.com)
set(QUILLO_REPLAY_MIME_TYPE application/x-quillo-replay)
set(QUILLO_REPLAY_ICON application-x-quillo-replay)
set(QUILLO_ICON_SIZES 16 32 48 64 128 256)

set(QUILLO_DESKTOP_DIR ${PROJECT_BINARY_DIR}/desktop)
set(QUILLO_DESKTOP_ENTRY ${QUILLO_DESKTOP_DIR}/${QUILLO_APP_ID}.desktop)
set(QUILLO_METAINFO ${QUILLO_DESKTOP_DIR}/${QUILLO_APP_ID}.metainfo.xml)
set(QUILLO_MIME_XML ${QUILLO_DESKTOP_DIR}/${QUILLO_APP_ID}.xml)
set(QUILLO_ASSETS ${PROJECT_SOURCE_DIR}/assets)
configure_file(${QUILLO_ASSETS}/desktop/quillo.desktop.in ${QUILLO_DESKTOP_ENTRY} @ONLY)
configure_file(${QUILLO_ASSETS}/desktop/quillo.metainfo.xml.in ${QUILLO_METAINFO} @ONLY)
configure_file(${QUILLO_ASSETS}/desktop/quillo.mime.xml.in ${QUILLO_MIME_XML} @ONLY)
configure_file(${QUILLO_ASSETS}/debian/copyright.in ${QUILLO_DESKTOP_DIR}/copyright @ONLY)
configure_file(${QUILLO_ASSETS}/debian/changelog.in ${QUILLO_DESKTOP_DIR}/changelog @ONLY)

# The program finds its installed files relative to its own binary, so an install
# under any prefix (or into a DESTDIR) finds them.
file(RELATIVE_PATH QUILLO_INSTALLED_FILES ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/quillo)
target_compile_definitions(quillo PRIVATE QUILLO_INSTALLED_FILES="${QUILLO_INSTALLED_FILES}"
                                          QUILLO_APP_ID="${QUILLO_APP_ID}")

# The icons: PNGs rendered from the SVG sources at every hicolor size.
find_program(QUILLO_RSVG_CONVERT rsvg-convert REQUIRED)
set(QUILLO_ICON_DIR ${QUILLO_DESKTOP_DIR}/icons/hicolor)
set(QUILLO_ICON_FILES)
foreach(icon apps/${QUILLO_APP_ID}:quillo mimetypes/${QUILLO_REPLAY_ICON}:${QUILLO_REPLAY_ICON})
  string(REPLACE ":" ";" parts ${icon})
  list(GET parts 0 installed)
  list(GET parts 1 source)
  set(svg ${QUILLO_ASSETS}/icons/${source}.svg)
  foreach(size ${QUILLO_ICON_SIZES})
    set(png ${QUILLO_ICON_DIR}/${size}x${size}/${installed}.png)
    get_filename_component(png_dir ${png} DIRECTORY)
    add_custom_command(OUTPUT ${png}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${png_dir}
                       COMMAND ${QUILLO_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${svg}
                       DEPENDS ${svg}
                       COMMENT "Rendering ${installed} at ${size}x${size}"
                       VERBATIM)
    list(APPEND QUILLO_ICON_FILES ${png})
  endforeach()
  configure_file(${svg} ${QUILLO_ICON_DIR}/scalable/${installed}.svg COPYONLY)
endforeach()

# Manual pages and the package's changelog, compressed as Debian wants them.
set(QUILLO_GZ_FILES)
foreach(page quillo.1 quillo-render.1 changelog)
  if(page STREQUAL "changelog")
    set(src ${QUILLO_DESKTOP_DIR}/changelog)
  else()
    set(src ${QUILLO_ASSETS}/man/${page})
  endif()
  set(gz ${QUILLO_DESKTOP_DIR}/${page}.gz)
  add_custom_command(OUTPUT ${gz}
                     COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${src} ${gz}
                     DEPENDS ${src}
                     COMMENT "Compressing ${page}"
                     VERBATIM)
  list(APPEND QUILLO_GZ_FILES ${gz})
endforeach()
add_custom_target(quillo_desktop_files ALL DEPENDS ${QUILLO_ICON_FILES} ${QUILLO_GZ_FILES})

# Install.
install(TARGETS quillo quillo-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program folder's files, whatever the build put there: everything in it but
# the programs and the files the program writes itself (the field cache, frames,
# the drawing kept for a restart).
install(DIRECTORY ${QUILLO_PROGRAM_DIR}/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quillo
        PATTERN "quillo*" EXCLUDE
        PATTERN "littlblu.bmp" EXCLUDE
        REGEX "/clip[0-9]+\\.bmp$" EXCLUDE
        REGEX "/autosave\\.[^/]*$" EXCLUDE
        REGEX "/\\.[^/]*$" EXCLUDE)
install(FILES ${QUILLO_DESKTOP_ENTRY} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUILLO_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${QUILLO_MIME_XML} DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(DIRECTORY ${QUILLO_DESKTOP_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${QUILLO_DESKTOP_DIR}/quillo.1.gz ${QUILLO_DESKTOP_DIR}/quillo-render.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${QUILLO_DESKTOP_DIR}/copyright ${QUILLO_DESKTOP_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillo)

# The Debian package: `cpack -G DEB` in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillo)
set(CPACK_PACKAGE_VENDOR "The Quillo developers")
set(CPACK_PACKAGE_CONTACT "The Quillo developers <${QUILLO_MAINTAINER_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "painting program for play with pattern tools and replays")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUILLO_REPOSITORY_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its window system plugin and the program asks for DejaVu Sans at run
# time; neither shows up among the linked libraries. DejaVu has no Japanese, so
# Japanese text falls back to a Japanese font: IPAex Gothic, or any other the
# system already has.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-dejavu-core, fonts-ipaexfont-gothic | fonts-japanese-gothic")
# In a Wayland session Qt draws natively with its Wayland plugin; without it, through
# XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quillo is a painting program made for play rather than for editing. It fills
the screen with a black canvas and a strip of tool panels. Strokes take their
colour from a screen-sized colour field, and pattern tools draw waves, webs,
Lissajous figures, coils and rings of ellipses on every mouse move. Every
action is recorded and replays on the canvas; recordings are saved as replay
files that open from the file manager.")
include(CPack)
