// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The wizard window: a Start page, four wizard tabs and an Editor tab between a toolbar of
// gallery file commands and a Back/Next button bar. It holds the page rules and the current
// gallery; each page owns its controls and its part of the settings, and the run owner decides
// what may happen while pages are generated.
#include <QPushButton>
#include <QStackedWidget>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CurrentGallery.h"
#include "Lazy.h"
#include "Message.h"
#include "TypeDef.h"
#include "WizardFrame.h"
#include "WizardHost.h"

namespace pictalon {

class TdmNonVis;
class TfrmFineTune;
class TGenerateRun;
class TStartPage;
class TWizardToolbar;
class TTextOptionsPage;
class TGraphicOptionsPage;
class TGalleryImagesPage;
class TGalleryOptionsPage;

class TfrmSetup : public QWidget, public TWizardHost {
  Q_OBJECT

public:
  // Runs the creation checks; when they fail the error has been shown and Terminated() is true.
  explicit TfrmSetup(TdmNonVis& dm, QWidget* parent = nullptr);
  ~TfrmSetup() override;

  bool Terminated() const { return terminated_; }
  // The windows made at their first use, which loading the settings and the commands reach; the
  // review window is asked for with make false when only one already made is wanted.
  void SetFineTune(TLazy<TfrmFineTune>* fineTune) { frmFineTune_ = fineTune; }
  void SetImageReview(std::function<QWidget*(bool make)> review) { frmImageReview_ = std::move(review); }
  // The current gallery's settings record as last loaded or stored.
  const GallerySettings& Settings() const { return current_.Settings(); }
  // The editor's commands: opening the base template, opening the cell style sheet, and the
  // unsaved-changes question.
  void SetEditor(std::function<void()> editTemplate, std::function<void()> editCellStyle,
                 std::function<void()> askSaveChanges);
  // Puts the editor's page on the Editor tab (made at its first use).
  void SetEditorPage(QWidget* page);
  // The first command-line argument, considered by FormShow.
  void SetArgument(const std::string& argument) { argument_ = argument; }

  // TWizardHost.
  int ActivePageIndex() const override;
  void SetActivePageIndex(int index) override;
  void ShowWizardTabs(bool visible) override;
  void SetEditorTabVisible(bool visible) override;
  void ShowStartPage() override;
  void UpdateBackNext() override;
  int ReturnPage() const override { return returnPage_; }
  void SetReturnPage(int index) override { returnPage_ = index; }
  void SetStatusText(const QString& text) override;
  QString StatusText() const override;
  std::string CurrentGalleryFile() const override { return current_.Path(); }
  std::string CurrentCellStyleSheet() const override;
  const std::vector<std::string>& ImageList() const override;
  std::uint64_t ImageListVersion() const override;
  bool UsesPhotoTitles() const override;

  // Settings binding: defaults into the record and the pages, the record into the pages, the
  // pages into the record and the gallery file.
  void ApplyDefaults();
  void LoadForm();
  void SaveForm();

  // Gallery files.
  void LoadGalleryList();
  void OpenGallery(const std::string& path);
  void cbFilesChange(int index);
  void btnNewClick();
  void btnSaveGallClick();
  void btnSaveGallAsClick();

  // Navigation and commands.
  void FormShow();
  void PageControl1Change();
  void btnBackClick();
  void btnNextClick();
  void btnStartClick();
  void DialogButtonsClickOk();
  void AskSaveEditorChanges();
  void btnReviewClick();
  void btnFineTuneClick();
  void btnGenerateClick();
  // Generates, then publishes the site to the gallery's "Publish to:" address.
  void btnPublishClick();
  void GettingStarted1Click();
  void AboutPictalon1Click();

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  void BuildButtonBar();
  void ConnectHandlers();
  // Makes the four wizard pages, with the run that their Generate and Publish buttons start;
  // false when they were made before.
  bool MakeWizardPages();
  // Makes them if need be.
  void EnsureWizardPages();
  // What the page area's size depends on, as its memo's key.
  QString PageAreaKey() const;
  // A record into the pages.
  void LoadPages(const GallerySettings& s, const TGalleryTail& tail);
  void FormCreate();
  // The wizard state on Text Options: its four tabs shown, the Start and Editor tabs hidden.
  void ShowWizardOnTextOptions();
  // Brings the tab bar in line with the active page and the visible tabs, without the
  // user's tab-change handler running.
  void SyncTabBar();
  // Stores the pages into the record and writes it; ask: a new gallery file's name is asked.
  void SaveForm(bool ask);
  // Opens a gallery of the lists by its name in the user data folder and names it in the label.
  void OpenListedGallery(const QString& name);
  void ReportLoadProblems(const std::vector<TMessage>& problems);
  // Adds count of the gallery names, from the one at from, to the Start page's list and the
  // combo, and the rest in batches once the waiting events have been handled.
  void AddGalleries(std::shared_ptr<const std::vector<std::string>> names, std::size_t from, std::size_t count);

  TdmNonVis& dm_;
  TCurrentGallery current_;
  int returnPage_ = 0;
  std::string argument_;
  bool terminated_ = false;
  bool shown_ = false;
  bool closeAfterRun_ = false;
  std::vector<bool> tabVisible_;
  TLazy<TfrmFineTune>* frmFineTune_ = nullptr;
  std::function<QWidget*(bool make)> frmImageReview_;
  std::function<void()> editTemplate_;
  std::function<void()> editCellStyle_;
  std::function<void()> askSaveEditorChanges_;

  // What the wizard pages are made with, listed at start.
  struct TPageLists {
    std::vector<std::string> cellStyles;
    std::size_t shippedCellStyles = 0;
    std::vector<std::string> templates;
  } pageLists_;
  TPageAreaMemo pageArea_;

  TWizardToolbar* RzToolbar2;
  TPageTabs* PageControl1;
  QStackedWidget* pages;
  TStartPage* tsStart;
  // Made at their first use (MakeWizardPages).
  TTextOptionsPage* tsText = nullptr;
  TGraphicOptionsPage* tsGraphic = nullptr;
  TGalleryImagesPage* tsGallery = nullptr;
  TGalleryOptionsPage* tsGallOpt = nullptr;
  QWidget* tsEditor;
  QPushButton* btnStart;
  QWidget* tbBackNext;
  QPushButton* btnBack;
  QPushButton* btnNext;
  QPushButton* btnClose;
  std::unique_ptr<TGenerateRun> run_;
};

}  // namespace pictalon
