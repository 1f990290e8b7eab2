# SPDX-License-Identifier: GPL-3.0-or-later
# What yomorisu.exe loads besides itself on Windows: the Qt and compiler
# DLLs, and the plugins in their folders beside it. They are copied next to
# it in the build, so the build runs as the setup installs it, and installed
# with it. Tests find the same DLLs through WINEPATH instead.
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(YOMORISU_QT_BIN ${qt_core_dll} DIRECTORY)
get_filename_component(YOMORISU_QT_PREFIX ${YOMORISU_QT_BIN} DIRECTORY)
set(YOMORISU_QT_PLUGINS ${YOMORISU_QT_PREFIX}/plugins)

# Exactly what it loads under Wine (WINEDEBUG=+loaddll), which
# scripts/e2e.sh --windows checks against the installed folder. Qt
# Concurrent's runs are templates in the program: its DLL is not loaded.
set(runtime_dlls Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6PrintSupport.dll Qt6Sql.dll
  libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
# The window system and the native look. No image format plugins: the icon
# and pictures are PNG and XPM, which Qt Gui reads itself, and without the
# JPEG writer the PDF writer keeps pictures lossless.
# The record file's SQLite driver, SQLite inside it.
set(runtime_plugins platforms/qwindows.dll styles/qwindowsvistastyle.dll sqldrivers/qsqlite.dll)

set(deployed)
foreach(dll IN LISTS runtime_dlls)
  list(APPEND deployed ${YOMORISU_QT_BIN}/${dll})
endforeach()
add_custom_command(TARGET yomorisu POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${deployed} $<TARGET_FILE_DIR:yomorisu>
  VERBATIM)
install(FILES ${deployed} DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(plugin IN LISTS runtime_plugins)
  get_filename_component(folder ${plugin} DIRECTORY)
  add_custom_command(TARGET yomorisu POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:yomorisu>/${folder}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${YOMORISU_QT_PLUGINS}/${plugin} $<TARGET_FILE_DIR:yomorisu>/${folder}
    VERBATIM)
  install(FILES ${YOMORISU_QT_PLUGINS}/${plugin} DESTINATION ${CMAKE_INSTALL_BINDIR}/${folder})
endforeach()

# Qt's licences go wherever its DLLs go.
install(DIRECTORY ${YOMORISU_QT_PREFIX}/LICENSES/ DESTINATION licenses/Qt)

# The Wine prefix the tests run in: the build's own.
set(YOMORISU_WINEPREFIX ${CMAKE_BINARY_DIR}/wine CACHE PATH "The Wine prefix the Windows tests run in")
