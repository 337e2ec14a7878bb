# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack after it has made the Debian package. CPack's DEB generator gives a package
# maintainer scripts that run ldconfig whenever a shared library lies below /usr/lib, though
# Pictalon's libraries are private to its program folder, which ldconfig never reads; the package
# is made again without those scripts (it needs no others).
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  if(NOT deb MATCHES "\\.deb$")
    continue()
  endif()
  set(tree "${deb}.tree")
  file(REMOVE_RECURSE "${tree}")
  # The files' modes come from the package, not from the umask of whoever builds it.
  execute_process(COMMAND sh -c "umask 022 && dpkg-deb -R \"$1\" \"$2\"" sh "${deb}" "${tree}"
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-deb could not unpack ${deb}")
  endif()
  file(REMOVE "${tree}/DEBIAN/postinst" "${tree}/DEBIAN/postrm")
  execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip -z9 --build "${tree}" "${deb}"
                  OUTPUT_QUIET RESULT_VARIABLE result)
  file(REMOVE_RECURSE "${tree}")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-deb could not make ${deb} again")
  endif()
endforeach()
