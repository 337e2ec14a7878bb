// Settings binding: the wizard's and the fine-tune dialog's controls to and from the current
// settings record and the gallery file.
#include "Settings.h"

#include <QApplication>
#include <QButtonGroup>

#include "Error.h"
#include "FineTune.h"
#include "GalleryFile.h"
#include "GalleryImages.h"
#include "GalleryOptions.h"
#include "Helpers.h"
#include "GraphicOptions.h"
#include "Main.h"
#include "NonVis.h"
#include "Platform.h"
#include "TextOptions.h"
#include "TextUtil.h"
#include "WorkingFiles.h"

namespace pictalon {

std::array<std::string, kIntroSlots> SplitIntroduction(const std::string& stored) {
  std::array<std::string, kIntroSlots> pieces;
  if (IsBlank(stored)) {
    pieces.fill(std::string(CutUtf8(stored, StringSlot::kMaxText)));
    return pieces;
  }
  std::string_view rest = stored;
  for (std::string& piece : pieces) {
    piece = CutUtf8(rest, StringSlot::kMaxText);
    rest.remove_prefix(piece.size());
  }
  return pieces;
}

bool IntroductionFits(const std::string& stored) {
  if (IsBlank(stored)) return stored.size() <= StringSlot::kMaxText;
  std::size_t taken = 0;
  for (const std::string& piece : SplitIntroduction(stored)) taken += piece.size();
  return taken == stored.size();
}

std::string JoinIntroduction(const GallerySettings& s) {
  return std::string(TrimBlanks(s.IntroText1.get() + s.IntroText2.get() + s.IntroText3.get() +
                                s.IntroText4.get()));
}

QColor ToQColor(TColor colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

TColor FromQColor(const QColor& colour) {
  return TColor(colour.red()) | TColor(colour.green()) << 8 | TColor(colour.blue()) << 16;
}

namespace {

// A stored colour for display; a text that is no colour at all is reported and shown as white.
QColor StoredColour(const std::string& text, std::vector<std::string>& problems) {
  try {
    return ToQColor(HtmlToColour(text));
  } catch (const Error& e) {
    problems.push_back(e.what());
    return ToQColor(kNoColour);
  }
}

}  // namespace

void TfrmSetup::ApplyDefaults() {
  ApplyDefaultSettings(settings_);
  LoadForm();
}

void TfrmSetup::LoadForm() {
  // A damaged picture or colour text must not stop the rest of the gallery from loading: what
  // cannot be shown is reported once, after everything else is in place.
  std::vector<std::string> problems;
  auto attempt = [&problems](const std::function<void()>& step) {
    try {
      step();
    } catch (const std::exception& e) {
      problems.push_back(e.what());
    }
  };
  GallerySettings& s = settings_;

  tsText->moTitleText->SetText(FromStoredText(s.TitleText.get()));
  tsText->moIntroText->SetText(FromStoredText(JoinIntroduction(s)));
  tsText->moFooter->SetText(FromStoredText(s.FooterText.get()));
  tsText->SetTextColour(StoredColour(s.TextColour.get(), problems));

  const StringSlot* graphics[] = {&s.LogoGraphic, &s.TitleGraphic, &s.BackgroundImage};
  for (int tag = 1; tag <= 3; ++tag) {
    attempt([&] { tsGraphic->LoadGraphic(tag, graphics[tag - 1]->get()); });
  }

  std::string styleName = CellStyleNameOfFile(ExtractFileName(s.CellStyleSheet.get()));
  attempt([&] { tsGallery->SelectCellStyle(styleName); });

  if (s.BackgroundColour.empty()) s.BackgroundColour.set("#ffffff");
  QColor background = StoredColour(s.BackgroundColour.get(), problems);
  tsGraphic->SetBackgroundColour(background);
  tsText->SetMemoBackground(background);

  tsGallOpt->cbTemplates->setEditText(QString::fromStdString(s.TemplateName.get()));
  if (tsGallOpt->cbTemplates->currentText().isEmpty()) tsGallOpt->cbTemplates->setEditText("PictBase.html");

  tsGallery->LoadImageFolder(s.ImageFolder.get());
  tsGallery->ebURL->setText(QString::fromStdString(s.ImageURL.get()));
  tsGallOpt->ebOutput->setText(QString::fromStdString(s.OutputFolder.get()));
  if (tsGallOpt->ebOutput->text().isEmpty())
    tsGallOpt->ebOutput->setText(QString::fromStdString(GetDefaultOutputFolder()));
  tsGallOpt->ebBackLinkURL->setText(QString::fromStdString(s.BackLinkURL.get()));
  tsGallOpt->seCols->setValue(s.Columns.get());
  tsGallOpt->seRows->setValue(s.Rows.get());

  switch (s.ScalingMode) {
    case 0:
      tsGallOpt->rbProp->setChecked(true);
      tsGallOpt->seProp->setValue(s.ThumbSize.get());
      break;
    case 1:
      tsGallOpt->rbHeight->setChecked(true);
      tsGallOpt->seHeight->setValue(s.ThumbSize.get());
      break;
    case 2:
      tsGallOpt->rbWidth->setChecked(true);
      tsGallOpt->seWidth->setValue(s.ThumbSize.get());
      break;
    default:
      break;
  }

  tsGallery->cbFNameAsCaption->setChecked(s.FileNameAsCaption.get());
  tsGallOpt->cbNoRClick->setChecked(s.DisableRightClick.get());
  tsGallOpt->cbNoIEImgToolbar->setChecked(s.DisableImageToolbar.get());
  tsGallOpt->cbCopyImgs->setChecked(s.CopyImages.get());

  if (frmFineTune_) {
    TfrmFineTune& f = *frmFineTune_;
    f.neTableWidth->setValue(s.TableWidth.get());
    if (f.neTableWidth->value() == 0) f.neTableWidth->setValue(100);
    // The stored unit wins over the one the width change just chose.
    f.cbTableWidthType->setCurrentIndex(s.TableWidthUnit.get() < f.cbTableWidthType->count()
                                            ? s.TableWidthUnit.get()
                                            : -1);
    f.seCellspacing->setValue(s.CellSpacing.get());
    f.cbHyperlink->setChecked(s.HyperlinkImages.get());
    f.cbHyperlinkClick();
    f.SetHyperlinkItemIndex(s.HyperlinkMode);
    f.cbNewWindow->setChecked(s.LinkInNewWindow.get());
  }

  ReportLoadProblems(problems);
}

void TfrmSetup::ReportLoadProblems(const std::vector<std::string>& problems) {
  if (problems.empty()) return;
  std::string message;
  for (const std::string& problem : problems) message += (message.empty() ? "" : "\n") + WithFullStop(problem);
  dm_.ShowGeneralError(this, QString::fromStdString(message));
}

void TfrmSetup::SaveForm() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  struct RestoreCursor {
    ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
  } restore;
  GallerySettings& s = settings_;

  s.TitleText.set(ToStoredText(tsText->moTitleText->Text()));
  std::array<std::string, kIntroSlots> intro = SplitIntroduction(ToStoredText(tsText->moIntroText->Text()));
  s.IntroText1.set(intro[0]);
  s.IntroText2.set(intro[1]);
  s.IntroText3.set(intro[2]);
  s.IntroText4.set(intro[3]);
  s.FooterText.set(ToStoredText(tsText->moFooter->Text()));
  s.TextColour.set(ColourToHtml(FromQColor(tsText->shTxtCol->Colour())));
  s.LogoGraphic.set(TrimBlanks(tsGraphic->ebLogoGraphic->text().toStdString()));
  s.TitleGraphic.set(TrimBlanks(tsGraphic->ebTitleGraphic->text().toStdString()));
  s.BackgroundImage.set(TrimBlanks(tsGraphic->ebBgImg->text().toStdString()));
  s.CellStyleSheet.set(tsGallery->CurrentCellStyleSheet());
  s.BackgroundColour.set(ColourToHtml(FromQColor(tsGraphic->shBgCol->Colour())));
  s.TemplateName.set(tsGallOpt->cbTemplates->currentText().toStdString());
  s.ImageFolder.set(tsGallery->ImageFolder());
  s.ImageURL.set(tsGallery->ebURL->text().toStdString());
  std::string output = tsGallOpt->ebOutput->text().toStdString();
  s.OutputFolder.set(IsBlank(output) ? GetDefaultOutputFolder() : output);
  s.Columns.set(tsGallOpt->seCols->value());
  s.Rows.set(tsGallOpt->seRows->value());
  if (tsGallOpt->rbProp->isChecked()) {
    s.ScalingMode = 0;
    s.ThumbSize.set(tsGallOpt->seProp->value());
  } else if (tsGallOpt->rbHeight->isChecked()) {
    s.ScalingMode = 1;
    s.ThumbSize.set(tsGallOpt->seHeight->value());
  } else if (tsGallOpt->rbWidth->isChecked()) {
    s.ScalingMode = 2;
    s.ThumbSize.set(tsGallOpt->seWidth->value());
  }
  s.BackLinkURL.set(tsGallOpt->ebBackLinkURL->text().toStdString());
  s.FileNameAsCaption.set(tsGallery->cbFNameAsCaption->isChecked());
  s.DisableRightClick.set(tsGallOpt->cbNoRClick->isChecked());
  s.DisableImageToolbar.set(tsGallOpt->cbNoIEImgToolbar->isChecked());
  s.CopyImages.set(tsGallOpt->cbCopyImgs->isChecked());
  if (frmFineTune_) {
    TfrmFineTune& f = *frmFineTune_;
    s.TableWidth.set(f.neTableWidth->value());
    s.TableWidthUnit.set(f.TableWidthUnitIndex());
    s.CellSpacing.set(f.seCellspacing->value());
    s.HyperlinkImages.set(f.cbHyperlink->isChecked());
    s.HyperlinkMode = static_cast<std::uint8_t>(f.HyperlinkItemIndex());
    s.LinkInNewWindow.set(f.cbNewWindow->isChecked());
  }

  WriteGallery(currentGalleryFile_);
}

}  // namespace pictalon
