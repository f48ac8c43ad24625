# What `cmake --install` puts under the prefix: both programs, and for the editor its desktop entry,
# the MIME type of .properties files, the icons, the AppStream metainfo and the man pages.
include(GNUInstallDirs)

set(PROPDESK_SCREENSHOT_URL "https://raw.githubusercontent.com/orvandi/propdesk/main/docs/screenshot.png"
    CACHE STRING "Where software centres fetch the screenshot named in the metainfo")

install(TARGETS propdesk-native2ascii RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(propdesk_man_pages propdesk-native2ascii)

if(PROPDESK_BUILD_SHELL)
  install(TARGETS propdesk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  list(APPEND propdesk_man_pages propdesk)

  install(FILES res/desktop/propdesk.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          RENAME ${PROPDESK_DESKTOP_ID}.desktop)
  install(FILES res/desktop/propdesk-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME propdesk.xml)

  configure_file(res/desktop/propdesk.metainfo.xml.in ${PROJECT_BINARY_DIR}/res/propdesk.metainfo.xml @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/res/propdesk.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
          RENAME ${PROPDESK_DESKTOP_ID}.metainfo.xml)

  set(icon_root ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES res/icons/propdesk.svg DESTINATION ${icon_root}/scalable/apps)
  # Every size that tools/draw_icon.py drew, named propdesk-SIZE.png.
  file(GLOB icon_files RELATIVE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/res/icons/propdesk-*.png)
  foreach(icon IN LISTS icon_files)
    string(REGEX REPLACE ".*propdesk-([0-9]+)\\.png$" "\\1" size ${icon})
    install(FILES ${icon} DESTINATION ${icon_root}/${size}x${size}/apps RENAME propdesk.png)
  endforeach()
endif()

foreach(page IN LISTS propdesk_man_pages)
  configure_file(res/man/${page}.1.in ${PROJECT_BINARY_DIR}/res/${page}.1 @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/res/${page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
