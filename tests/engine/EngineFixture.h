// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A program folder of the engine's own in a temporary folder, a recording UI, and a run state
// with the settings of a new gallery.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "EngineUi.h"
#include "GalleryFile.h"
#include "GenerationRun.h"
#include "Platform.h"
#include "TestSupport.h"
#include "TypeDef.h"
#include "WorkingFiles.h"

namespace pictalon::test {

class RecordingUi : public TEngineUi {
public:
  void ShowMessage(const TMessage& text) override { events.push_back("message: " + text.Text()); }
  void ShowError(const TMessage& text) override { events.push_back("error: " + text.Text()); }
  void OpenProgress() override { events.push_back("open"); }
  void SetProgress(int position) override { progress.push_back(position); }
  void CloseProgress() override { events.push_back("close"); }
  void ProcessMessages() override {
    ++processed;
    if (betweenPages) betweenPages();
  }

  std::vector<std::string> events;
  std::vector<int> progress;
  int processed = 0;
  std::function<void()> betweenPages;  // runs where the engine lets the host work after a page
};

class EngineTest : public testing::Test {
protected:
  EngineTest() : program_(dir.path()), run(ui) {
    run.programFolder = dir.path();
    run.dataFolder = dir.path() + "Data/";
    ApplyDefaultSettings(run.settings, dir.path());
    dir.write("Data/pictalon.css", "body {\r\n  margin: 0;\r\n}\r\n");
    dir.write("Data/gallerycell6.css", ".gallerycell {\r\n  color: #333333;\r\n}\r\n");
    run.rows = run.settings.Rows.get();
    run.columns = run.settings.Columns.get();
  }

  std::string Out() const { return dir.path() + "Output/"; }
  std::string Image(const std::string& name, int width, int height) const {
    return dir.write("photos/" + name, MakeJpeg(width, height));
  }
  void SetTemplate(const std::string& text) const { dir.write("Templates/PictBase.html", text); }

  // Writes the gallery file and the image list file, then runs the engine's generation run.
  bool Generate(const std::vector<std::string>& images) {
    std::string written;
    settingsPath = dir.path() + "Data/User/Test.pgs";
    ForceDirectories(dir.path() + "Data/User");
    EXPECT_TRUE(WriteGalleryFile(settingsPath, run.settings, run.tail, written));
    EXPECT_TRUE(WriteImageListFile(dir.path() + kImageListFileName, images));
    return RunGeneration(settingsPath, ui);
  }

  TempDir dir;
  ProgramFolderOverride program_;
  RecordingUi ui;
  TRunState run;
  std::string settingsPath;
};

}  // namespace pictalon::test
