# `cmake --install build --prefix P` (or `make install PREFIX=P`) lays the game
# out as a desktop expects: the program in P/bin, everything it reads in
# P/share/totem-riff (found from the program, see main), and the launcher,
# the software centre's description and the icons where desktops look.
# The player's files are never installed: the game makes them on first start.
set(TOTEM_APP_ID io.github.totemriff.TotemRiff)
set(TOTEM_INSTALL_DATA ${CMAKE_INSTALL_DATADIR}/totem-riff)

install(TARGETS totem-riff RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(TOTEM_CONTENT)
  install(DIRECTORY ${TOTEM_GAME_DIR}/ DESTINATION ${TOTEM_INSTALL_DATA}
    REGEX "/totem-riff$" EXCLUDE
    REGEX "/User\\.dat[^/]*$" EXCLUDE
    REGEX "/options\\.dat[^/]*$" EXCLUDE
    REGEX "/timing\\.ini[^/]*$" EXCLUDE
    REGEX "\\.tmp$" EXCLUDE
    REGEX "/(play|website)\\.url$" EXCLUDE)

  # The links to the local pages name them relative to the link, so they
  # still lead there when the installation is moved.
  set(links_dir ${CMAKE_BINARY_DIR}/install-links)
  foreach(link "play.url:play.html" "website.url:index.html")
    string(REPLACE ":" ";" link_list ${link})
    list(GET link_list 0 url)
    list(GET link_list 1 page)
    file(WRITE ${links_dir}/${url} "[InternetShortcut]\r\nURL=www/${page}\r\n")
    install(FILES ${links_dir}/${url} DESTINATION ${TOTEM_INSTALL_DATA})
  endforeach()

  foreach(size ${TOTEM_ICON_SIZES})
    install(FILES ${TOTEM_ICON_DIR}/${size}x${size}/totem-riff.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  install(FILES ${TOTEM_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

install(FILES ${TOTEM_ASSETS}/desktop/${TOTEM_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TOTEM_ASSETS}/desktop/${TOTEM_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
