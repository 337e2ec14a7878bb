// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "About.h"
#include "Error.h"
#include "FineTune.h"
#include "GalleryFile.h"
#include "GalleryImages.h"
#include "GalleryOptions.h"
#include "GenerateRun.h"
#include "GraphicOptions.h"
#include "Helpers.h"
#include "NonVis.h"
#include "Platform.h"
#include "StartPage.h"
#include "TextUtil.h"
#include "TextOptions.h"
#include "Translations.h"
#include "Widgets.h"
#include "Toolbar.h"
#include "WizardFrame.h"
#include "WorkingFiles.h"

namespace pictalon {

TfrmSetup::TfrmSetup(TdmNonVis& dm, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      dm_(dm),
      current_(dm, *this) {
  setObjectName("frmSetup");
  setWindowTitle(QApplication::applicationName());

  RzToolbar2 = new TWizardToolbar(dm_);
  tsStart = new TStartPage;
  tsEditor = new QWidget;
  tsEditor->setObjectName("tsEditor");
  new QVBoxLayout(tsEditor);
  tsEditor->layout()->setContentsMargins(0, 0, 0, 0);

  // The tabs are a bar over a stack rather than a tab widget: the Start page is shown with no
  // tab at all, which a tab widget would answer by moving to another page.
  PageControl1 = new TPageTabs;
  PageControl1->setObjectName("PageControl1");
  PageControl1->setDrawBase(false);
  PageControl1->setExpanding(false);
  PageControl1->setCursor(Qt::PointingHandCursor);
  pages = new QStackedWidget;
  pages->setObjectName("pages");
  const char* captions[] = {QT_TR_NOOP("Start"),           QT_TR_NOOP("Text Options"),
                            QT_TR_NOOP("Graphic Options"), QT_TR_NOOP("Gallery Images"),
                            QT_TR_NOOP("Gallery Options"), QT_TR_NOOP("Editor")};
  const int icons[] = {-1, 0, 1, 3, 4, 2};
  for (int i = 0; i < 6; ++i) {
    // The four wizard pages stand in as empty pages until MakeWizardPages makes them.
    pages->addWidget(i == kStartPage ? tsStart : i == kEditorPage ? tsEditor : new QWidget);
    PageControl1->AddPage([this, icon = icons[i]] { return dm_.TabIcon(icon); }, tr(captions[i]));
  }
  PageControl1->setIconSize(QSize(16, 16));
  tabVisible_.assign(6, false);

  BuildButtonBar();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(RzToolbar2);
  layout->addWidget(PageControl1);
  layout->addWidget(pages, 1);
  auto* bar = new QWidget;
  bar->setObjectName("DialogButtons");
  auto* barLayout = new QHBoxLayout(bar);
  barLayout->setContentsMargins(0, 4, 0, 0);
  barLayout->addWidget(btnStart);
  barLayout->addStretch();
  barLayout->addWidget(tbBackNext);
  barLayout->addStretch();
  barLayout->addWidget(btnClose);
  layout->addWidget(bar);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  ConnectHandlers();
  SyncTabBar();

  try {
    FormCreate();
  } catch (const std::exception& e) {
    terminated_ = true;
    dm_.Dialogs().ErrorBox(this, QString::fromStdString(e.what()));
  }
}

TfrmSetup::~TfrmSetup() = default;

void TfrmSetup::BuildButtonBar() {
  btnStart = new QPushButton(tr("Start"));
  btnStart->setObjectName("btnStart");
  btnStart->setVisible(false);
  tbBackNext = new QWidget;
  tbBackNext->setObjectName("tbBackNext");
  tbBackNext->setFixedWidth(140 + 20);
  // The arrows are put on when the buttons first show (ShowWizardTabs): a start on the Start
  // page looks no icon up for them.
  btnBack = new QPushButton(tr("Back"));
  btnBack->setObjectName("btnBack");
  btnNext = new QPushButton(tr("Next"));
  btnNext->setObjectName("btnNext");
  btnNext->setLayoutDirection(Qt::RightToLeft);  // the arrow right of the caption
  auto* backNext = new QHBoxLayout(tbBackNext);
  backNext->setContentsMargins(0, 0, 0, 0);
  backNext->addWidget(btnBack);
  backNext->addWidget(btnNext);
  btnClose = new QPushButton(tr("Close"));
  btnClose->setObjectName("btnClose");
}

void TfrmSetup::ConnectHandlers() {
  connect(tsStart, &TStartPage::newRequested, this, Guarded(dm_, this, &TfrmSetup::btnNewClick));
  connect(RzToolbar2, &TWizardToolbar::newRequested, this, Guarded(dm_, this, &TfrmSetup::btnNewClick));
  connect(RzToolbar2, &TWizardToolbar::saveRequested, this, Guarded(dm_, this, &TfrmSetup::btnSaveGallClick));
  connect(RzToolbar2, &TWizardToolbar::saveAsRequested, this, Guarded(dm_, this, &TfrmSetup::btnSaveGallAsClick));
  auto editTemplate = [this] {
    RunGuarded(dm_, this, [this] {
      if (editTemplate_) editTemplate_();
    });
  };
  connect(tsStart, &TStartPage::editRequested, this, editTemplate);
  connect(RzToolbar2, &TWizardToolbar::editRequested, this, editTemplate);
  connect(RzToolbar2, &TWizardToolbar::galleryChosen, this, Guarded(dm_, this, &TfrmSetup::cbFilesChange));
  connect(tsStart, &TStartPage::galleryChosen, this, [this](const QString& name) {
    RunGuarded(dm_, this, [this, name] {
      RzToolbar2->SelectGallery(name);
      OpenListedGallery(name);
    });
  });
  // Only the user's own tab choice arrives here: the program's changes are made with the bar's
  // signals blocked.
  connect(PageControl1, &QTabBar::currentChanged, this, [this](int index) {
    RunGuarded(dm_, this, [this, index] {
      pages->setCurrentIndex(PageControl1->PageAt(index));
      PageControl1Change();
    });
  });
  connect(btnBack, &QPushButton::clicked, this, Guarded(dm_, this, &TfrmSetup::btnBackClick));
  connect(btnNext, &QPushButton::clicked, this, Guarded(dm_, this, &TfrmSetup::btnNextClick));
  connect(btnStart, &QPushButton::clicked, this, Guarded(dm_, this, &TfrmSetup::btnStartClick));
  connect(btnClose, &QPushButton::clicked, this, Guarded(dm_, this, &TfrmSetup::DialogButtonsClickOk));
  connect(dm_.GettingStarted1, &QAction::triggered, this, Guarded(dm_, this, &TfrmSetup::GettingStarted1Click));
  connect(dm_.AboutPictalon1, &QAction::triggered, this, Guarded(dm_, this, &TfrmSetup::AboutPictalon1Click));
}

bool TfrmSetup::MakeWizardPages() {
  if (tsText) return false;
  tsText = new TTextOptionsPage(dm_);
  tsGraphic = new TGraphicOptionsPage(dm_);
  tsGallery = new TGalleryImagesPage(dm_);
  tsGallOpt = new TGalleryOptionsPage(dm_);
  int index = kTextPage;
  for (QWidget* page : std::initializer_list<QWidget*>{tsText, tsGraphic, tsGallery, tsGallOpt}) {
    QWidget* standIn = pages->widget(index);
    pages->insertWidget(index++, page);
    pages->removeWidget(standIn);
    delete standIn;
  }
  tsGallery->SetCellStyles(pageLists_.cellStyles, pageLists_.shippedCellStyles);
  tsGallOpt->SetTemplates(pageLists_.templates);

  run_ = std::make_unique<TGenerateRun>(dm_, *this, tsGallOpt->GenerateButton(), tsGallOpt->PublishButton());
  // While pages are generated, nothing may open, start or rename a gallery.
  std::vector<QWidget*> guarded = RzToolbar2->GalleryCommands();
  guarded.push_back(tsStart);
  run_->GuardCommands(guarded);
  // A close asked for during a run is carried out once the run has ended.
  connect(run_.get(), &TGenerateRun::finished, this, [this] {
    if (closeAfterRun_) QTimer::singleShot(0, this, &QWidget::close);
  });
  connect(tsGallery, &TGalleryImagesPage::editCellStyleRequested, this, [this] {
    RunGuarded(dm_, this, [this] {
      if (editCellStyle_) editCellStyle_();
    });
  });
  connect(tsGallery, &TGalleryImagesPage::reviewRequested, this, Guarded(dm_, this, &TfrmSetup::btnReviewClick));
  connect(tsGallOpt, &TGalleryOptionsPage::fineTuneRequested, this, Guarded(dm_, this, &TfrmSetup::btnFineTuneClick));
  connect(tsGallOpt, &TGalleryOptionsPage::generateRequested, this, Guarded(dm_, this, &TfrmSetup::btnGenerateClick));
  connect(tsGallOpt, &TGalleryOptionsPage::publishRequested, this, Guarded(dm_, this, &TfrmSetup::btnPublishClick));
  connect(tsGraphic, &TGraphicOptionsPage::backgroundColourChosen, tsText, &TTextOptionsPage::SetMemoBackground);
  connect(tsGallery, &TGalleryImagesPage::imageListChanged, this,
          [this] { run_->SetImagesListed(!tsGallery->ImageList().empty()); });

  // The page area takes the size its largest page needs, whichever page shows first.
  QSize area(593, 360);
  for (int i = 0; i < pages->count(); ++i) area = area.expandedTo(pages->widget(i)->sizeHint());
  pages->setMinimumSize(area);
  if (area != pageArea_.Size()) pageArea_.Remember(area);
  return true;
}

void TfrmSetup::EnsureWizardPages() {
  if (!MakeWizardPages()) return;
  // Made at their first use, the pages first show the defaults, as the pages made at start do:
  // whatever a gallery opened next cannot set keeps them.
  GallerySettings defaults;
  ApplyDefaultSettings(defaults);
  LoadPages(defaults, TGalleryTail{});
}

void TfrmSetup::SetEditor(std::function<void()> editTemplate,
                          std::function<void()> editCellStyle, std::function<void()> askSaveChanges) {
  editTemplate_ = std::move(editTemplate);
  editCellStyle_ = std::move(editCellStyle);
  askSaveEditorChanges_ = std::move(askSaveChanges);
}

void TfrmSetup::SetEditorPage(QWidget* page) { tsEditor->layout()->addWidget(page); }

void TfrmSetup::FormCreate() {
  // The data folder, the templates folder and the image list need no setting up: they follow
  // the program folder, and the list starts empty.
  if (!FileExists(CellStyleIndexPath()))
    throw Error(
        tr("Fatal Error: cssIndex.dat is missing.\nPictalon will now terminate.").toStdString());
  pageLists_.cellStyles = CellStyleNames(&pageLists_.shippedCellStyles);
  if (pageLists_.cellStyles.empty())
    throw Error(
        tr("Fatal Error: cssIndex.dat is empty.\nPictalon will now terminate.").toStdString());
  ListTemplates(pageLists_.templates);
  if (pageLists_.templates.empty())
    throw Error(tr("The HTML templates folder\n%1\ndoes not contain any templates.\n\n"
                   "Pictalon will terminate.")
                    .arg(QString::fromStdString(GetTemplatesFolder()))
                    .toStdString());
  // The window's size is that of its largest page: a start that knows it from an earlier one
  // makes the wizard's pages at their first use, others make them now to measure them.
  pageArea_ = TPageAreaMemo(PageAreaKey());
  const QSize area = pageArea_.Size();
  if (area.isValid())
    pages->setMinimumSize(area);
  else
    MakeWizardPages();
  LoadGalleryList();
  current_.Settings() = GallerySettings{};
}

QString TfrmSetup::PageAreaKey() const {
  // What the pages' sizes depend on: the program and its data, the language, style and font.
  const QFileInfo program(QString::fromStdString(GetProgramFilePath()));
  QStringList key = {program.filePath(), QString::number(program.size()),
                     QString::number(program.lastModified().toMSecsSinceEpoch()),
                     QLocale::system().uiLanguages().join(','), style()->name(), font().toString(),
                     QString::number(QGuiApplication::primaryScreen()->logicalDotsPerInch())};
  for (const auto* names : {&pageLists_.cellStyles, &pageLists_.templates})
    for (const std::string& name : *names) key << QString::fromStdString(name);
  return key.join('|');
}

void TfrmSetup::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  RunGuarded(dm_, this, [this] { FormShow(); });
}

void TfrmSetup::FormShow() {
  setWindowTitle(QApplication::applicationName());
  tabVisible_[kStartPage] = false;
  if (tsStart->GalleryCount() == 0) {
    ApplyDefaults();
    ShowWizardOnTextOptions();
  } else if (!argument_.empty() && FileExists(argument_)) {
    OpenGallery(argument_);
  } else {
    // The pages show these defaults when they are made.
    ApplyDefaultSettings(current_.Settings());
    if (tsText) LoadPages(current_.Settings(), current_.Tail());
    ShowStartPage();
  }
}

// ----------------------------------------------------------------------------------------------
// Page rules

int TfrmSetup::ActivePageIndex() const { return pages->currentIndex(); }

void TfrmSetup::SetActivePageIndex(int index) {
  if (index >= kTextPage && index <= kGallOptPage) EnsureWizardPages();
  pages->setCurrentIndex(index);
  SyncTabBar();
  if (tbBackNext->isVisibleTo(this)) UpdateBackNext();
}

void TfrmSetup::SyncTabBar() {
  const QSignalBlocker blocker(PageControl1);
  PageControl1->ShowPages(tabVisible_, pages->currentIndex());
  PageControl1->setVisible(PageControl1->count() > 0);
}

void TfrmSetup::ShowWizardTabs(bool visible) {
  if (visible) EnsureWizardPages();
  for (int page : {kTextPage, kGraphicPage, kGalleryPage, kGallOptPage}) tabVisible_[page] = visible;
  if (visible && btnBack->icon().isNull()) {
    btnBack->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    btnNext->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
  }
  tbBackNext->setVisible(visible);
  SyncTabBar();
  if (visible) UpdateBackNext();
}

void TfrmSetup::SetEditorTabVisible(bool visible) {
  tabVisible_[kEditorPage] = visible;
  SyncTabBar();
}

void TfrmSetup::ShowWizardOnTextOptions() {
  ShowWizardTabs(true);
  SetEditorTabVisible(false);
  SetActivePageIndex(kTextPage);
  UpdateBackNext();
}

void TfrmSetup::ShowStartPage() {
  ShowWizardTabs(false);
  SetEditorTabVisible(false);
  SetActivePageIndex(kStartPage);
  returnPage_ = kStartPage;
}

void TfrmSetup::UpdateBackNext() {
  btnBack->setEnabled(ActivePageIndex() > kTextPage);
  btnNext->setEnabled(ActivePageIndex() < kGallOptPage);
}

void TfrmSetup::PageControl1Change() {
  SaveForm();
  UpdateBackNext();
}

void TfrmSetup::btnBackClick() {
  if (ActivePageIndex() > kTextPage) SetActivePageIndex(ActivePageIndex() - 1);
  UpdateBackNext();
}

void TfrmSetup::btnNextClick() {
  if (ActivePageIndex() < kGallOptPage) SetActivePageIndex(ActivePageIndex() + 1);
  UpdateBackNext();
}

void TfrmSetup::btnStartClick() { ShowStartPage(); }

void TfrmSetup::SetStatusText(const QString& text) { RzToolbar2->SetStatusText(text); }

QString TfrmSetup::StatusText() const { return RzToolbar2->StatusText(); }

// Until the Gallery Images page is made, no gallery is open and no image listed: the record holds
// the defaults the page will show.
std::string TfrmSetup::CurrentCellStyleSheet() const {
  return tsGallery ? tsGallery->CurrentCellStyleSheet() : current_.Settings().CellStyleSheet.get();
}

const std::vector<std::string>& TfrmSetup::ImageList() const {
  static const std::vector<std::string> none;
  return tsGallery ? tsGallery->ImageList() : none;
}

std::uint64_t TfrmSetup::ImageListVersion() const { return tsGallery ? tsGallery->ImageListVersion() : 0; }

bool TfrmSetup::UsesPhotoTitles() const { return tsGallery ? tsGallery->PhotoCaptions() : current_.Tail().PhotoCaptions; }

// ----------------------------------------------------------------------------------------------
// Settings binding

void TfrmSetup::ApplyDefaults() {
  ApplyDefaultSettings(current_.Settings());
  LoadForm();
}

void TfrmSetup::LoadForm() {
  EnsureWizardPages();
  LoadPages(current_.Settings(), current_.Tail());
}

void TfrmSetup::LoadPages(const GallerySettings& s, const TGalleryTail& tail) {
  // A damaged picture or colour text must not stop the rest of the gallery from loading: what
  // cannot be shown is reported once, after everything else is in place.
  std::vector<TMessage> problems;
  tsText->Load(s, problems);
  tsGraphic->Load(s, problems);
  tsText->SetMemoBackground(tsGraphic->BackgroundColour());
  tsGallery->Load(s, tail, problems);
  tsGallOpt->Load(s, tail);
  // A fine-tune dialog not yet made reads the record when it is.
  if (TfrmFineTune* fineTune = frmFineTune_ ? frmFineTune_->IfMade() : nullptr) fineTune->Load(s);
  ReportLoadProblems(problems);
}

void TfrmSetup::ReportLoadProblems(const std::vector<TMessage>& problems) {
  if (problems.empty()) return;
  QString message;
  for (const TMessage& problem : problems)
    message += (message.isEmpty() ? "" : "\n") + QString::fromStdString(WithFullStop(Translated(problem).toStdString()));
  dm_.ShowGeneralError(this, message);
}

void TfrmSetup::SaveForm() { SaveForm(false); }

void TfrmSetup::SaveForm(bool ask) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  struct RestoreCursor {
    ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
  } restore;
  EnsureWizardPages();
  GallerySettings& s = current_.Settings();
  tsText->Save(s);
  tsGraphic->Save(s);
  tsGallery->Save(s, current_.Tail());
  tsGallOpt->Save(s, current_.Tail());
  if (TfrmFineTune* fineTune = frmFineTune_ ? frmFineTune_->IfMade() : nullptr) fineTune->Save(s);
  current_.Write(ask);
}

// ----------------------------------------------------------------------------------------------
// Gallery files

void TfrmSetup::LoadGalleryList() {
  auto names = std::make_shared<std::vector<std::string>>(ListFilesWithExtension(GetUserDataFolder(), ".pgs"));
  // The Start page shows a few rows of galleries: those are in the first frame, the others follow
  // in batches, so that hundreds of galleries start as quickly as a few.
  AddGalleries(names, 0, 64);
  RzToolbar2->SelectGallery(QString());
}

void TfrmSetup::AddGalleries(std::shared_ptr<const std::vector<std::string>> names, std::size_t from,
                             std::size_t count) {
  const QIcon icon = dm_.GalleryFileIcon();
  const std::size_t end = std::min(names->size(), from + count);
  for (std::size_t i = from; i < end; ++i) {
    QString caption = QString::fromStdString((*names)[i]);
    tsStart->AddGallery(icon, caption);
    RzToolbar2->AddGallery(caption);
  }
  if (end < names->size())
    QTimer::singleShot(0, this, [this, names, end] { AddGalleries(names, end, 256); });
}

void TfrmSetup::OpenGallery(const std::string& path) {
  current_.Open(path);
  LoadForm();
  ShowWizardOnTextOptions();
}

void TfrmSetup::cbFilesChange(int index) {
  if (index >= 0) OpenListedGallery(RzToolbar2->GalleryName(index));
}

void TfrmSetup::OpenListedGallery(const QString& name) {
  OpenGallery(GetUserDataFolder() + name.toStdString());
  SetStatusText("<" + name + ">");
}

void TfrmSetup::btnNewClick() {
  current_.New();
  LoadForm();
  SaveForm(true);
  if (current_.Path().empty()) {
    ShowStartPage();
    return;
  }
  // From any page, the editor's included, the new gallery shows on the wizard's first tab.
  ShowWizardOnTextOptions();
  PageControl1Change();
  SetStatusText(QString::fromStdString(ExtractFileName(current_.Path())));
}

void TfrmSetup::btnSaveGallClick() {
  // With no gallery file yet, Save names one as the explicit commands do.
  SaveForm(true);
}

void TfrmSetup::btnSaveGallAsClick() {
  current_.SaveAs();
  SetStatusText("<" + QString::fromStdString(ExtractFileName(current_.Path())) + ">");
}

// ----------------------------------------------------------------------------------------------
// Commands and closing

void TfrmSetup::btnGenerateClick() {
  if (run_->Running()) return;
  SaveForm();
  run_->Run({current_.Path(), current_.Settings(), tsGallery->ImageList()});
}

void TfrmSetup::btnPublishClick() {
  if (run_->Running()) return;
  SaveForm();
  if (IsBlank(current_.Tail().PublishTo)) {
    dm_.Dialogs().ErrorBox(this, tr("Enter where to publish the site in \"Publish to:\" first, for example "
                                    "sftp://user@example.org/~/public_html"));
    return;
  }
  run_->Publish({current_.Path(), current_.Settings(), tsGallery->ImageList()});
}

void TfrmSetup::btnReviewClick() {
  if (QWidget* review = frmImageReview_ ? frmImageReview_(true) : nullptr) dm_.Dialogs().Show(*review);
}

void TfrmSetup::btnFineTuneClick() {
  if (TfrmFineTune* fineTune = frmFineTune_ ? frmFineTune_->get() : nullptr)
    dm_.Dialogs().Show(*fineTune);
}

void TfrmSetup::GettingStarted1Click() {
  dm_.Dialogs().OpenDocument(QString::fromStdString(GetProgramFolder() + "Guide/index.html"));
}

void TfrmSetup::AboutPictalon1Click() {
  TfrmAbout about(dm_, this);
  dm_.Dialogs().Exec(about);
}

void TfrmSetup::DialogButtonsClickOk() { close(); }

void TfrmSetup::closeEvent(QCloseEvent* event) {
  if (run_ && run_->Running()) {
    // The engine is writing pages: the window closes when it has finished.
    closeAfterRun_ = true;
    event->ignore();
    return;
  }
  RunGuarded(dm_, this, [this] {
    if (!current_.Path().empty() && FileExists(current_.Path())) SaveForm();
  });
  try {
    AskSaveEditorChanges();
  } catch (...) {
    // The user asked to keep the editor's text and it could not be written: closing now would
    // lose it, so the window stays open with the text.
    dm_.ShowException(this, std::current_exception());
    event->ignore();
    return;
  }
  // The other windows close with the wizard: the program ends with it.
  if (TfrmFineTune* fineTune = frmFineTune_ ? frmFineTune_->IfMade() : nullptr) fineTune->close();
  if (QWidget* review = frmImageReview_ ? frmImageReview_(false) : nullptr) review->close();
  event->accept();
}

void TfrmSetup::AskSaveEditorChanges() {
  if (askSaveEditorChanges_) askSaveEditorChanges_();
}

}  // namespace pictalon
