// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A minimal host of the engine library that offers no failure reporter: loads libPictgen.so from
// its own folder once, calls the export for every argument and prints each result.
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  char exe[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return 3;
  std::string folder(exe, static_cast<std::size_t>(n));
  folder.erase(folder.rfind('/') + 1);
  void* library = ::dlopen((folder + "libPictgen.so").c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!library) return 3;
  auto run = reinterpret_cast<bool (*)(const char*)>(::dlsym(library, "RunPictalonGenerator"));
  if (!run) return 3;
  for (int i = 1; i < argc; ++i) std::printf("%s\n", run(argv[i]) ? "true" : "false");
  std::printf("%s\n", run(nullptr) ? "true" : "false");
  ::dlclose(library);
  return 0;
}
