# The language files: kept as UTF-8 text in lang/, shipped as UTF-16LE in the build folder's
# "Languages" sub-folder, where the program looks for them beside its executable.
file(GLOB QUILLET_LANGUAGE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/lang/Lan_*.ini)
set(QUILLET_LANGUAGE_DIR ${CMAKE_BINARY_DIR}/Languages)
set(QUILLET_LANGUAGE_FILES)
# A file dropped from lang/ must not linger in the build folder: the packages ship that folder.
file(GLOB QUILLET_LANGUAGE_BUILT ${QUILLET_LANGUAGE_DIR}/Lan_*.ini)
foreach(built ${QUILLET_LANGUAGE_BUILT})
  get_filename_component(name ${built} NAME)
  if(NOT EXISTS ${CMAKE_SOURCE_DIR}/lang/${name})
    file(REMOVE ${built})
  endif()
endforeach()
foreach(source ${QUILLET_LANGUAGE_SOURCES})
  get_filename_component(name ${source} NAME)
  set(shipped ${QUILLET_LANGUAGE_DIR}/${name})
  add_custom_command(OUTPUT ${shipped}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLET_LANGUAGE_DIR}
    COMMAND sh ${CMAKE_SOURCE_DIR}/scripts/lang-utf16.sh ${source} ${shipped}
    DEPENDS ${source} ${CMAKE_SOURCE_DIR}/scripts/lang-utf16.sh
    COMMENT "Language file ${name}")
  list(APPEND QUILLET_LANGUAGE_FILES ${shipped})
endforeach()
add_custom_target(quillet_languages ALL DEPENDS ${QUILLET_LANGUAGE_FILES})
