#pragma once
// The wizard window: a Start page, four wizard tabs and an Editor tab between a toolbar of
// gallery file commands and a Back/Next button bar. It owns the front end's working state.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TypeDef.h"
#include "WizardHost.h"

namespace pictalon {

class TdmNonVis;
class TfrmFineTune;
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
  // The windows created after the wizard, which loading the settings and the commands reach.
  void SetFineTune(TfrmFineTune* fineTune) { frmFineTune_ = fineTune; }
  void SetImageReview(QWidget* review) { frmImageReview_ = review; }
  // The editor's commands: opening the base template, opening the cell style sheet, and the
  // unsaved-changes question.
  void SetEditor(std::function<void()> editTemplate, std::function<void()> editCellStyle,
                 std::function<void()> askSaveChanges);
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
  std::string CurrentGalleryFile() const override { return currentGalleryFile_; }
  std::string CurrentCellStyleSheet() const override;
  const std::vector<std::string>& ImageList() const override { return imageList_; }
  std::uint64_t ImageListVersion() const override { return imageListVersion_; }

  const GallerySettings& Settings() const { return settings_; }

  // Settings binding.
  void ApplyDefaults();
  void LoadForm();
  void SaveForm();

  // Gallery files.
  void LoadGalleryList();
  void OpenGallery(const std::string& path);
  void lvFilesDblClick();
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
  void GettingStarted1Click();
  void AboutPictalon1Click();

  // Controls.
  QToolBar* RzToolbar2;
  QToolButton* btnNew2;
  QToolButton* btnEdit2;
  QToolButton* btnSaveGall;
  QToolButton* btnSaveGallAs;
  QComboBox* cbFiles;
  QLabel* pnlStatus;
  QToolButton* btnInfo;
  QTabBar* PageControl1;
  QStackedWidget* pages;
  QWidget* tsStart;
  QWidget* tsEditor;
  TTextOptionsPage* tsText;
  TGraphicOptionsPage* tsGraphic;
  TGalleryImagesPage* tsGallery;
  TGalleryOptionsPage* tsGallOpt;
  QListWidget* lvFiles;
  QPushButton* btnNew;
  QPushButton* btnEdit;
  QPushButton* btnStart;
  QWidget* tbBackNext;
  QPushButton* btnBack;
  QPushButton* btnNext;
  QPushButton* btnClose;

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildToolbar();
  void BuildStartPage();
  void BuildButtonBar();
  void ConnectHandlers();
  void FormCreate();
  // Brings the tab bar in line with the active page and the visible tabs, without the
  // user's tab-change handler running.
  void SyncTabBar();
  // The name of a gallery file that no path was given for: asked in the save dialog for the
  // explicit commands, the first free "Gallery N.pgs" otherwise.
  std::string NameNewGallery(const std::string& userDataFolder);
  // Writes the current settings to path (empty: a new file is named) and makes the path written
  // the current gallery file. A write that fails is reported, not passed over: the user would
  // otherwise lose every change since the last good save without knowing.
  void WriteGallery(const std::string& path);
  // Opens a gallery of the lists by its name in the user data folder and names it in the label.
  void OpenListedGallery(const QString& name);
  void ReportLoadProblems(const std::vector<std::string>& problems);

  TdmNonVis& dm_;
  GallerySettings settings_{};
  std::string currentGalleryFile_;
  std::vector<std::string> imageList_;
  std::uint64_t imageListVersion_ = 0;
  int returnPage_ = 0;
  std::string argument_;
  bool terminated_ = false;
  bool shown_ = false;
  bool askForName_ = false;
  std::string namedPath_;  // the name the last naming settled on
  std::vector<bool> tabVisible_;
  TfrmFineTune* frmFineTune_ = nullptr;
  QWidget* frmImageReview_ = nullptr;
  std::function<void()> editTemplate_;
  std::function<void()> editCellStyle_;
  std::function<void()> askSaveEditorChanges_;
};

}  // namespace pictalon
