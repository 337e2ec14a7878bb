// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "WizardFixture.h"

#include <QApplication>
#include <QMessageBox>
#include <QtTest>

#include <filesystem>

#include "GalleryFile.h"
#include "Platform.h"
#include "WizardFrame.h"

namespace fs = std::filesystem;

namespace pictalon::test {

void ResetProgramFolder() {
  const std::string program = GetProgramFolder();
  for (const char* name : {"Data", "Templates", "Output", "Cell Sampler", "Guide", "~imgList.dat"})
    fs::remove_all(program + name);
  fs::copy(PICTALON_SOURCE_DATA "/Data", program + "Data", fs::copy_options::recursive);
  fs::copy(PICTALON_SOURCE_DATA "/Templates", program + "Templates", fs::copy_options::recursive);
}

std::string InProgram(const std::string& relative) { return GetProgramFolder() + relative; }

GallerySettings DefaultSettings() {
  GallerySettings settings{};
  ApplyDefaultSettings(settings, GetProgramFolder());
  return settings;
}

std::string WriteGallery(const std::string& name, const GallerySettings& settings) {
  std::string written;
  WriteGalleryFile(GetUserDataFolder() + name, settings, written);
  return written;
}

GallerySettings ReadBack(const std::string& path) {
  GallerySettings settings{};
  ReadGalleryFile(path, settings);
  return settings;
}

QString VisibleTabs(TfrmSetup& w) {
  QString tabs;
  const TPageTabs* bar = Child<TPageTabs>(w, "PageControl1");
  if (bar->isVisible())
    for (int i = 0; i < bar->count(); ++i)
      if (bar->isTabVisible(i)) tabs += QString::number(bar->PageAt(i));
  return tabs.isEmpty() ? "-" : tabs;
}

int CurrentTab(TfrmSetup& w) {
  const TPageTabs* bar = Child<TPageTabs>(w, "PageControl1");
  return bar->PageAt(bar->currentIndex());
}

void ClickTab(TfrmSetup& w, int page) {
  TPageTabs* bar = Child<TPageTabs>(w, "PageControl1");
  QVERIFY(bar->TabOf(page) >= 0);
  bar->setCurrentIndex(bar->TabOf(page));
}

TStartedProgram::TStartedProgram(const std::string& argument, bool show) {
  auto scripted = std::make_unique<TScriptedDialogs>();
  dialogs = scripted.get();
  program = std::make_unique<TProgram>(argument, std::move(scripted));
  if (show && !program->Terminated()) program->frmSetup->show();
}

TEngineBoxes::TEngineBoxes(TScriptedDialogs& dialogs) {
  QObject::connect(&watcher_, &QTimer::timeout, [&dialogs] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      dialogs.log << "Engine: " + box->text();
      box->accept();
    }
  });
  watcher_.start(10);
}

}  // namespace pictalon::test
