// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictGenerator_IF.h"

#include <dlfcn.h>

#include "Error.h"
#include "Platform.h"

namespace pictalon {

TEngineBinding::~TEngineBinding() {
  if (handle_) ::dlclose(handle_);
}

namespace {

// The engine is really unloaded after every run (its windows module, loaded only into a host
// that runs Qt, stays), so the bare-name search below never finds a copy kept from an earlier run.
constexpr int kLoadFlags = RTLD_NOW | RTLD_LOCAL;

}  // namespace

bool TEngineBinding::LoadEngine() {
  handle_ = ::dlopen((GetProgramFolder() + kEngineLibraryName).c_str(), kLoadFlags);
  if (!handle_) handle_ = ::dlopen(kEngineLibraryName, kLoadFlags);
  if (!handle_) return false;
  entry_ = reinterpret_cast<decltype(entry_)>(::dlsym(handle_, "RunPictalonGenerator"));
  if (!entry_) {
    // A library without the export is of no use: release it at once.
    ::dlclose(handle_);
    handle_ = nullptr;
    return false;
  }
  return true;
}

void TEngineBinding::FreeEngine() {
  if (!handle_) return;
  void* handle = handle_;
  handle_ = nullptr;
  entry_ = nullptr;
  if (::dlclose(handle) != 0)
    throw Error(TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Cannot release %1"), kEngineLibraryName));
}

bool TEngineBinding::Run(const std::string& galleryPath) const {
  return entry_(galleryPath.c_str());
}

}  // namespace pictalon
