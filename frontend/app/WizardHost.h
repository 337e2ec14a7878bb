// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the other windows and the editor page need of the wizard window: its page rules, its
// status label and its working state. The wizard implements it; tests may fake it.
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace pictalon {

// Page indexes of the wizard's page control.
enum TWizardPage : int {
  kStartPage = 0,
  kTextPage = 1,
  kGraphicPage = 2,
  kGalleryPage = 3,
  kGallOptPage = 4,
  kEditorPage = 5,
};

class TWizardHost {
public:
  virtual ~TWizardHost() = default;

  // Page rules.
  virtual int ActivePageIndex() const = 0;
  // Makes a page active the way the program does (never runs the user's tab-change save).
  virtual void SetActivePageIndex(int index) = 0;
  virtual void ShowWizardTabs(bool visible) = 0;
  virtual void SetEditorTabVisible(bool visible) = 0;
  virtual void ShowStartPage() = 0;
  virtual void UpdateBackNext() = 0;
  // The page to show again when the user leaves the editor (0: the Start page).
  virtual int ReturnPage() const = 0;
  virtual void SetReturnPage(int index) = 0;

  // The status label on the top toolbar.
  virtual void SetStatusText(const QString& text) = 0;
  virtual QString StatusText() const = 0;

  // Working state.
  virtual std::string CurrentGalleryFile() const = 0;
  virtual std::string CurrentCellStyleSheet() const = 0;
  virtual const std::vector<std::string>& ImageList() const = 0;
  // Changes whenever the image list is rebuilt or chosen anew.
  virtual std::uint64_t ImageListVersion() const = 0;
  // Whether captions take the photos' own titles, as the Gallery Images page shows it now.
  virtual bool UsesPhotoTitles() const { return false; }
};

}  // namespace pictalon
