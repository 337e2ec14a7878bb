// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the engine shows while it runs: its message boxes and its progress window. The text core
// talks to this interface only, so it runs and is tested without any GUI.
#include <memory>
#include <string>

#include "Message.h"

namespace pictalon {

class TEngineUi {
public:
  virtual ~TEngineUi() = default;
  // A message box with one OK button; returns when the user has dismissed it.
  virtual void ShowMessage(const TMessage& text) = 0;
  // A failure that ended the run, shown as an error.
  virtual void ShowError(const TMessage& text) = 0;
  virtual void OpenProgress() = 0;
  virtual void SetProgress(int position) = 0;  // 0 to 100
  virtual void CloseProgress() = 0;
  // Lets the host process its pending window messages (repaints, clicks).
  virtual void ProcessMessages() = 0;
};

// One line on standard error per message, and no window at all.
std::unique_ptr<TEngineUi> MakeConsoleEngineUi();

// Real windows when the process runs a Qt GUI application; null otherwise (Qt, in EngineUi.cpp).
std::unique_ptr<TEngineUi> MakeGuiEngineUi();

// The library's windows live in a module of their own beside it, linked with Qt, so that a host
// without Qt (pictgen) never loads Qt: loading it costs more than generating a small gallery.
constexpr const char* kEngineUiModuleName = "libPictgenUi.so";
// The module's one export: what MakeGuiEngineUi returns, released to the caller.
#define PICTGEN_MAKE_GUI_UI "PictgenMakeGuiUi"
using TMakeGuiUiFn = TEngineUi* (*)();

}  // namespace pictalon
