// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextOptions.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QTextOption>
#include <QVBoxLayout>

#include "NonVis.h"
#include "Settings.h"
#include "TextUtil.h"

namespace pictalon {

namespace {

// Verdana when installed, else the nearest sans-serif face.
QFont VerdanaFont(int pixelSize, bool bold) {
  QFont font("Verdana");
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

void Centre(TMemo* memo) {
  QTextOption option = memo->document()->defaultTextOption();
  option.setAlignment(Qt::AlignHCenter);
  memo->document()->setDefaultTextOption(option);
}

}  // namespace

TIntroMemo::TIntroMemo(QWidget* parent) : TMemo(kIntroSlots * StringSlot::kMaxText, parent) {}

bool TIntroMemo::Fits(const QString& text) const {
  return IntroductionFits(ToStoredText(text));
}

TTextOptionsPage::TTextOptionsPage(TdmNonVis& dm, QWidget* parent) : QWidget(parent), dm_(dm) {
  setObjectName("tsText");
  moTitleText = new TMemo(StringSlot::kMaxText);
  moTitleText->setObjectName("moTitleText");
  moTitleText->setFont(VerdanaFont(27, true));
  moTitleText->setFixedHeight(74);
  Centre(moTitleText);
  moIntroText = new TIntroMemo;
  moIntroText->setObjectName("moIntroText");
  moIntroText->setFont(VerdanaFont(13, false));
  moIntroText->setFixedHeight(140);
  moFooter = new TMemo(StringSlot::kMaxText);
  moFooter->setObjectName("moFooter");
  moFooter->setFont(VerdanaFont(11, false));
  moFooter->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  moFooter->setFixedHeight(qMax(22, moFooter->fontMetrics().height() + 14));
  Centre(moFooter);

  shTxtCol = new TColourSwatch;
  shTxtCol->setObjectName("shTxtCol");
  shTxtCol->setFixedSize(174, 21);
  btnTextColor = new QToolButton;
  btnTextColor->setObjectName("btnTextColor");
  btnTextColor->setText("...");
  SetHint(btnTextColor, tr("Choose the text colour"));
  SetHint(shTxtCol, tr("Text colour"));
  btnTextColor->setFixedSize(20, 18);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FieldLabel(tr("Optional Gallery Title Text:"), moTitleText));
  layout->addWidget(moTitleText);
  layout->addWidget(FieldLabel(tr("Optional Gallery Introduction:"), moIntroText));
  layout->addWidget(moIntroText);
  layout->addWidget(FieldLabel(tr("Optional Gallery Page Footer:"), moFooter));
  layout->addWidget(moFooter);
  layout->addWidget(FieldLabel(tr("Optional Text Colour:"), btnTextColor));
  layout->addLayout(SwatchRow(shTxtCol, btnTextColor));
  layout->addStretch();

  connect(btnTextColor, &QToolButton::clicked, this, Guarded(dm_, this, &TTextOptionsPage::btnTextColorClick));
}

void TTextOptionsPage::Load(const GallerySettings& s, std::vector<TMessage>& problems) {
  const auto show = [](TMemo* memo, TKeptText& kept, const std::string& stored) {
    QString shown = FromStoredText(stored);
    memo->SetText(shown);
    kept.Load(stored, shown);
  };
  show(moTitleText, title_, s.TitleText.get());
  introSlots_ = {s.IntroText1.get(), s.IntroText2.get(), s.IntroText3.get(), s.IntroText4.get()};
  moIntroText->SetText(FromStoredText(JoinIntroduction(s)));
  intro_.Load(introSlots_[0] + introSlots_[1] + introSlots_[2] + introSlots_[3], moIntroText->Text());
  show(moFooter, footer_, s.FooterText.get());
  SetTextColour(StoredColour(s.TextColour.get(), problems));
}

void TTextOptionsPage::Save(GallerySettings& s) const {
  s.TitleText.set(title_.Save(moTitleText->Text(), ToStoredText(moTitleText->Text())));
  const std::string intro = intro_.Save(moIntroText->Text(), ToStoredText(moIntroText->Text()));
  const bool kept = intro == introSlots_[0] + introSlots_[1] + introSlots_[2] + introSlots_[3];
  const std::array<std::string, kIntroSlots> pieces = kept ? introSlots_ : SplitIntroduction(intro);
  s.IntroText1.set(pieces[0]);
  s.IntroText2.set(pieces[1]);
  s.IntroText3.set(pieces[2]);
  s.IntroText4.set(pieces[3]);
  s.FooterText.set(footer_.Save(moFooter->Text(), ToStoredText(moFooter->Text())));
  s.TextColour.set(ColourToHtml(FromQColor(shTxtCol->Colour())));
}

void TTextOptionsPage::SetTextColour(const QColor& colour) {
  shTxtCol->SetColour(colour);
  for (TMemo* memo : {static_cast<TMemo*>(moTitleText), static_cast<TMemo*>(moIntroText), moFooter}) {
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Text, colour);
    memo->setPalette(palette);
  }
}

void TTextOptionsPage::SetMemoBackground(const QColor& colour) {
  for (TMemo* memo : {static_cast<TMemo*>(moTitleText), static_cast<TMemo*>(moIntroText), moFooter}) {
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, colour);
    memo->setPalette(palette);
  }
}

void TTextOptionsPage::btnTextColorClick() {
  if (std::optional<QColor> colour = dm_.Dialogs().ChooseColour(this, shTxtCol->Colour()))
    SetTextColour(*colour);
}

}  // namespace pictalon
