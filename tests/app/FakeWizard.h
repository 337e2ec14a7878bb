// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A stand-in for the wizard window: its page rules and working state as plain fields.
#include <string>
#include <vector>

#include "WizardHost.h"

namespace pictalon {

// The wizard's page rules as the editor sees them.
class TFakeWizard : public TWizardHost {
public:
  int active = kStartPage;
  bool wizardTabs = false;
  bool editorTab = false;
  bool back = false, next = false;
  int returnPage = kStartPage;
  QString status = "  ";
  std::string galleryFile, cellStyleSheet;
  std::vector<std::string> images;

  int ActivePageIndex() const override { return active; }
  void SetActivePageIndex(int index) override { active = index; }
  void ShowWizardTabs(bool visible) override {
    wizardTabs = visible;
    if (visible) UpdateBackNext();
  }
  void SetEditorTabVisible(bool visible) override { editorTab = visible; }
  void ShowStartPage() override {
    ShowWizardTabs(false);
    editorTab = false;
    active = kStartPage;
    returnPage = kStartPage;
  }
  void UpdateBackNext() override {
    back = active > 1;
    next = active < 4;
  }
  int ReturnPage() const override { return returnPage; }
  void SetReturnPage(int index) override { returnPage = index; }
  void SetStatusText(const QString& text) override { status = text; }
  QString StatusText() const override { return status; }
  std::string CurrentGalleryFile() const override { return galleryFile; }
  std::string CurrentCellStyleSheet() const override { return cellStyleSheet; }
  const std::vector<std::string>& ImageList() const override { return images; }
  std::uint64_t ImageListVersion() const override { return 0; }
};

}  // namespace pictalon
