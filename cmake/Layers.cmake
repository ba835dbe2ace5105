# One static library per game folder, each linking only the folders below it.
#
# Every library compiles against an include root of its own that holds links to
# its folder and the folders below it, and nothing else. An #include of a higher
# folder therefore fails to compile, so the layering cannot rot silently.
# Consumers inherit the root of what they link, which only ever adds folders
# below their own.
#
# The media layer alone talks to SDL, OpenGL, the codecs and FreeType: their
# headers are private to it, so no other folder can include them.
set(TOTEM_LAYER_ROOTS ${CMAKE_BINARY_DIR}/layers)

function(totem_add_layers)
  set(below "")
  set(previous "")
  foreach(layer ${ARGN})
    set(root ${TOTEM_LAYER_ROOTS}/${layer})
    file(MAKE_DIRECTORY ${root})
    foreach(visible ${below} ${layer})
      if(NOT EXISTS ${root}/${visible})
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${visible} ${root}/${visible} SYMBOLIC)
      endif()
    endforeach()

    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${layer}/*.cpp)
    list(REMOVE_ITEM sources ${CMAKE_SOURCE_DIR}/app/main.cpp)
    if(sources)
      add_library(totem_${layer} STATIC ${sources})
      target_include_directories(totem_${layer} PUBLIC ${root})
      if(previous)
        target_link_libraries(totem_${layer} PUBLIC totem_${previous})
      endif()
    else()
      # A folder still waiting for its first source.
      add_library(totem_${layer} INTERFACE)
      target_include_directories(totem_${layer} INTERFACE ${root})
      if(previous)
        target_link_libraries(totem_${layer} INTERFACE totem_${previous})
      endif()
    endif()
    list(APPEND below ${layer})
    set(previous ${layer})
  endforeach()

  target_link_libraries(totem_media
    PRIVATE PkgConfig::SDL2 PkgConfig::EPOXY PkgConfig::PNG PkgConfig::FREETYPE PkgConfig::VORBIS JPEG::JPEG
    PUBLIC Threads::Threads)
endfunction()
