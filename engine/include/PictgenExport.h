// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one entry of libPictgen.so: generates the pages of the gallery file at settingsPath.
// True when pages were generated; false when the settings were unreadable, the image list was
// empty, or the run failed. The engine has shown its own message in each case (see
// PictalonReportEngineFailure for how a host takes over failure messages).
#if defined(PICTGEN_BUILDING)
#define PICTGEN_API __attribute__((visibility("default")))
#else
#define PICTGEN_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

PICTGEN_API bool RunPictalonGenerator(const char* settingsPath);

// Not exported by the engine: a host program may define and export this function. When it does,
// a run that fails hands its message to the host (which shows it its own way) instead of
// showing it itself, and RunPictalonGenerator returns false. The message is source with each
// %1 to %9 replaced by the matching one of the argumentCount arguments; a host translates source
// in context first (as QCoreApplication::translate does) when context is not null. A null
// context: source is the whole text, to be shown as it stands.
typedef void (*PictalonReportEngineFailureFn)(const char* context, const char* source,
                                              const char* const* arguments, int argumentCount);
#define PICTALON_REPORT_ENGINE_FAILURE "PictalonReportEngineFailure"

#ifdef __cplusplus
}
#endif
