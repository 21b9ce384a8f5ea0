# The program folder as users get it, and the packages that carry it.
#
# Windows: one folder holds both executables, NIVELCAN.DBF, the help, Qt's DLLs and
# plugins, Qt's Spanish texts, libxml2 and the MinGW runtime. The same files are
# copied into <build>/bin at configure time, so that the tests run under Wine from
# there. Packaged by NSIS as a 64-bit per-user installer.
# Linux: the program folder is lib/varnolo, with links in bin, a .desktop file and an
# icon; Qt and libxml2 come from the system. Packaged as a .deb.

# Qt's Spanish texts (standard buttons and dialogs) from Debian's qt6-translations-l10n,
# of the same Qt version as the Windows build.
set(VARNOLO_QT_TRADUCCIONES /usr/share/qt6/translations CACHE PATH "Qt's translations (.qm)")
set(VARNOLO_QT_ES ${VARNOLO_QT_TRADUCCIONES}/qtbase_es.qm)

if(WIN32)
  set(VARNOLO_DESTINO .)
  set(_qt ${VARNOLO_MINGW_CACHE}/qt6)
  set(_qt_dll ${_qt}/bin/Qt6Core.dll ${_qt}/bin/Qt6Gui.dll ${_qt}/bin/Qt6Widgets.dll)
  set(_qt_plataformas ${_qt}/plugins/platforms/qwindows.dll)
  set(_qt_estilos ${_qt}/plugins/styles/qwindowsvistastyle.dll)
  set(_runtime ${VARNOLO_MINGW_CACHE}/libxml2/bin/libxml2.dll)
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE _ruta OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(_ruta ${_ruta} REALPATH)
    list(APPEND _runtime ${_ruta})
  endforeach()

  # The build's bin folder is a program folder too; the tests also need QtTest and
  # the offscreen platform.
  set(_bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  file(COPY ${_qt_dll} ${_qt}/bin/Qt6Test.dll ${_runtime} DESTINATION ${_bin})
  file(COPY ${_qt_plataformas} ${_qt}/plugins/platforms/qoffscreen.dll DESTINATION ${_bin}/platforms)
  file(COPY ${_qt_estilos} DESTINATION ${_bin}/styles)
  if(EXISTS ${VARNOLO_QT_ES})
    file(COPY ${VARNOLO_QT_ES} DESTINATION ${_bin}/translations)
  endif()

  install(FILES ${_qt_dll} ${_runtime} DESTINATION .)
  install(FILES ${_qt_plataformas} DESTINATION platforms)
  install(FILES ${_qt_estilos} DESTINATION styles)
  # CPack strips only the programs it builds; the DLLs come with their symbols
  # (libstdc++ alone is 23 MB of them). Each installed DLL and program is stripped
  # where it was installed.
  set(_instalados)
  foreach(_f ${_qt_dll} ${_runtime})
    get_filename_component(_n ${_f} NAME)
    list(APPEND _instalados ${_n})
  endforeach()
  foreach(_f ${_qt_plataformas})
    get_filename_component(_n ${_f} NAME)
    list(APPEND _instalados platforms/${_n})
  endforeach()
  foreach(_f ${_qt_estilos})
    get_filename_component(_n ${_f} NAME)
    list(APPEND _instalados styles/${_n})
  endforeach()
  # The licences of the libraries shipped beside the programs, taken from where this
  # build got them (Debian's licence files, the libxml2 sources of the cache).
  set(_licencias ${CMAKE_SOURCE_DIR}/packaging/windows/licencias/LEEME.txt)
  foreach(_par "/usr/share/common-licenses/LGPL-3|LGPL-3.txt"
               "/usr/share/common-licenses/GPL-3|GPL-3.txt"
               "${VARNOLO_MINGW_CACHE}/src/libxml2/Copyright|libxml2.txt"
               "/usr/share/doc/gcc-12-base/copyright|gcc.txt"
               "/usr/share/doc/mingw-w64-common/copyright|mingw-w64.txt")
    string(REPLACE "|" ";" _par "${_par}")
    list(GET _par 0 _origen)
    list(GET _par 1 _nombre)
    if(NOT EXISTS ${_origen})
      message(FATAL_ERROR "Falta la licencia ${_origen}, que acompaña al instalador")
    endif()
    configure_file(${_origen} ${CMAKE_BINARY_DIR}/licencias/${_nombre} COPYONLY)
    list(APPEND _licencias ${CMAKE_BINARY_DIR}/licencias/${_nombre})
  endforeach()
  install(FILES ${_licencias} DESTINATION licencias)
  install(CODE "
    foreach(f ${_instalados})
      execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${f}\"
                      RESULT_VARIABLE r)
      if(NOT r EQUAL 0)
        message(FATAL_ERROR \"No se ha podido quitar los símbolos de \${f}\")
      endif()
    endforeach()")
else()
  include(GNUInstallDirs)
  set(VARNOLO_DESTINO ${CMAKE_INSTALL_LIBDIR}/varnolo)
  # The links in bin: the programs find their folder through the link.
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/enlaces)
  foreach(programa varnolo varnolo-cli)
    file(CREATE_LINK ../${VARNOLO_DESTINO}/${programa} ${CMAKE_BINARY_DIR}/enlaces/${programa}
         SYMBOLIC)
    install(FILES ${CMAKE_BINARY_DIR}/enlaces/${programa} DESTINATION ${CMAKE_INSTALL_BINDIR})
  endforeach()
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/linux/varnolo.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/varnolo.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # Manual pages, the changelog and the copyright file, as Debian lays them out: the
  # first two compressed with gzip -9n (no name, no date: the same bytes every build).
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/documentos)
  foreach(_doc varnolo.1 varnolo-cli.1 changelog)
    set(_gz ${CMAKE_BINARY_DIR}/documentos/${_doc}.gz)
    add_custom_command(OUTPUT ${_gz}
      COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/linux/${_doc} > ${_gz}
      DEPENDS ${CMAKE_SOURCE_DIR}/packaging/linux/${_doc}
      VERBATIM)
    list(APPEND _comprimidos ${_gz})
  endforeach()
  add_custom_target(documentos_paquete ALL DEPENDS ${_comprimidos})
  install(FILES ${CMAKE_BINARY_DIR}/documentos/varnolo.1.gz
                ${CMAKE_BINARY_DIR}/documentos/varnolo-cli.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${CMAKE_BINARY_DIR}/documentos/changelog.gz
                ${CMAKE_SOURCE_DIR}/packaging/linux/copyright
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/varnolo)
endif()

install(TARGETS varnolo varnolo-cli RUNTIME DESTINATION ${VARNOLO_DESTINO})
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/NIVELCAN.DBF DESTINATION ${VARNOLO_DESTINO})
# The help, when this build made it.
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/VELNA.chm DESTINATION ${VARNOLO_DESTINO} OPTIONAL)
install(DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/ayuda DESTINATION ${VARNOLO_DESTINO} OPTIONAL)
if(WIN32 AND EXISTS ${VARNOLO_QT_ES})
  install(FILES ${VARNOLO_QT_ES} DESTINATION translations)
endif()

# Packages.
set(CPACK_PACKAGE_NAME Varnolo)
set(CPACK_PACKAGE_VENDOR Varnolo)
set(CPACK_PACKAGE_CONTACT "Equipo Varnolo <equipo@varnolo.es>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Conversor de datos entre Velna y Taviron")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Varnolo)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
if(WIN32)
  set(CPACK_GENERATOR NSIS)
  set(CPACK_PACKAGE_FILE_NAME Varnolo-${PROJECT_VERSION}-win64)
  # Our own script (packaging/windows/NSIS.template.in): 64-bit, per user, a folder
  # the user can write to (batch mode writes Taviron.ini beside the program).
  list(PREPEND CMAKE_MODULE_PATH ${CMAKE_SOURCE_DIR}/packaging/windows)
  set(CPACK_NSIS_DISPLAY_NAME Varnolo)
  set(CPACK_NSIS_PACKAGE_NAME Varnolo)
  set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_PACKAGE_NAME varnolo)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION misc)
  # Qt's and libxml2's libraries come from the binaries; the platform plugins and
  # Qt's Spanish texts are separate packages in Debian.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Exporta el documento de intercambio de Velna a las tablas de trabajo de\nTaviron e importa la solución de Taviron como documento de resultado.")
endif()
include(CPack)
