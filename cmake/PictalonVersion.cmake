# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# pictalon_add_version_section(<target>)
# Gives an executable the version section that TVersionInfo reads back from its own file:
# the FileVersion text is the project version (four dotted numbers).
set(_pictalon_version_template "${CMAKE_CURRENT_LIST_DIR}/version_section.c.in")
function(pictalon_add_version_section target)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_version_section.c")
  set(PICTALON_FILE_VERSION "${PROJECT_VERSION}")
  configure_file("${_pictalon_version_template}" "${out}" @ONLY)
  target_sources(${target} PRIVATE "${out}")
endfunction()
