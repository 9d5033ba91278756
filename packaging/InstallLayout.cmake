# Where the installed programs live. Programs that read the trust store find it beside their
# resolved path, so they live in one private folder together with `Resources/`, and bin/ holds
# symbolic links to them. The store itself is configuration the administrator edits: it lives
# under the system configuration folder, and `Resources/CACertificatesStore.pem` links to it.
include(GNUInstallDirs)

set(KX_INSTALL_PROGRAMDIR "lib/ordova" CACHE STRING
    "Private folder, relative to the prefix, of the programs that read the trust store")
# Libraries private to the programs, one level down so that the system's linker cache (and a
# package's ldconfig call) never needs to know them.
set(KX_INSTALL_FRAMEWORKDIR "${KX_INSTALL_PROGRAMDIR}/framework")
find_program(KX_GZIP_PROGRAM gzip REQUIRED)

# The trust store as the build writes it: no certificates; the roots a publisher accepts for
# plug-in signing are its own choice, and TLS server roots do not vouch for code.
set(KX_EMPTY_TRUST_STORE ${CMAKE_CURRENT_LIST_DIR}/CACertificatesStore.pem)

# kx_install_symlink(TARGET_PATH LINK): LINK relative to the install prefix, at install time so that
# `cmake --install --prefix` and DESTDIR are honoured.
function(kx_install_symlink link_target link)
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${link}\")
    get_filename_component(dir \"\${link}\" DIRECTORY)
    file(MAKE_DIRECTORY \"\${dir}\")
    message(STATUS \"Installing: \${link} -> ${link_target}\")
    file(CREATE_LINK \"${link_target}\" \"\${link}\" SYMBOLIC)")
endfunction()

# kx_man_page(SOURCE): installs a section-1 page, compressed as Debian wants it (gzip -9n).
function(kx_man_page source)
  get_filename_component(name ${source} NAME)
  set(copy ${PROJECT_BINARY_DIR}/man/${name})
  add_custom_command(OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
    COMMAND ${KX_GZIP_PROGRAM} -9nf ${copy}
    DEPENDS ${source}
    VERBATIM)
  add_custom_target(man_${name} ALL DEPENDS ${copy}.gz)
  install(FILES ${copy}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

# kx_install_store_program(TARGET MANPAGE page.1): a program that reads the trust store. In the build
# tree it gets an empty store beside itself; installed, it goes into the private folder with a link
# in bin/ and its manual page.
function(kx_install_store_program target)
  cmake_parse_arguments(P "" "MANPAGE" "" ${ARGN})
  file(GENERATE OUTPUT $<TARGET_FILE_DIR:${target}>/Resources/CACertificatesStore.pem
       INPUT ${KX_EMPTY_TRUST_STORE})
  install(TARGETS ${target} RUNTIME DESTINATION ${KX_INSTALL_PROGRAMDIR})
  file(RELATIVE_PATH to_program ${CMAKE_INSTALL_FULL_BINDIR}
       ${CMAKE_INSTALL_PREFIX}/${KX_INSTALL_PROGRAMDIR}/${target})
  kx_install_symlink(${to_program} ${CMAKE_INSTALL_BINDIR}/${target})
  kx_man_page(${P_MANPAGE})
endfunction()
