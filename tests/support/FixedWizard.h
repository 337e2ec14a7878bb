// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The wizard as the windows beside it see it, with an image list and a gallery file set by the
// test, benchmark or tool that drives those windows; the page rules do nothing.
#include <cstdint>
#include <string>
#include <vector>

#include "WizardHost.h"

namespace pictalon::test {

class TFixedWizard : public TWizardHost {
public:
  int ActivePageIndex() const override { return kGalleryPage; }
  void SetActivePageIndex(int) override {}
  void ShowWizardTabs(bool) override {}
  void SetEditorTabVisible(bool) override {}
  void ShowStartPage() override {}
  void UpdateBackNext() override {}
  int ReturnPage() const override { return 0; }
  void SetReturnPage(int) override {}
  void SetStatusText(const QString&) override {}
  QString StatusText() const override { return {}; }
  std::string CurrentGalleryFile() const override { return gallery; }
  std::string CurrentCellStyleSheet() const override { return {}; }
  const std::vector<std::string>& ImageList() const override { return images; }
  std::uint64_t ImageListVersion() const override { return version; }
  bool UsesPhotoTitles() const override { return photoTitles; }

  // A new list, as when the user picks another folder.
  void SetImages(std::vector<std::string> list) {
    images = std::move(list);
    ++version;
  }

  std::string gallery;
  std::vector<std::string> images;
  std::uint64_t version = 1;
  bool photoTitles = false;
};

}  // namespace pictalon::test
