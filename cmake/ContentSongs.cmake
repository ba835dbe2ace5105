# Songs: every assets/songs/<song>.song is composed, rendered and charted into
# media/songs/<song>/ by totem-songgen; the stamp is written only after the
# tool has put all three files in place. Also the menu's looping music and
# the level table.
if(TARGET totem-songgen)
  file(GLOB song_sources CONFIGURE_DEPENDS ${TOTEM_ASSETS}/songs/*.song)
  foreach(song_source ${song_sources})
    get_filename_component(song ${song_source} NAME_WE)
    string(TOLOWER ${song} song)
    add_custom_command(OUTPUT ${TOTEM_STAGE_DIR}/songs/${song}.stamp
      COMMAND ${CMAKE_COMMAND} -E make_directory ${TOTEM_STAGE_DIR}/songs
      COMMAND ${CMAKE_COMMAND} -E rm -f ${TOTEM_STAGE_DIR}/songs/${song}.stamp
      COMMAND $<TARGET_FILE:totem-songgen> song ${song_source} ${TOTEM_GAME_DIR}/media/songs/${song}
      COMMAND ${CMAKE_COMMAND} -E touch ${TOTEM_STAGE_DIR}/songs/${song}.stamp
      DEPENDS totem-songgen ${song_source}
      COMMENT "Composing the song ${song}")
    list(APPEND TOTEM_CONTENT_OUTPUTS ${TOTEM_STAGE_DIR}/songs/${song}.stamp)
  endforeach()

  if(EXISTS ${TOTEM_ASSETS}/music/menu.song)
    add_custom_command(OUTPUT ${TOTEM_GAME_DIR}/media/music/menu.ogg
      COMMAND $<TARGET_FILE:totem-songgen> loop ${TOTEM_ASSETS}/music/menu.song ${TOTEM_GAME_DIR}/media/music/menu.ogg
      DEPENDS totem-songgen ${TOTEM_ASSETS}/music/menu.song
      COMMENT "Composing the menu music")
    list(APPEND TOTEM_CONTENT_OUTPUTS ${TOTEM_GAME_DIR}/media/music/menu.ogg)
  endif()
endif()

if(EXISTS ${TOTEM_ASSETS}/levels.xml)
  add_custom_command(OUTPUT ${TOTEM_GAME_DIR}/media/levels.xml
    COMMAND ${CMAKE_COMMAND} -E copy ${TOTEM_ASSETS}/levels.xml ${TOTEM_GAME_DIR}/media/levels.xml
    DEPENDS ${TOTEM_ASSETS}/levels.xml
    COMMENT "Copying media/levels.xml")
  list(APPEND TOTEM_CONTENT_OUTPUTS ${TOTEM_GAME_DIR}/media/levels.xml)
endif()
