#include "Main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "Error.h"
#include "FineTune.h"
#include "GalleryFile.h"
#include "GalleryImages.h"
#include "GalleryOptions.h"
#include "GraphicOptions.h"
#include "Helpers.h"
#include "NonVis.h"
#include "Platform.h"
#include "TextOptions.h"
#include "WorkingFiles.h"

namespace pictalon {

namespace {

constexpr int kTabWidth = 110;

// Draws a gallery combo entry: its bitmap 2 pixels in from the left with pure red showing the
// background, the text 6 pixels after the bitmap, both at the entry's top.
class TGalleryComboDelegate : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(option.rect, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
    int textLeft = option.rect.left() + 2;
    QPixmap bitmap = index.data(Qt::DecorationRole).value<QPixmap>();
    if (!bitmap.isNull()) {
      QPixmap shown = bitmap;
      shown.setMask(bitmap.createMaskFromColor(QColor(255, 0, 0)));
      painter->drawPixmap(option.rect.left() + 2, option.rect.top(), shown);
      textLeft = option.rect.left() + bitmap.width() + 6;
    }
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(QRect(textLeft, option.rect.top(), option.rect.right() - textLeft,
                            option.rect.height()),
                      Qt::AlignLeft | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize hint = QStyledItemDelegate::sizeHint(option, index);
    return {hint.width() + 8, qMax(16, option.fontMetrics.height())};
  }
};

// Tabs drawn at least 110 pixels wide, wider when their caption needs it.
class TPageTabs : public QTabBar {
public:
  using QTabBar::QTabBar;

protected:
  QSize tabSizeHint(int index) const override {
    QSize hint = QTabBar::tabSizeHint(index);
    return {qMax(hint.width(), kTabWidth), hint.height()};
  }
};

// The Start page's banner: the product name on a sky gradient.
QPixmap DrawBanner(QSize size) {
  QPixmap pixmap(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, size.width(), size.height());
  sky.setColorAt(0, QColor(40, 70, 140));
  sky.setColorAt(1, QColor(120, 170, 230));
  p.fillRect(pixmap.rect(), sky);
  QFont font;
  font.setPixelSize(size.height() / 2);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(pixmap.rect().adjusted(0, -6, 0, -6), Qt::AlignCenter, "Pictalon");
  font.setPixelSize(11);
  font.setBold(false);
  p.setFont(font);
  p.drawText(pixmap.rect().adjusted(0, 0, 0, -6), Qt::AlignHCenter | Qt::AlignBottom,
             "web galleries from your photos");
  return pixmap;
}

QToolButton* IconButton(const char* name, const QIcon& icon, const QString& hint) {
  auto* button = new QToolButton;
  button->setObjectName(name);
  button->setIcon(icon);
  button->setAutoRaise(true);
  SetHint(button, hint);
  return button;
}

}  // namespace

TfrmSetup::TfrmSetup(TdmNonVis& dm, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      dm_(dm) {
  setObjectName("frmSetup");
  setWindowTitle(QApplication::applicationName());

  BuildToolbar();
  tsStart = new QWidget;
  BuildStartPage();
  tsText = new TTextOptionsPage(dm_);
  tsGraphic = new TGraphicOptionsPage(dm_);
  tsGallery = new TGalleryImagesPage(dm_, imageList_);
  tsGallOpt = new TGalleryOptionsPage(dm_);
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
  const std::pair<QWidget*, const char*> tabs[] = {
      {tsStart, "Start"},           {tsText, "Text Options"},        {tsGraphic, "Graphic Options"},
      {tsGallery, "Gallery Images"}, {tsGallOpt, "Gallery Options"}, {tsEditor, "Editor"}};
  const int icons[] = {-1, 0, 1, 3, 4, 2};
  for (int i = 0; i < 6; ++i) {
    pages->addWidget(tabs[i].first);
    PageControl1->addTab(dm_.TabIcon(icons[i]), tabs[i].second);
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
  // The page area takes the size its largest page needs, whichever page shows first.
  QSize area(593, 360);
  for (int i = 0; i < pages->count(); ++i) area = area.expandedTo(pages->widget(i)->sizeHint());
  pages->setMinimumSize(area);

  ConnectHandlers();
  SyncTabBar();

  try {
    FormCreate();
  } catch (const std::exception& e) {
    terminated_ = true;
    dm_.Dialogs().ErrorBox(this, QString::fromStdString(e.what()));
  }
}

TfrmSetup::~TfrmSetup() { SetGalleryNameProvider({}); }

void TfrmSetup::BuildToolbar() {
  RzToolbar2 = new QToolBar;
  RzToolbar2->setObjectName("RzToolbar2");
  RzToolbar2->setIconSize(QSize(16, 16));
  QStyle* s = style();
  btnNew2 = IconButton("btnNew2", s->standardIcon(QStyle::SP_FileIcon), "New Gallery...");
  btnEdit2 = IconButton("btnEdit2", s->standardIcon(QStyle::SP_FileDialogContentsView),
                        "Edit Pictalon Template...");
  btnSaveGall = IconButton("btnSaveGall", s->standardIcon(QStyle::SP_DialogSaveButton),
                           "Save Current Gallery...");
  btnSaveGallAs = IconButton("btnSaveGallAs", s->standardIcon(QStyle::SP_DriveFDIcon), "Save As...");
  cbFiles = new QComboBox;
  cbFiles->setObjectName("cbFiles");
  cbFiles->setFixedWidth(161);
  // Its width is fixed: no need to measure every gallery name to size it.
  cbFiles->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  cbFiles->setMinimumContentsLength(12);
  cbFiles->setItemDelegate(new TGalleryComboDelegate(cbFiles));
  cbFiles->setAccessibleName("Gallery files");
  cbFiles->setToolTip("Open a gallery");
  pnlStatus = new QLabel("  ");
  pnlStatus->setObjectName("pnlStatus");
  pnlStatus->setFixedWidth(276);
  pnlStatus->setAlignment(Qt::AlignCenter);
  QFont bold = pnlStatus->font();
  bold.setBold(true);
  pnlStatus->setFont(bold);
  pnlStatus->setStyleSheet("color: navy;");
  btnInfo = IconButton("btnInfo", s->standardIcon(QStyle::SP_MessageBoxInformation), "Help");
  btnInfo->setMenu(dm_.pmInfo);
  btnInfo->setPopupMode(QToolButton::InstantPopup);

  for (QToolButton* button : {btnNew2, btnEdit2, btnSaveGall, btnSaveGallAs})
    RzToolbar2->addWidget(button);
  RzToolbar2->addSeparator();
  RzToolbar2->addWidget(cbFiles);
  RzToolbar2->addWidget(pnlStatus);
  RzToolbar2->addWidget(btnInfo);
}

void TfrmSetup::BuildStartPage() {
  tsStart->setObjectName("tsStart");
  auto* banner = new QLabel;
  banner->setObjectName("imgBanner");
  banner->setPixmap(DrawBanner(QSize(216, 73)));
  banner->setAccessibleName("Pictalon");
  lvFiles = new QListWidget;
  lvFiles->setObjectName("lvFiles");
  lvFiles->setViewMode(QListView::IconMode);
  lvFiles->setIconSize(QSize(32, 32));
  lvFiles->setMovement(QListView::Static);
  lvFiles->setResizeMode(QListView::Adjust);
  lvFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lvFiles->setWordWrap(true);
  lvFiles->setGridSize(QSize(110, 64));
  // Hundreds of galleries must not hold up the first frame: every item takes the grid's size
  // and the list is laid out in batches.
  lvFiles->setUniformItemSizes(true);
  lvFiles->setLayoutMode(QListView::Batched);
  lvFiles->setFixedSize(565, 150);
  lvFiles->setMouseTracking(true);
  lvFiles->viewport()->setCursor(Qt::PointingHandCursor);
  lvFiles->installEventFilter(this);
  btnNew = new QPushButton("New Gallery...");
  btnNew->setObjectName("btnNew");
  btnNew->setFixedWidth(140);
  btnEdit = new QPushButton("Edit Pictalon Template...");
  btnEdit->setObjectName("btnEdit");
  btnEdit->setFixedWidth(152);

  auto* frame = new QFrame;
  frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  auto* inner = new QVBoxLayout(frame);
  inner->addWidget(banner, 0, Qt::AlignHCenter);
  inner->addSpacing(8);
  inner->addWidget(FieldLabel("Double-click to open an existing Gallery:", lvFiles));
  inner->addWidget(lvFiles, 0, Qt::AlignHCenter);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnNew);
  buttons->addWidget(btnEdit);
  buttons->addStretch();
  inner->addLayout(buttons);
  inner->addStretch();
  auto* layout = new QVBoxLayout(tsStart);
  layout->addWidget(frame);
}

void TfrmSetup::BuildButtonBar() {
  btnStart = new QPushButton("Start");
  btnStart->setObjectName("btnStart");
  btnStart->setVisible(false);
  tbBackNext = new QWidget;
  tbBackNext->setObjectName("tbBackNext");
  tbBackNext->setFixedWidth(140 + 20);
  btnBack = new QPushButton(style()->standardIcon(QStyle::SP_ArrowLeft), "Back");
  btnBack->setObjectName("btnBack");
  btnNext = new QPushButton(style()->standardIcon(QStyle::SP_ArrowRight), "Next");
  btnNext->setObjectName("btnNext");
  btnNext->setLayoutDirection(Qt::RightToLeft);  // the arrow right of the caption
  auto* backNext = new QHBoxLayout(tbBackNext);
  backNext->setContentsMargins(0, 0, 0, 0);
  backNext->addWidget(btnBack);
  backNext->addWidget(btnNext);
  btnClose = new QPushButton("Close");
  btnClose->setObjectName("btnClose");
}

void TfrmSetup::ConnectHandlers() {
  connect(btnNew, &QPushButton::clicked, this, Guarded(dm_, this, &TfrmSetup::btnNewClick));
  connect(btnNew2, &QToolButton::clicked, this, Guarded(dm_, this, &TfrmSetup::btnNewClick));
  connect(btnSaveGall, &QToolButton::clicked, this, Guarded(dm_, this, &TfrmSetup::btnSaveGallClick));
  connect(btnSaveGallAs, &QToolButton::clicked, this, Guarded(dm_, this, &TfrmSetup::btnSaveGallAsClick));
  auto editTemplate = [this] {
    RunGuarded(dm_, this, [this] {
      if (editTemplate_) editTemplate_();
    });
  };
  connect(btnEdit, &QPushButton::clicked, this, editTemplate);
  connect(btnEdit2, &QToolButton::clicked, this, editTemplate);
  connect(tsGallery->btnEditCell, &QPushButton::clicked, this, [this] {
    RunGuarded(dm_, this, [this] {
      if (editCellStyle_) editCellStyle_();
    });
  });
  connect(cbFiles, qOverload<int>(&QComboBox::activated), this, Guarded(dm_, this, &TfrmSetup::cbFilesChange));
  connect(lvFiles, &QListWidget::itemDoubleClicked, this, Guarded(dm_, this, &TfrmSetup::lvFilesDblClick));
  // Only the user's own tab choice arrives here: the program's changes are made with the bar's
  // signals blocked.
  connect(PageControl1, &QTabBar::currentChanged, this, [this](int index) {
    RunGuarded(dm_, this, [this, index] {
      pages->setCurrentIndex(index);
      PageControl1Change();
    });
  });
  connect(btnBack, &QPushButton::clicked, this, Guarded(dm_, this, &TfrmSetup::btnBackClick));
  connect(btnNext, &QPushButton::clicked, this, Guarded(dm_, this, &TfrmSetup::btnNextClick));
  connect(btnStart, &QPushButton::clicked, this, Guarded(dm_, this, &TfrmSetup::btnStartClick));
  connect(btnClose, &QPushButton::clicked, this, Guarded(dm_, this, &TfrmSetup::DialogButtonsClickOk));
  connect(tsGallery->btnReview, &QPushButton::clicked, this, Guarded(dm_, this, &TfrmSetup::btnReviewClick));
  connect(tsGallOpt->btnFineTune, &QPushButton::clicked, this, Guarded(dm_, this, &TfrmSetup::btnFineTuneClick));
  connect(tsGallOpt->btnGenerate, &QToolButton::clicked, this, Guarded(dm_, this, &TfrmSetup::btnGenerateClick));
  connect(dm_.GettingStarted1, &QAction::triggered, this, Guarded(dm_, this, &TfrmSetup::GettingStarted1Click));
  connect(dm_.AboutPictalon1, &QAction::triggered, this, Guarded(dm_, this, &TfrmSetup::AboutPictalon1Click));
  connect(tsGraphic, &TGraphicOptionsPage::backgroundColourChosen, tsText, &TTextOptionsPage::SetMemoBackground);
  connect(tsGallery, &TGalleryImagesPage::imageListChanged, this, [this] {
    ++imageListVersion_;
    tsGallOpt->btnGenerate->setEnabled(!imageList_.empty());
  });
}

void TfrmSetup::SetEditor(std::function<void()> editTemplate,
                          std::function<void()> editCellStyle, std::function<void()> askSaveChanges) {
  editTemplate_ = std::move(editTemplate);
  editCellStyle_ = std::move(editCellStyle);
  askSaveEditorChanges_ = std::move(askSaveChanges);
}

void TfrmSetup::FormCreate() {
  // The data folder, the templates folder and the image list need no setting up: they follow
  // the program folder, and the list starts empty.
  if (!tsGallery->LoadCellStyles())
    throw Error("Fatal Error: cssIndex.dat is missing.\nPictalon will now terminate.");
  if (tsGallery->cbGallCell->count() == 0)
    throw Error("Fatal Error: cssIndex.dat is empty.\nPictalon will now terminate.");
  std::vector<std::string> templates;
  ListTemplates(templates);
  if (templates.empty())
    throw Error("The HTML templates folder\n" + GetTemplatesFolder() +
                "\ndoes not contain any templates.\n\nPictalon will terminate.");
  for (const std::string& name : templates) tsGallOpt->cbTemplates->addItem(QString::fromStdString(name));
  tsGallOpt->cbTemplates->setCurrentIndex(0);
  LoadGalleryList();
  settings_ = GallerySettings{};
  SetGalleryNameProvider([this](const std::string& folder) { return NameNewGallery(folder); });
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
  if (lvFiles->count() == 0) {
    ApplyDefaults();
    ShowWizardTabs(true);
    SetEditorTabVisible(false);
    SetActivePageIndex(kTextPage);
    UpdateBackNext();
  } else if (!argument_.empty() && FileExists(argument_)) {
    OpenGallery(argument_);
  } else {
    ApplyDefaults();
    ShowStartPage();
  }
}

int TfrmSetup::ActivePageIndex() const { return pages->currentIndex(); }

void TfrmSetup::SetActivePageIndex(int index) {
  pages->setCurrentIndex(index);
  SyncTabBar();
  if (tbBackNext->isVisibleTo(this)) UpdateBackNext();
}

void TfrmSetup::SyncTabBar() {
  const QSignalBlocker blocker(PageControl1);
  bool any = false;
  for (int i = 0; i < PageControl1->count(); ++i) {
    PageControl1->setTabVisible(i, tabVisible_[i]);
    any = any || tabVisible_[i];
  }
  if (tabVisible_[pages->currentIndex()]) PageControl1->setCurrentIndex(pages->currentIndex());
  PageControl1->setVisible(any);
}

void TfrmSetup::ShowWizardTabs(bool visible) {
  for (int page : {kTextPage, kGraphicPage, kGalleryPage, kGallOptPage}) tabVisible_[page] = visible;
  tbBackNext->setVisible(visible);
  SyncTabBar();
  if (visible) UpdateBackNext();
}

void TfrmSetup::SetEditorTabVisible(bool visible) {
  tabVisible_[kEditorPage] = visible;
  SyncTabBar();
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

void TfrmSetup::SetStatusText(const QString& text) {
  pnlStatus->setText(text);
  pnlStatus->repaint();
}

QString TfrmSetup::StatusText() const { return pnlStatus->text(); }

std::string TfrmSetup::CurrentCellStyleSheet() const { return tsGallery->CurrentCellStyleSheet(); }

void TfrmSetup::DialogButtonsClickOk() { close(); }

void TfrmSetup::closeEvent(QCloseEvent* event) {
  RunGuarded(dm_, this, [this] {
    if (!currentGalleryFile_.empty() && FileExists(currentGalleryFile_)) SaveForm();
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
  if (frmFineTune_) frmFineTune_->close();
  if (frmImageReview_) frmImageReview_->close();
  event->accept();
}

void TfrmSetup::AskSaveEditorChanges() {
  if (askSaveEditorChanges_) askSaveEditorChanges_();
}

bool TfrmSetup::eventFilter(QObject* watched, QEvent* event) {
  // Enter opens the selected gallery, as a double click does.
  if (watched == lvFiles && event->type() == QEvent::KeyPress) {
    int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && lvFiles->currentItem()) {
      RunGuarded(dm_, this, [this] { lvFilesDblClick(); });
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TfrmSetup::btnReviewClick() {
  if (frmImageReview_) dm_.Dialogs().Show(*frmImageReview_);
}

void TfrmSetup::btnFineTuneClick() {
  if (frmFineTune_) dm_.Dialogs().Show(*frmFineTune_);
}

}  // namespace pictalon
