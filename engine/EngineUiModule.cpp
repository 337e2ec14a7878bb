// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The one export of the windows module libPictgenUi.so, which the engine loads when its host
// runs Qt.
#include "EngineUi.h"

extern "C" __attribute__((visibility("default"))) pictalon::TEngineUi* PictgenMakeGuiUi() {
  try {
    return pictalon::MakeGuiEngineUi().release();
  } catch (...) {
    return nullptr;
  }
}
