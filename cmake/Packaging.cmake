# `--target package` makes the installer (wixl) and the portable zip, both named with the
# version, in the build folder. They ship the language files as the build made them (UTF-16LE, in
# the Languages folder beside quillet.exe; see LanguageFiles.cmake).
set(QUILLET_LANG_DIR ${QUILLET_LANGUAGE_DIR})

find_program(QUILLET_WIXL wixl)
set(QUILLET_PACKAGE_ARGS
  -D QUILLET_EXE=$<TARGET_FILE:quillet>
  -D QUILLET_ICON=${CMAKE_SOURCE_DIR}/res/quillet.ico
  -D QUILLET_VERSION=${PROJECT_VERSION}
  -D QUILLET_WIXL=${QUILLET_WIXL}
  -D QUILLET_WXS=${CMAKE_SOURCE_DIR}/packaging/quillet.wxs
  -D QUILLET_README=${CMAKE_SOURCE_DIR}/packaging/README.txt)
add_custom_target(package
  COMMAND ${CMAKE_COMMAND} ${QUILLET_PACKAGE_ARGS} -D QUILLET_LANG_DIR=${QUILLET_LANG_DIR}
          -D QUILLET_OUT_DIR=${CMAKE_BINARY_DIR} -P ${CMAKE_SOURCE_DIR}/cmake/MakePackages.cmake
  COMMENT "Making Orvane-Quillet-${PROJECT_VERSION}.msi and Orvane-Quillet-${PROJECT_VERSION}-portable.zip"
  VERBATIM)
add_dependencies(package quillet quillet_languages)

# The packages are made by a test of their own, which the installer test needs.
add_test(NAME windows.package COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target package)
set_tests_properties(windows.package PROPERTIES FIXTURES_SETUP package TIMEOUT 300)
add_test(NAME windows.package.contents COMMAND ${CMAKE_SOURCE_DIR}/tests/package/check-packages.sh
  ${CMAKE_COMMAND} ${QUILLET_PACKAGE_ARGS})
set_tests_properties(windows.package.contents PROPERTIES TIMEOUT 300)
# Silent install, start, scan and silent uninstall in a prefix made fresh for it.
add_test(NAME windows.install COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/fresh-prefix.sh
  $<TARGET_FILE:quillet_windows_tests> --gtest_filter=Installer*)
set_tests_properties(windows.install PROPERTIES
  FIXTURES_REQUIRED "wine;package" RESOURCE_LOCK wineprefix TIMEOUT 600
  ENVIRONMENT "QUILLET_BUILD_DIR=${CMAKE_BINARY_DIR};QUILLET_FRESH_PREFIX_NAME=install-prefix;QUILLET_PACKAGE_MSI=${CMAKE_BINARY_DIR}/Orvane-Quillet-${PROJECT_VERSION}.msi")
