// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's windows: the progress window TfrmMain and its message boxes, when the host runs a
// Qt GUI application.
#include "EngineUi.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QScreen>

#include "TextUtil.h"

namespace pictalon {

namespace {

constexpr const char* kCaption = "Pictalon Generator";

// A message of the run in the program's language.
std::string Translated(const TMessage& message) {
  return message.TextIn([](const char* context, const char* source) {
    return QCoreApplication::translate(context, source).toStdString();
  });
}

// A small fixed dialog with a label and a bar, centred on the screen, without title-bar buttons.
class TfrmMain : public QDialog {
public:
  TfrmMain() : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(kCaption);
    setFixedSize(317, 85);
    Label1 = new QLabel(QCoreApplication::translate("pictalon::TEngineUi", "Generating web pages..."), this);
    Label1->move(12, 15);
    Progress = new QProgressBar(this);
    Progress->setGeometry(11, 34, 295, 16);
    Progress->setRange(0, 100);
    Progress->setValue(0);
    Progress->setTextVisible(false);
    if (QScreen* screen = QGuiApplication::primaryScreen())
      move(screen->availableGeometry().center() - rect().center());
  }

  QLabel* Label1;
  QProgressBar* Progress;
};

class TGuiEngineUi : public TEngineUi {
public:
  void ShowMessage(const TMessage& text) override {
    QMessageBox box(QMessageBox::NoIcon, kCaption, QString::fromStdString(Translated(text)),
                    QMessageBox::Ok);
    box.exec();
  }
  void ShowError(const TMessage& text) override {
    QMessageBox box(QMessageBox::Critical, kCaption,
                    QString::fromStdString(WithFullStop(Translated(text))), QMessageBox::Ok);
    box.exec();
  }
  void OpenProgress() override {
    form_ = std::make_unique<TfrmMain>();
    form_->show();
    ProcessMessages();
  }
  void SetProgress(int position) override {
    if (form_) form_->Progress->setValue(position);
  }
  void CloseProgress() override {
    if (!form_) return;
    form_->close();
    form_.reset();
  }
  void ProcessMessages() override { QCoreApplication::processEvents(); }

private:
  std::unique_ptr<TfrmMain> form_;
};

}  // namespace

std::unique_ptr<TEngineUi> MakeGuiEngineUi() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()))
    return std::make_unique<TGuiEngineUi>();
  return nullptr;
}

}  // namespace pictalon
