// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's messages in a host without a GUI: one line each on standard error.
#include <cstdio>

#include "EngineUi.h"
#include "TextUtil.h"

namespace pictalon {

namespace {

class TConsoleEngineUi : public TEngineUi {
public:
  void ShowMessage(const TMessage& text) override { std::fprintf(stderr, "%s\n", text.Text().c_str()); }
  void ShowError(const TMessage& text) override {
    std::fprintf(stderr, "%s\n", WithFullStop(text.Text()).c_str());
  }
  void OpenProgress() override {}
  void SetProgress(int) override {}
  void CloseProgress() override {}
  void ProcessMessages() override {}
};

}  // namespace

std::unique_ptr<TEngineUi> MakeConsoleEngineUi() { return std::make_unique<TConsoleEngineUi>(); }

}  // namespace pictalon
