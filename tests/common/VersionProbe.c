/* SPDX-FileCopyrightText: 2026 Pictalon developers */
/* SPDX-License-Identifier: GPL-3.0-or-later */
/* Helper executables for the version reader's tests. Built plain it has no version section;
   with PROBE_WITHOUT_FILE_VERSION its section names a string table that lacks FileVersion. */
#ifdef PROBE_WITHOUT_FILE_VERSION
__attribute__((used, section(".pictalon_version")))
static const char probe_version_info[] =
    "\\VarFileInfo\\Translation=080904E4\0"
    "\\=1.2.3.4\0"
    "\\StringFileInfo\\080904e4\\ProductName=Probe\0";
#endif

int main(void) { return 0; }
