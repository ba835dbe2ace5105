# The runtime folder build/game/: every file the game reads, made from the
# sources under assets/ by the tools under tools/. Each step writes its files
# completely or not at all, and stamps record what is up to date, so a second
# build with no change does nothing.

option(TOTEM_CONTENT "Build the game's runtime content into build/game" ON)

set(TOTEM_STAGE_DIR ${CMAKE_BINARY_DIR}/content-stage)
set(TOTEM_ASSETS ${CMAKE_SOURCE_DIR}/assets)
set(TOTEM_CONTENT_OUTPUTS)

if(TOTEM_CONTENT)
  # Pictures and effect files are staged below pak/ and packed into one file.
  file(GLOB_RECURSE art_svgs CONFIGURE_DEPENDS ${TOTEM_ASSETS}/art/*.svg)
  add_custom_command(OUTPUT ${TOTEM_STAGE_DIR}/art.stamp
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${TOTEM_STAGE_DIR}/pak/media/gfx
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TOTEM_STAGE_DIR}/pak
    COMMAND $<TARGET_FILE:totem-art> ${TOTEM_STAGE_DIR}/pak
    COMMAND ${CMAKE_COMMAND} -E touch ${TOTEM_STAGE_DIR}/art.stamp
    DEPENDS totem-art ${art_svgs}
    COMMENT "Painting the game's pictures")

  file(GLOB effect_sources CONFIGURE_DEPENDS ${TOTEM_ASSETS}/effects/*.xml)
  add_custom_command(OUTPUT ${TOTEM_STAGE_DIR}/effects.stamp
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${TOTEM_STAGE_DIR}/pak/media/effects
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TOTEM_STAGE_DIR}/pak/media/effects
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${TOTEM_ASSETS}/effects ${TOTEM_STAGE_DIR}/pak/media/effects
    COMMAND ${CMAKE_COMMAND} -E touch ${TOTEM_STAGE_DIR}/effects.stamp
    DEPENDS ${effect_sources}
    COMMENT "Staging the particle effects")

  add_custom_command(OUTPUT ${TOTEM_GAME_DIR}/media/data.pak
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TOTEM_GAME_DIR}/media
    COMMAND $<TARGET_FILE:totem-pak> pack ${TOTEM_STAGE_DIR}/pak ${TOTEM_STAGE_DIR}/data.pak
    COMMAND ${CMAKE_COMMAND} -E rename ${TOTEM_STAGE_DIR}/data.pak ${TOTEM_GAME_DIR}/media/data.pak
    DEPENDS totem-pak ${TOTEM_STAGE_DIR}/art.stamp ${TOTEM_STAGE_DIR}/effects.stamp
    COMMENT "Packing media/data.pak")
  list(APPEND TOTEM_CONTENT_OUTPUTS ${TOTEM_GAME_DIR}/media/data.pak)

  # Bitmap fonts are read as loose files.
  if(TARGET totem-fontbake)
    add_custom_command(OUTPUT ${TOTEM_STAGE_DIR}/fonts.stamp
      COMMAND $<TARGET_FILE:totem-fontbake> --table ${TOTEM_ASSETS}/fonts/fonts.txt ${TOTEM_GAME_DIR}/media/fonts
      COMMAND ${CMAKE_COMMAND} -E touch ${TOTEM_STAGE_DIR}/fonts.stamp
      DEPENDS totem-fontbake ${TOTEM_ASSETS}/fonts/fonts.txt
      COMMENT "Baking the bitmap fonts")
    list(APPEND TOTEM_CONTENT_OUTPUTS ${TOTEM_STAGE_DIR}/fonts.stamp)
  endif()

  # Sounds are read as loose files too.
  if(TARGET totem-sfx)
    file(GLOB_RECURSE sfx_sources CONFIGURE_DEPENDS ${TOTEM_ASSETS}/sounds/*)
    add_custom_command(OUTPUT ${TOTEM_STAGE_DIR}/sounds.stamp
      COMMAND $<TARGET_FILE:totem-sfx> ${TOTEM_GAME_DIR}/media/sound
      COMMAND ${CMAKE_COMMAND} -E touch ${TOTEM_STAGE_DIR}/sounds.stamp
      DEPENDS totem-sfx ${sfx_sources}
      COMMENT "Synthesising the sounds")
    list(APPEND TOTEM_CONTENT_OUTPUTS ${TOTEM_STAGE_DIR}/sounds.stamp)
  endif()

  # Resource descriptions: one fragment per area of the game, joined in name order.
  file(GLOB res_fragments CONFIGURE_DEPENDS ${TOTEM_ASSETS}/res/*.xml)
  list(SORT res_fragments)
  if(res_fragments)
  add_custom_command(OUTPUT ${TOTEM_GAME_DIR}/res.xml
    COMMAND $<TARGET_FILE:totem-content> res ${TOTEM_GAME_DIR}/res.xml ${res_fragments}
    DEPENDS totem-content ${res_fragments}
    COMMENT "Joining res.xml")
  list(APPEND TOTEM_CONTENT_OUTPUTS ${TOTEM_GAME_DIR}/res.xml)
  endif()

  if(EXISTS ${TOTEM_ASSETS}/text/StringE.txt)
    add_custom_command(OUTPUT ${TOTEM_GAME_DIR}/media/StringE.dat
      COMMAND $<TARGET_FILE:totem-content> text ${TOTEM_ASSETS}/text/StringE.txt ${TOTEM_GAME_DIR}/media/StringE.dat
      DEPENDS totem-content ${TOTEM_ASSETS}/text/StringE.txt
      COMMENT "Compiling the text table")
    list(APPEND TOTEM_CONTENT_OUTPUTS ${TOTEM_GAME_DIR}/media/StringE.dat)
  endif()

  # Layouts and tables the game reads as they are.
  foreach(pair "gui.xml:gui.xml" "skins.xml:media/skins.xml")
    string(REPLACE ":" ";" pair_list ${pair})
    list(GET pair_list 0 src)
    list(GET pair_list 1 dst)
    if(EXISTS ${TOTEM_ASSETS}/${src})
      add_custom_command(OUTPUT ${TOTEM_GAME_DIR}/${dst}
        COMMAND ${CMAKE_COMMAND} -E copy ${TOTEM_ASSETS}/${src} ${TOTEM_GAME_DIR}/${dst}
        DEPENDS ${TOTEM_ASSETS}/${src}
        COMMENT "Copying ${dst}")
      list(APPEND TOTEM_CONTENT_OUTPUTS ${TOTEM_GAME_DIR}/${dst})
    endif()
  endforeach()

  # The pages behind the two links, shipped with the game.
  file(GLOB www_sources CONFIGURE_DEPENDS ${TOTEM_ASSETS}/www/*)
  if(www_sources)
    add_custom_command(OUTPUT ${TOTEM_STAGE_DIR}/www.stamp
      COMMAND ${CMAKE_COMMAND} -E make_directory ${TOTEM_GAME_DIR}/www
      COMMAND ${CMAKE_COMMAND} -E copy ${www_sources} ${TOTEM_GAME_DIR}/www/
      COMMAND ${CMAKE_COMMAND} -E touch ${TOTEM_STAGE_DIR}/www.stamp
      DEPENDS ${www_sources}
      COMMENT "Copying the local pages")
    foreach(link "play.url:play.html" "website.url:index.html")
      string(REPLACE ":" ";" link_list ${link})
      list(GET link_list 0 url)
      list(GET link_list 1 page)
      add_custom_command(OUTPUT ${TOTEM_GAME_DIR}/${url}
        COMMAND $<TARGET_FILE:totem-content> url ${TOTEM_GAME_DIR}/${url} ${TOTEM_GAME_DIR}/www/${page}
        DEPENDS totem-content ${TOTEM_STAGE_DIR}/www.stamp
        COMMENT "Writing ${url}")
      list(APPEND TOTEM_CONTENT_OUTPUTS ${TOTEM_GAME_DIR}/${url})
    endforeach()
  endif()

  # The desktop's icon: one drawing, rasterised at the sizes menus and docks
  # ask for; the drawing itself is installed as the scalable one.
  set(TOTEM_ICON_SVG ${TOTEM_ASSETS}/icon/totem-riff.svg)
  set(TOTEM_ICON_SIZES 32 48 64 128 256)
  set(TOTEM_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
  foreach(size ${TOTEM_ICON_SIZES})
    set(icon ${TOTEM_ICON_DIR}/${size}x${size}/totem-riff.png)
    add_custom_command(OUTPUT ${icon}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${TOTEM_ICON_DIR}/${size}x${size}
      COMMAND $<TARGET_FILE:totem-art> --svg ${TOTEM_ICON_SVG} ${size} ${size} ${icon}
      DEPENDS totem-art ${TOTEM_ICON_SVG}
      COMMENT "Painting the ${size}x${size} icon")
    list(APPEND TOTEM_CONTENT_OUTPUTS ${icon})
  endforeach()

  # Songs, charts and the level table.
  include(${CMAKE_SOURCE_DIR}/cmake/ContentSongs.cmake OPTIONAL)
endif()

add_custom_target(content ALL DEPENDS totem-riff ${TOTEM_CONTENT_OUTPUTS})

if(TOTEM_CONTENT AND TARGET totem-content-check)
  add_test(NAME content_check COMMAND totem-content-check ${TOTEM_GAME_DIR})
endif()
