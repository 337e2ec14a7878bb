// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The library's one export. No C++ exception ever crosses it: a failure that ends the run is
// handed to the host when it offers a failure reporter, and shown by the engine otherwise.
#include <dlfcn.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "EngineUi.h"
#include "Error.h"
#include "GenerationRun.h"
#include "PictgenExport.h"

namespace {

using pictalon::TEngineUi;
using pictalon::TMessage;

void ReportFailure(const TMessage& message, TEngineUi* ui) noexcept {
  try {
    auto report = reinterpret_cast<PictalonReportEngineFailureFn>(
        ::dlsym(RTLD_DEFAULT, PICTALON_REPORT_ENGINE_FAILURE));
    if (report) {
      std::vector<const char*> arguments;
      for (const std::string& argument : message.Arguments()) arguments.push_back(argument.c_str());
      return report(message.Context(), message.Source().c_str(), arguments.data(), int(arguments.size()));
    }
    if (ui) return ui->ShowError(message);
    std::fprintf(stderr, "%s\n", message.Text().c_str());
  } catch (...) {
    std::fprintf(stderr, "%s\n", message.Source().c_str());
  }
}

// The folder of this library, with a trailing '/'.
std::string LibraryFolder() {
  Dl_info info{};
  if (!::dladdr(reinterpret_cast<void*>(&RunPictalonGenerator), &info) || !info.dli_fname) return {};
  std::string path = info.dli_fname;
  return path.substr(0, path.rfind('/') + 1);
}

// Windows only when the host already runs Qt: then the windows module beside the library is
// loaded (it stays loaded, as Qt may keep pointers into it); any other host gets lines on
// standard error, and Qt is never loaded into it.
std::unique_ptr<TEngineUi> MakeEngineUi() {
  if (void* qt = ::dlopen("libQt6Widgets.so.6", RTLD_LAZY | RTLD_NOLOAD)) {
    ::dlclose(qt);
    std::string module = LibraryFolder() + pictalon::kEngineUiModuleName;
    if (void* ui = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {
      auto make = reinterpret_cast<pictalon::TMakeGuiUiFn>(::dlsym(ui, PICTGEN_MAKE_GUI_UI));
      std::unique_ptr<TEngineUi> gui(make ? make() : nullptr);
      ::dlclose(ui);
      if (gui) return gui;
    }
  }
  return pictalon::MakeConsoleEngineUi();
}

}  // namespace

extern "C" PICTGEN_API bool RunPictalonGenerator(const char* settingsPath) {
  std::unique_ptr<TEngineUi> ui;
  try {
    ui = MakeEngineUi();
    return pictalon::RunGeneration(settingsPath ? settingsPath : "", *ui);
  } catch (const std::exception& e) {
    ReportFailure(pictalon::MessageOf(e), ui.get());
  } catch (...) {
    ReportFailure(TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Unknown failure in the page generator")), ui.get());
  }
  return false;
}
