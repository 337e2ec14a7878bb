// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sample gallery: "Sample.pgs" with its image details file, eight pictures shipped in the
// data folder's "Samples/", so that a new user has a gallery that shows off the pages at once.
#include <string>

namespace pictalon {

struct TSamplePlace {
  std::string programFolder;   // holds Data/Samples/ and the cell style sheets; ends with '/'
  std::string userDataFolder;  // receives Sample.pgs and Sample.dat; ends with '/'
  std::string outputFolder;    // where its pages go
  std::string backLink;        // the pages' "Back" link, which leads to the user guide
};

// Writes the sample gallery and its details (measuring the pictures) through the program's own
// writers. False with error set when a picture cannot be read or a file cannot be written.
bool WriteSampleGallery(const TSamplePlace& place, std::string& error);

// Called by the programs at start. In the installed layout, when this user has no user data
// folder yet (the first start), creates it with the sample gallery: its pictures stay in the
// program folder, its pages go to the user's default output folder and its "Back" link leads to
// the installed guide. True when the sample was written; a later start never writes it again,
// so a user who deletes it keeps it deleted.
bool ProvideSampleGallery();

}  // namespace pictalon
