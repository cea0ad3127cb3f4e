# Makes the installer and the portable zip of one build (cmake -P, called by the `package`
# target and by the packaging test). Takes -D QUILLET_EXE, QUILLET_ICON, QUILLET_VERSION,
# QUILLET_LANG_DIR (may be missing or empty), QUILLET_OUT_DIR, QUILLET_WIXL, and the sources
# QUILLET_WXS and QUILLET_README.
cmake_minimum_required(VERSION 3.25)

foreach(var QUILLET_EXE QUILLET_ICON QUILLET_VERSION QUILLET_OUT_DIR QUILLET_WIXL QUILLET_WXS QUILLET_README)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "MakePackages: ${var} is not set")
  endif()
endforeach()
if(NOT EXISTS "${QUILLET_WIXL}")
  message(FATAL_ERROR "MakePackages: wixl was not found; scripts/install-deps.sh installs it (Debian package wixl)")
endif()
if(NOT EXISTS "${QUILLET_EXE}")
  message(FATAL_ERROR "MakePackages: ${QUILLET_EXE} does not exist; build quillet first")
endif()

set(base "Orvane-Quillet-${QUILLET_VERSION}")
set(msi "${QUILLET_OUT_DIR}/${base}.msi")
set(zip "${QUILLET_OUT_DIR}/${base}-portable.zip")
set(work "${QUILLET_OUT_DIR}/package-work")
set(portable "${work}/portable")
file(REMOVE_RECURSE "${work}")
file(REMOVE "${msi}" "${zip}")
file(MAKE_DIRECTORY "${portable}/Languages")

set(languages "")
if(QUILLET_LANG_DIR AND IS_DIRECTORY "${QUILLET_LANG_DIR}")
  file(GLOB languages LIST_DIRECTORIES false "${QUILLET_LANG_DIR}/*.ini")
  list(SORT languages)
endif()

# The installer's languages: one component per file, each with a GUID of its own that stays the
# same from build to build, so a later version's upgrade replaces rather than duplicates it.
set(components "")
foreach(file ${languages})
  get_filename_component(name "${file}" NAME)
  string(MAKE_C_IDENTIFIER "lang_${name}" id)
  string(UUID guid NAMESPACE 9567F0AA-9392-401D-BE84-14915E1617C2 NAME "Languages/${name}" TYPE SHA1 UPPER)
  string(APPEND components
    "      <Component Id=\"${id}\" Guid=\"${guid}\">\n"
    "        <File Id=\"${id}\" Name=\"${name}\" Source=\"portable/Languages/${name}\" KeyPath=\"yes\"/>\n"
    "      </Component>\n")
  file(COPY "${file}" DESTINATION "${portable}/Languages")
endforeach()
file(WRITE "${work}/languages.wxs"
  "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
  "<Wix xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">\n"
  "  <Fragment>\n"
  "    <ComponentGroup Id=\"Languages\" Directory=\"LANGUAGESDIR\">\n"
  "${components}"
  "    </ComponentGroup>\n"
  "  </Fragment>\n"
  "</Wix>\n")

# wixl takes file names relative to the source that names them (absolute ones it cannot find), so
# the sources and every file they name sit together in the work folder.
file(COPY "${QUILLET_EXE}" DESTINATION "${portable}")
file(COPY "${QUILLET_ICON}" DESTINATION "${work}")
file(COPY "${QUILLET_WXS}" DESTINATION "${work}")
get_filename_component(icon_name "${QUILLET_ICON}" NAME)
get_filename_component(wxs_name "${QUILLET_WXS}" NAME)
# One product code per version, the same in every build of it: installing a rebuild of the
# installed version again is then a repair, not a second entry in Add/Remove Programs, and an
# administrator can remove a version by its code.
string(UUID product_code NAMESPACE 9567F0AA-9392-401D-BE84-14915E1617C2 NAME "ProductCode/${QUILLET_VERSION}"
       TYPE SHA1 UPPER)
execute_process(
  COMMAND "${QUILLET_WIXL}" --arch x86 -D "ProductCode=${product_code}"
          -D "Version=${QUILLET_VERSION}" -D "ExeFile=portable/quillet.exe" -D "IconFile=${icon_name}"
          -o "${msi}" "${wxs_name}" languages.wxs
  WORKING_DIRECTORY "${work}"
  RESULT_VARIABLE wixl_result)
if(NOT wixl_result EQUAL 0 OR NOT EXISTS "${msi}")
  message(FATAL_ERROR "MakePackages: wixl failed (${wixl_result})")
endif()

# The portable folder: the program, its languages and a README that Notepad shows as lines.
file(READ "${QUILLET_README}" readme)
string(REPLACE "@QUILLET_VERSION@" "${QUILLET_VERSION}" readme "${readme}")
string(REPLACE "\r\n" "\n" readme "${readme}")
string(REPLACE "\n" "\r\n" readme "${readme}")
file(WRITE "${portable}/README.txt" "${readme}")
file(GLOB_RECURSE staged RELATIVE "${portable}" LIST_DIRECTORIES false "${portable}/*")
list(SORT staged)
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E tar cf "${zip}" --format=zip quillet.exe README.txt Languages
  WORKING_DIRECTORY "${portable}"
  RESULT_VARIABLE zip_result)
if(NOT zip_result EQUAL 0)
  message(FATAL_ERROR "MakePackages: the zip could not be made (${zip_result})")
endif()

# What each package holds, with the sizes; the installer puts its files under
# Program Files\Orvane Quillet\, and holds everything of the zip but README.txt.
foreach(package "${msi}" "${zip}")
  file(SIZE "${package}" size)
  message(STATUS "${package} (${size} bytes)")
  foreach(entry ${staged})
    if(package STREQUAL msi AND entry STREQUAL "README.txt")
      continue()
    endif()
    file(SIZE "${portable}/${entry}" size)
    message(STATUS "  ${entry} (${size} bytes)")
  endforeach()
endforeach()
