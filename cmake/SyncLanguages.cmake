# Mirrors the language files of QUILLET_LANG_DIR (*.ini; the folder may be missing) into
# QUILLET_LANGUAGES_OUT, the Languages folder beside the built program (cmake -P). Files that
# left the source folder leave the copy too, so the build runs with what would ship.
cmake_minimum_required(VERSION 3.25)

file(MAKE_DIRECTORY "${QUILLET_LANGUAGES_OUT}")
set(wanted "")
if(IS_DIRECTORY "${QUILLET_LANG_DIR}")
  file(GLOB sources LIST_DIRECTORIES false "${QUILLET_LANG_DIR}/*.ini")
  foreach(source ${sources})
    get_filename_component(name "${source}" NAME)
    list(APPEND wanted "${name}")
    file(COPY_FILE "${source}" "${QUILLET_LANGUAGES_OUT}/${name}" ONLY_IF_DIFFERENT)
  endforeach()
endif()
file(GLOB copies LIST_DIRECTORIES false "${QUILLET_LANGUAGES_OUT}/*.ini")
foreach(copy ${copies})
  get_filename_component(name "${copy}" NAME)
  if(NOT name IN_LIST wanted)
    file(REMOVE "${copy}")
  endif()
endforeach()
