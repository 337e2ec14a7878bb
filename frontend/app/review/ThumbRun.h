// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The loop of a thumbnail run: the maker's thumbnails into the review window's list, in list
// order, with the window handling its events meanwhile.
#include <QListView>
#include <QProgressBar>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

namespace pictalon {

class TThumbMaker;
class TThumbModel;

// Appends to model the thumbnails maker makes of images, in list order, until every image is
// done or stopped() says to end; the newest come into view every tenth, unless the user is looking
// at one. The program's events are handled at least every 20 ms (where Stop and closing take
// effect); a request to quit calls onQuit. Returns the error report's lines: per failed image
// its file name, "Error: " with the message, and an empty line.
QStringList RunThumbnails(TThumbMaker& maker, const std::vector<std::string>& images,
                          TThumbModel& model, QListView& view, QProgressBar& progress,
                          const std::function<bool()>& stopped, const std::function<void()>& onQuit);

}  // namespace pictalon
