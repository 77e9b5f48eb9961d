# Installation (programs, desktop entry, icons, AppStream metainfo, manual pages, copyright
# and changelog) and the Debian package that `make package` builds with CPack.
include(GNUInstallDirs)

set(QUARRIX_APP_ID io.github.quarrix.Quarrix)
# The package's maintainer, also the signature of each version in its changelog.
set(quarrix_contact "Quarrix developers <quarrix@users.noreply.github.com>")
set(linux_resources ${PROJECT_SOURCE_DIR}/resources/linux)

install(TARGETS quarrix-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(QUARRIX_GUI)
  install(TARGETS Quarrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(UNIX AND NOT APPLE)
    # The PNG icons are drawn by the program's own icon code at build time.
    set(icon_dir ${PROJECT_BINARY_DIR}/icons)
    add_custom_command(
      OUTPUT ${icon_dir}/48x48/apps/${QUARRIX_APP_ID}.png
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
              $<TARGET_FILE:quarrix_make_icons> ${icon_dir}
      DEPENDS quarrix_make_icons
      COMMENT "Drawing the program icons")
    add_custom_target(quarrix_icons ALL DEPENDS ${icon_dir}/48x48/apps/${QUARRIX_APP_ID}.png)

    install(FILES ${linux_resources}/${QUARRIX_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${linux_resources}/${QUARRIX_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    # The file types of packages and compressed packages, which the desktop entry opens.
    install(FILES ${linux_resources}/${QUARRIX_APP_ID}.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
    install(FILES ${linux_resources}/quarrix.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            RENAME ${QUARRIX_APP_ID}.svg)
    install(DIRECTORY ${icon_dir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  endif()
endif()

if(UNIX AND NOT APPLE)
  # quarrix-cli's shell completion, where bash-completion and Debian's zsh look for it.
  set(completion_dir ${PROJECT_SOURCE_DIR}/resources/completion)
  install(FILES ${completion_dir}/quarrix-cli.bash RENAME quarrix-cli
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
  install(FILES ${completion_dir}/_quarrix-cli
          DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)

  # The manual pages and the changelog in the compressed form Debian installs them in; the
  # changelog is made from CHANGELOG.md, which must have a section for this version.
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(doc_dir ${PROJECT_BINARY_DIR}/doc)
  set(man_pages ${PROJECT_SOURCE_DIR}/docs/man/quarrix-cli.1)
  if(QUARRIX_GUI)
    list(APPEND man_pages ${PROJECT_SOURCE_DIR}/docs/man/Quarrix.1)
  endif()
  set(doc_files ${doc_dir}/changelog.gz)
  foreach(page IN LISTS man_pages)
    get_filename_component(page_name ${page} NAME)
    list(APPEND doc_files ${doc_dir}/${page_name}.gz)
  endforeach()
  add_custom_command(
    OUTPUT ${doc_files}
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/make-debian-docs
            --version ${PROJECT_VERSION} --maintainer ${quarrix_contact}
            --changelog ${PROJECT_SOURCE_DIR}/CHANGELOG.md
            --metainfo ${linux_resources}/${QUARRIX_APP_ID}.metainfo.xml
            --out ${doc_dir} ${man_pages}
    DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make-debian-docs ${PROJECT_SOURCE_DIR}/CHANGELOG.md
            ${linux_resources}/${QUARRIX_APP_ID}.metainfo.xml ${man_pages}
    COMMENT "Compressing the manual pages and making the Debian changelog"
    VERBATIM)
  add_custom_target(quarrix_doc_files ALL DEPENDS ${doc_files})
  list(REMOVE_ITEM doc_files ${doc_dir}/changelog.gz)
  install(FILES ${doc_files} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${doc_dir}/changelog.gz ${PROJECT_SOURCE_DIR}/resources/debian/copyright
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quarrix)
endif()

if(QUARRIX_TESTS AND UNIX AND NOT APPLE)
  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
  find_program(APPSTREAMCLI appstreamcli)
  if(DESKTOP_FILE_VALIDATE)
    add_test(NAME desktop_entry_is_valid
             COMMAND ${DESKTOP_FILE_VALIDATE} ${linux_resources}/${QUARRIX_APP_ID}.desktop)
    set_tests_properties(desktop_entry_is_valid PROPERTIES TIMEOUT 30)
  endif()
  if(APPSTREAMCLI)
    add_test(NAME metainfo_is_valid
             COMMAND ${APPSTREAMCLI} validate --no-net
                     ${linux_resources}/${QUARRIX_APP_ID}.metainfo.xml)
    set_tests_properties(metainfo_is_valid PROPERTIES TIMEOUT 30)
  endif()
endif()

set(CPACK_PACKAGE_NAME quarrix)
set(CPACK_PACKAGE_VENDOR "Quarrix developers")
set(CPACK_PACKAGE_CONTACT ${quarrix_contact})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Builds UT2004 trigger lists from sound packages")
# One line of the package's long description a line here: Debian wants at most 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Quarrix, the Quoom Trigger Extractor, reads UT2004 sound packages (.uax) and"
       "builds trigger lists for UT2004 game servers. The package holds the window"
       "program and the command-line tool quarrix-cli.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quarrix)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The shared libraries the programs link decide the dependencies (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
set(CPACK_STRIP_FILES ON)
include(CPack)
