// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's windows: the data module and the wizard window at start, the fine-tune dialog and
// the review window at their first use. The program's main routine and the tests build it alike.
#include <QWidget>

#include <memory>
#include <string>

#include "EditorPage.h"
#include "FineTune.h"
#include "ImageReview.h"
#include "Lazy.h"
#include "Main.h"
#include "NonVis.h"

namespace pictalon {

class TProgram {
public:
  // argument is the first command-line argument (empty when none). dialogs replaces the data
  // module's dialog service before any window exists (tests answer the creation checks' box).
  explicit TProgram(const std::string& argument = std::string(),
                    std::unique_ptr<TDialogService> dialogs = nullptr);
  ~TProgram();

  // The creation checks failed: their message has been shown and the program must end.
  bool Terminated() const { return frmSetup->Terminated(); }

  TdmNonVis dmNonVis;
  std::unique_ptr<TfrmSetup> frmSetup;
  // The Editor tab's content, owned by that tab.
  TEditorPage* editorPage = nullptr;  // made at its first use
  TEditorPage& Editor();
  TLazy<TfrmFineTune> frmFineTune;  // made with the current gallery's settings
  TLazy<TfrmImageReview> frmImageReview;
};

// Sets up the application as the program does: its title "Pictalon".
void InitialiseApplication();

}  // namespace pictalon
