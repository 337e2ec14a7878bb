// The library's one export. No C++ exception ever crosses it: a failure that ends the run is
// handed to the host when it offers a failure reporter, and shown by the engine otherwise.
#include <dlfcn.h>

#include <cstdio>
#include <exception>

#include "EngineUi.h"
#include "GenerationRun.h"
#include "PictgenExport.h"

namespace {

void ReportFailure(const char* message, pictalon::TEngineUi* ui) noexcept {
  try {
    auto report = reinterpret_cast<PictalonReportEngineFailureFn>(
        ::dlsym(RTLD_DEFAULT, PICTALON_REPORT_ENGINE_FAILURE));
    if (report) return report(message);
    if (ui) return ui->ShowError(message);
  } catch (...) {
  }
  std::fprintf(stderr, "%s\n", message);
}

}  // namespace

extern "C" PICTGEN_API bool RunPictalonGenerator(const char* settingsPath) {
  std::unique_ptr<pictalon::TEngineUi> ui;
  try {
    ui = pictalon::MakeEngineUi();
    return pictalon::RunGeneration(settingsPath ? settingsPath : "", *ui);
  } catch (const std::exception& e) {
    ReportFailure(e.what(), ui.get());
  } catch (...) {
    ReportFailure("Unknown failure in the page generator", ui.get());
  }
  return false;
}
