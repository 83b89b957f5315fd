# Installation and packages: `cmake --install build --prefix DIR --strip`, or
# `cpack` in the build tree. Each platform gets the files its users expect:
#   Linux:   bin/geochain, share/man/man1/geochain.1 and, in
#            share/doc/geochain, LICENSE and both guides (.tar.gz);
#   Debian:  the same in /usr, with the manual page and the changelog
#            compressed and the copyright file Debian policy asks for (.deb);
#   Windows: geochain.exe beside LICENSE.txt, README.txt, README.cs.txt and
#            the manual page as geochain.txt, all text with CR LF, so that a
#            double-click opens them (.zip).

set(GEOCHAIN_PACKAGE_CONTACT "geochain developers <geochain@example.org>" CACHE STRING
    "Maintainer named in the packages: distributors set their own address")

# Whatever the umask of the machine that builds the release.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})

set(guides README.md README.cs.md)
if(WIN32)
  # A text file's bytes as Notepad wants them, under a name it opens; the
  # guides name the files beside them by the names they have here.
  function(install_as_windows_text source name)
    file(READ ${source} text)
    string(REPLACE "README.cs.md" "README.cs.txt" text "${text}")
    string(REPLACE "README.md" "README.txt" text "${text}")
    string(REPLACE "`LICENSE`" "`LICENSE.txt`" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${CMAKE_BINARY_DIR}/${name} "${text}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    install(FILES ${CMAKE_BINARY_DIR}/${name} DESTINATION .)
  endfunction()
  install(TARGETS geochain RUNTIME DESTINATION .)
  install_as_windows_text(LICENSE LICENSE.txt)
  install_as_windows_text(README.md README.txt)
  install_as_windows_text(README.cs.md README.cs.txt)
  # The manual page for consoles without man: plain text at 80 columns, no
  # overstrikes, no hyphenation, no page breaks. ASCII but for the report's
  # e acute, the byte 0xE9 as the program writes it (Latin-1's, and
  # Windows-1250's): the page's example report is the program's, byte for
  # byte, and shows as the program's does. The degree sign becomes the
  # report's own "o".
  find_program(GROFF groff REQUIRED)
  find_program(TR tr REQUIRED)
  execute_process(COMMAND ${GROFF} -man -Tlatin1 -P-cbou -rHY=0 -rcR=1 -rLL=78n
                          ${CMAKE_SOURCE_DIR}/doc/geochain.1
                  COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${TR} "\\260" "o"
                  OUTPUT_FILE ${CMAKE_BINARY_DIR}/geochain.1.txt COMMAND_ERROR_IS_FATAL ANY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS doc/geochain.1)
  install_as_windows_text(${CMAKE_BINARY_DIR}/geochain.1.txt geochain.txt)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
elseif(GEOCHAIN_DEBIAN)
  # gzip -9n: best compression, and no name or time stamp in the header.
  foreach(doc geochain.1 changelog)
    add_custom_command(OUTPUT ${doc}.gz
      COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/doc/${doc} ${doc}
      COMMAND gzip -9nf ${doc}
      DEPENDS doc/${doc} VERBATIM)
  endforeach()
  add_custom_target(debian_docs ALL DEPENDS geochain.1.gz changelog.gz)
  install(TARGETS geochain RUNTIME DESTINATION bin)
  install(FILES ${CMAKE_BINARY_DIR}/geochain.1.gz DESTINATION share/man/man1)
  install(FILES LICENSE ${guides} doc/copyright ${CMAKE_BINARY_DIR}/changelog.gz
          DESTINATION share/doc/geochain)
  set(CPACK_GENERATOR DEB)
else()
  install(TARGETS geochain RUNTIME DESTINATION bin)
  install(FILES doc/geochain.1 DESTINATION share/man/man1)
  install(FILES LICENSE ${guides} DESTINATION share/doc/geochain)
  set(CPACK_GENERATOR TGZ)
  set(CPACK_SYSTEM_NAME Linux-${CMAKE_SYSTEM_PROCESSOR})
endif()

set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${GEOCHAIN_SUMMARY}")
set(CPACK_PACKAGE_DESCRIPTION
    "geochain is a console tool for Czech geodetic computation. The operator types
the plane grid coordinates X and Y of a point in S-JTSK, the national grid of
the Krovak oblique conformal conic projection, and its ellipsoidal height h.
geochain carries the point back through every stage of the projection and
shows each one in a fixed Czech report: polar coordinates in the projection
plane, cartographic and spherical coordinates on the reference sphere,
geodetic latitude and longitude on the Bessel 1841 ellipsoid, and geocentric
Cartesian coordinates. Every point is also appended to the log file fi.txt.")
set(CPACK_PACKAGE_VENDOR "the geochain developers")
set(CPACK_PACKAGE_CONTACT "${GEOCHAIN_PACKAGE_CONTACT}")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
if(CMAKE_CROSSCOMPILING)
  # dpkg-shlibdeps reads the package database of the building machine, which
  # holds no libraries of the target's. Written by hand from what geochain
  # links (libstdc++.so.6, libm.so.6, libgcc_s.so.1, libc.so.6) and the
  # newest symbol versions it uses (GLIBCXX_3.4.30, GCC 12's
  # condition_variable::wait, on which the helper thread sleeps; GCC_3.3.1,
  # as link-time optimisation gives cleanups GCC's own personality routine,
  # __gcc_personality_v0; GLIBC_2.34): what dpkg-shlibdeps computes for the
  # same program on amd64. CI checks that the two builds link the same.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.34), libgcc-s1 (>= 3.3.1), libstdc++6 (>= 12)")
else()
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
# Debian's name for the machine the package is for, which in a cross build
# is not the machine that builds it.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
else()
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
endif()
include(CPack)
