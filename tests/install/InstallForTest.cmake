# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DBUILD_DIR=<build> -DPREFIX=<prefix> -P InstallForTest.cmake
# Installs the build into a fresh prefix and makes the program folder read-only for everybody,
# as a package leaves it. The install manifest is kept as <prefix>.manifest.
if(EXISTS "${PREFIX}")
  execute_process(COMMAND chmod -R u+w "${PREFIX}")
  file(REMOVE_RECURSE "${PREFIX}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install into ${PREFIX} failed")
endif()
# What the install listed, kept beside the prefix: the package test's install writes the build's
# manifest again.
file(COPY_FILE "${BUILD_DIR}/install_manifest.txt" "${PREFIX}.manifest")
execute_process(COMMAND chmod -R a-w "${PREFIX}/lib/pictalon" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot make ${PREFIX}/lib/pictalon read-only")
endif()
