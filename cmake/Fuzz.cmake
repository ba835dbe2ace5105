# Fuzz targets: every fuzz/fuzz_<name>.cpp is one entry point for libFuzzer.
#
# Every build makes replay_<name> (the target with a small main that feeds it
# each file of fuzz/corpus/<name>/) and a CTest test fuzz_corpus_<name>, so an
# input a reader once survived stays a regression case in the normal and the
# sanitizer build. With TOTEM_FUZZ (clang only) the whole tree is built with
# libFuzzer's coverage and ASan + UBSan, and fuzz_<name> is the libFuzzer
# program itself; `make fuzz` builds and runs them all.

file(GLOB TOTEM_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/fuzz_*.cpp)
add_custom_target(fuzz_targets)
foreach(src ${TOTEM_FUZZ_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  string(REGEX REPLACE "^fuzz_" "" short ${name})

  add_executable(replay_${short} ${src} ${CMAKE_SOURCE_DIR}/fuzz/ReplayMain.cpp)
  target_link_libraries(replay_${short} PRIVATE totem)
  add_test(NAME fuzz_corpus_${short} COMMAND replay_${short} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${short}
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(fuzz_corpus_${short} PROPERTIES LABELS fuzz TIMEOUT 300)

  if(TOTEM_FUZZ)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE totem)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_dependencies(fuzz_targets ${name})
  endif()
endforeach()
