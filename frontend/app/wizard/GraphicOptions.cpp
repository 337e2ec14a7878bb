// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "GraphicOptions.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "Error.h"
#include "NonVis.h"
#include "Platform.h"
#include "Settings.h"
#include "TextUtil.h"

namespace pictalon {

namespace {

//: File types separated by ";;"; the patterns in parentheses stay as they are.
constexpr const char* kPictureFilter = QT_TRANSLATE_NOOP(
    "pictalon::TGraphicOptionsPage",
    "All (*.jpg *.jpeg *.gif *.png);;JPEG Image (*.jpg *.jpeg);;GIF Image (*.gif);;PNG Image (*.png)");

// A preview in a sunken frame of the given outer size.
TPictureBox* MakePreview(const QString& name, int width, int height) {
  auto* preview = new TPictureBox;
  preview->setObjectName(name);
  preview->setFrameShape(QFrame::Panel);
  preview->setFrameShadow(QFrame::Sunken);
  preview->setFixedSize(width, height);
  return preview;
}

}  // namespace

TGraphicOptionsPage::TGraphicOptionsPage(TdmNonVis& dm, QWidget* parent) : QWidget(parent), dm_(dm) {
  setObjectName("tsGraphic");
  const QIcon findIcon = style()->standardIcon(QStyle::SP_DialogOpenButton);
  struct RowDesign {
    const char* label;
    const char* field;
    const char* preview;
    const char* box;
    QSize previewSize;
  };
  const RowDesign designs[3] = {
      {QT_TR_NOOP("Optional 'Logo' Graphic (120w x 180h):"), "ebLogoGraphic", "imgLogo",
       "cbNoGraphic1", {88, 88}},
      {QT_TR_NOOP("Optional Gallery Title Graphic (400w x 100h):"), "ebTitleGraphic", "imgTitle",
       "cbNoGraphic2", {354, 84}},
      {QT_TR_NOOP("Select Optional Background Graphic:"), "ebBgImg", "imgBkGrnd", "cbNoGraphic3",
       {88, 88}},
  };

  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < 3; ++i) {
    const RowDesign& d = designs[i];
    TGraphicRow& row = rows_[i];
    row.field = new QLineEdit;
    row.field->setObjectName(d.field);
    row.field->setFixedWidth(350);
    row.findButton = AddFieldButton(row.field, findIcon, tr("Select a picture..."),
                                    QString(d.field) + "Button");
    row.noGraphic = new QCheckBox(tr("No Graphic"));
    row.noGraphic->setObjectName(d.box);
    row.preview = MakePreview(d.preview, d.previewSize.width(), d.previewSize.height());

    auto* labelLine = new QHBoxLayout;
    labelLine->addWidget(FieldLabel(tr(d.label), row.field));
    labelLine->addStretch();
    labelLine->addWidget(row.noGraphic);
    auto* fieldColumn = new QVBoxLayout;
    fieldColumn->addLayout(labelLine);
    fieldColumn->addWidget(row.field);
    auto* group = new QHBoxLayout;
    group->addLayout(fieldColumn);
    if (i == 1) {
      // The title graphic is wide: its preview sits below the field.
      fieldColumn->addWidget(row.preview);
      group->addStretch();
    } else {
      fieldColumn->addStretch();
      group->addStretch();
      group->addWidget(row.preview);
    }
    layout->addLayout(group);

    const int tag = i + 1;
    connect(row.findButton, &QAction::triggered, this,
            [this, tag] { RunGuarded(dm_, this, [this, tag] { GraphicButtonClick(tag); }); });
    // Runs on every real change of state, the program's own included.
    connect(row.noGraphic, &QCheckBox::toggled, this,
            [this, tag] { RunGuarded(dm_, this, [this, tag] { NoGraphicClick(tag); }); });
  }
  shBgCol = new TColourSwatch;
  shBgCol->setObjectName("shBgCol");
  shBgCol->setFixedSize(174, 21);
  SetHint(shBgCol, tr("Background colour"));
  btnBgCol = new QToolButton;
  btnBgCol->setObjectName("btnBgCol");
  btnBgCol->setText("...");
  btnBgCol->setFixedSize(20, 18);
  SetHint(btnBgCol, tr("Choose the background colour"));
  layout->addWidget(FieldLabel(tr("Select Optional Background Colour:"), btnBgCol));
  layout->addLayout(SwatchRow(shBgCol, btnBgCol));
  layout->addStretch();

  connect(btnBgCol, &QToolButton::clicked, this, Guarded(dm_, this, &TGraphicOptionsPage::btnBgColClick));
}

void TGraphicOptionsPage::Load(const GallerySettings& s, std::vector<TMessage>& problems) {
  const StringSlot* graphics[] = {&s.LogoGraphic, &s.TitleGraphic, &s.BackgroundImage};
  for (int tag = 1; tag <= 3; ++tag) {
    try {
      LoadGraphic(tag, graphics[tag - 1]->get());
    } catch (const std::exception& e) {
      problems.push_back(MessageOf(e));
    }
  }
  const std::string background = s.BackgroundColour.empty() ? "#ffffff" : s.BackgroundColour.get();
  shBgCol->SetColour(StoredColour(background, problems));
}

void TGraphicOptionsPage::Save(GallerySettings& s) const {
  StringSlot* graphics[] = {&s.LogoGraphic, &s.TitleGraphic, &s.BackgroundImage};
  for (std::size_t i = 0; i < rows_.size(); ++i)
    graphics[i]->set(TrimBlanks(rows_[i].path.Save(rows_[i].field->text())));
  s.BackgroundColour.set(ColourToHtml(FromQColor(shBgCol->Colour())));
}

void TGraphicOptionsPage::LoadGraphic(int tag, const std::string& path) {
  TGraphicRow& row = Row(tag);
  row.field->setText(QString::fromStdString(path));
  row.path.Load(path, row.field->text());
  if (!FileExists(path)) {
    row.noGraphic->setChecked(true);
    return;
  }
  row.noGraphic->setChecked(false);
  // The previous gallery's picture must not stay when this one cannot be shown.
  row.preview->Clear();
  row.preview->LoadFromFile(path);
}

void TGraphicOptionsPage::GraphicButtonClick(int tag) {
  TFileDialogOptions options;
  options.filter = tr(kPictureFilter);
  QString path = dm_.Dialogs().OpenPicture(this, options);
  if (path.isEmpty()) return;
  TGraphicRow& row = Row(tag);
  row.field->setText(path);
  row.preview->LoadFromFile(path.toStdString());
  row.noGraphic->setChecked(false);
}

void TGraphicOptionsPage::NoGraphicClick(int tag) {
  TGraphicRow& row = Row(tag);
  if (!row.noGraphic->isChecked()) return;
  row.field->clear();
  row.preview->Clear();
}

void TGraphicOptionsPage::btnBgColClick() {
  TGraphicRow& background = Row(3);
  if (!background.field->text().isEmpty()) {
    // The pages show a background graphic in preference to the colour.
    if (!dm_.Dialogs().ConfirmBox(
            this,
            tr("As you have already selected a background graphic,\n"
               "setting a background colour will have no effect.\n\n"
               "If you prefer to select a background colour instead\n"
               "of a graphic, click the \"Yes\" button to continue")))
      return;
    background.field->clear();
    background.preview->Clear();
  }
  if (std::optional<QColor> colour = dm_.Dialogs().ChooseColour(this, shBgCol->Colour())) {
    shBgCol->SetColour(*colour);
    emit backgroundColourChosen(*colour);
  }
}

}  // namespace pictalon
