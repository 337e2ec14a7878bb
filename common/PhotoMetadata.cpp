// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "PhotoMetadata.h"

#include <sys/stat.h>

#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "GalleryFile.h"
#include "Platform.h"
#include "TextUtil.h"

namespace pictalon {
namespace {

std::once_flag prepared;

void XmpLock(void* mutex, bool lock) {
  if (lock) static_cast<std::mutex*>(mutex)->lock();
  else static_cast<std::mutex*>(mutex)->unlock();
}

// The XMP toolkit is initialised once per process, by whichever copy of this module asks first;
// the engine library's copy may be unloaded, so only a program (which calls PreparePhotoMetadata
// up front and is never unloaded) hands the toolkit a lock function.
void Prepare(bool withLock) {
  std::call_once(prepared, [withLock] {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::LogMsg::setHandler(nullptr);
    static std::mutex xmpMutex;
    try {
      if (withLock) Exiv2::XmpParser::initialize(XmpLock, &xmpMutex);
      else Exiv2::XmpParser::initialize();
    } catch (...) {
      // Without the toolkit the XMP packets are skipped; IPTC and Exif still read.
    }
  });
}

bool IsUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t extra;
    if (c < 0x80) extra = 0;
    else if (c >= 0xC2 && c <= 0xDF) extra = 1;
    else if (c >= 0xE0 && c <= 0xEF) extra = 2;
    else if (c >= 0xF0 && c <= 0xF4) extra = 3;
    else return false;
    if (text.size() - i <= extra) return false;
    for (std::size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += char(code);
  } else if (code < 0x800) {
    out += char(0xC0 | (code >> 6));
    out += char(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += char(0xE0 | (code >> 12));
    out += char(0x80 | ((code >> 6) & 0x3F));
    out += char(0x80 | (code & 0x3F));
  } else {
    out += char(0xF0 | (code >> 18));
    out += char(0x80 | ((code >> 12) & 0x3F));
    out += char(0x80 | ((code >> 6) & 0x3F));
    out += char(0x80 | (code & 0x3F));
  }
}

// Text of a format that does not say its encoding (IPTC without its UTF-8 marker, Exif): UTF-8
// when it is valid UTF-8, else Latin-1, as older programs wrote it.
std::string AsUtf8(const std::string& bytes) {
  if (IsUtf8(bytes)) return bytes;
  std::string out;
  for (unsigned char c : bytes) AppendUtf8(out, c);
  return out;
}

// XPTitle: UTF-16LE bytes, ended by a zero character.
std::string FromUtf16Le(const std::vector<unsigned char>& bytes) {
  std::string out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t unit = char32_t(bytes[i] | (bytes[i + 1] << 8));
    if (unit == 0) break;
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
      const char32_t low = char32_t(bytes[i + 2] | (bytes[i + 3] << 8));
      if (low >= 0xDC00 && low < 0xE000) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    if (unit >= 0xD800 && unit < 0xE000) unit = 0xFFFD;  // a lone half
    AppendUtf8(out, unit);
  }
  return out;
}

// The texts cameras write into every photo: no one's title.
bool IsCameraText(std::string_view text) {
  static constexpr const char* kFixed[] = {
      "OLYMPUS DIGITAL CAMERA", "SONY DSC",          "DIGITAL CAMERA",
      "MINOLTA DIGITAL CAMERA", "KONICA MINOLTA DIGITAL CAMERA",
      "SAMSUNG DIGITAL CAMERA", "PENTAX DIGITAL CAMERA", "KODAK DIGITAL STILL CAMERA",
      "EXIF_JPEG_PICTURE",      "LEAD Technologies Inc. V1.01", "DEFAULT"};
  return std::any_of(std::begin(kFixed), std::end(kFixed),
                     [&](const char* fixed) { return SameTextIgnoringCase(text, fixed); });
}

// A title or description as it is shown: trimmed, and empty for a camera's fixed text.
std::string Clean(const std::string& text) {
  std::string trimmed(TrimBlanks(text));
  return IsCameraText(trimmed) ? std::string() : trimmed;
}

// An XMP text; for a language alternative, the entry of language ("de" matches "de" and "de-DE"),
// else x-default.
std::string XmpText(const Exiv2::XmpData& xmp, const char* key, const std::string& language) {
  auto it = xmp.findKey(Exiv2::XmpKey(key));
  if (it == xmp.end()) return {};
  if (it->typeId() != Exiv2::langAlt) return it->toString();
  const auto& alternatives = dynamic_cast<const Exiv2::LangAltValue&>(it->value()).value_;
  if (!language.empty()) {
    for (const auto& [lang, text] : alternatives) {
      if (SameTextIgnoringCase(lang, language) ||
          (lang.size() > language.size() && lang[language.size()] == '-' &&
           SameTextIgnoringCase(lang.substr(0, language.size()), language)))
        return text;
    }
  }
  for (const auto& [lang, text] : alternatives)
    if (SameTextIgnoringCase(lang, "x-default")) return text;
  return {};
}

std::string IptcText(const Exiv2::IptcData& iptc, const char* key, bool utf8) {
  auto it = iptc.findKey(Exiv2::IptcKey(key));
  if (it == iptc.end()) return {};
  const std::string bytes = it->toString();
  return utf8 && IsUtf8(bytes) ? bytes : AsUtf8(bytes);
}

std::string ExifText(const Exiv2::ExifData& exif, const char* key) {
  auto it = exif.findKey(Exiv2::ExifKey(key));
  return it == exif.end() ? std::string() : AsUtf8(it->toString());
}

std::string XpTitle(const Exiv2::ExifData& exif) {
  auto it = exif.findKey(Exiv2::ExifKey("Exif.Image.XPTitle"));
  if (it == exif.end() || it->size() == 0) return {};
  std::vector<unsigned char> bytes(it->size());
  it->copy(bytes.data(), Exiv2::littleEndian);
  return FromUtf16Le(bytes);
}

// "YYYY:MM:DD HH:MM:SS" (Exif) or "YYYY-MM-DDTHH:MM:SS+zone" (XMP) as "YYYY-MM-DD HH:MM:SS", as far
// as the text goes; empty when it does not start with a year other than 0.
std::string TimeText(std::string_view text) {
  static constexpr char kPattern[] = "dddd-dd-dd dd:dd:dd";
  std::string out;
  for (std::size_t i = 0; i < sizeof kPattern - 1 && i < text.size(); ++i) {
    const char c = text[i];
    if (kPattern[i] == 'd') {
      if (c < '0' || c > '9') break;
      out += c;
    } else if (c == ':' || c == '-' || c == ' ' || c == 'T') {
      out += kPattern[i];
    } else {
      break;
    }
  }
  // Only whole fields count: a date, a date and hour and minute, or all of it.
  for (std::size_t length : {19u, 16u, 10u, 7u, 4u}) {
    if (out.size() >= length) {
      out.resize(length);
      return out.compare(0, 4, "0000") == 0 ? std::string() : out;
    }
  }
  return {};
}

// The bytes of a JPEG before its image data (where all its metadata segments are), followed by an
// end marker; the whole file for anything else. A camera's 10 MB photo carries some 50 KB of
// them, and Exiv2 reading from memory spends its time on the metadata, not on the file.
std::string MetadataBytes(const std::string& path) {
  std::string bytes;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return bytes;
  auto readMore = [&](std::size_t want) {
    const std::size_t had = bytes.size();
    bytes.resize(had + want);
    bytes.resize(had + std::fread(&bytes[had], 1, want, file));
    return bytes.size() > had;
  };
  readMore(64 * 1024);
  const bool jpeg = bytes.size() >= 4 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
                    static_cast<unsigned char>(bytes[1]) == 0xD8;
  std::size_t at = 2;
  while (jpeg) {
    while (bytes.size() < at + 4)
      if (!readMore(64 * 1024)) break;
    if (bytes.size() < at + 4 || static_cast<unsigned char>(bytes[at]) != 0xFF) break;
    const unsigned char marker = static_cast<unsigned char>(bytes[at + 1]);
    if (marker == 0xDA || marker == 0xD9) {  // image data, or the end: nothing more to read
      bytes.resize(at);
      bytes += "\xFF\xD9";
      std::fclose(file);
      return bytes;
    }
    if (marker == 0xFF) { ++at; continue; }  // fill byte
    at += 2 + ((static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]));
    while (bytes.size() < at + 4 && readMore(std::max<std::size_t>(64 * 1024, at + 4 - bytes.size()))) {
    }
  }
  // Not a JPEG as expected: Exiv2 gets all of it and decides.
  while (readMore(1024 * 1024)) {
  }
  std::fclose(file);
  return bytes;
}

}  // namespace

void PreparePhotoMetadata() { Prepare(true); }

std::string UserLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (!value || !*value) continue;
    std::string locale(value);
    locale = locale.substr(0, locale.find_first_of("_.@"));
    return locale == "C" || locale == "POSIX" ? std::string() : AsciiLower(locale);
  }
  return {};
}

TPhotoMetadata ReadPhotoMetadata(const std::string& path, const std::string& language) {
  Prepare(false);
  TPhotoMetadata meta;
  try {
    const std::string bytes = MetadataBytes(path);
    if (bytes.empty()) return meta;
    Exiv2::Image::AutoPtr image =
        Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(bytes.data()), long(bytes.size()));
    if (!image.get()) return meta;
    image->readMetadata();
    const Exiv2::XmpData& xmp = image->xmpData();
    const Exiv2::IptcData& iptc = image->iptcData();
    const Exiv2::ExifData& exif = image->exifData();
    auto marker = iptc.findKey(Exiv2::IptcKey("Iptc.Envelope.CharacterSet"));
    const bool iptcUtf8 = marker != iptc.end() && marker->toString() == "\x1b%G";

    const std::string titles[] = {XmpText(xmp, "Xmp.dc.title", language),
                                  IptcText(iptc, "Iptc.Application2.ObjectName", iptcUtf8),
                                  ExifText(exif, "Exif.Image.ImageDescription"), XpTitle(exif)};
    for (const std::string& title : titles) {
      meta.title = Clean(title);
      if (!meta.title.empty()) break;
    }
    meta.description = Clean(XmpText(xmp, "Xmp.dc.description", language));
    if (meta.description.empty())
      meta.description = Clean(IptcText(iptc, "Iptc.Application2.Caption", iptcUtf8));
    meta.taken = TimeText(ExifText(exif, "Exif.Photo.DateTimeOriginal"));
    if (meta.taken.empty()) meta.taken = TimeText(XmpText(xmp, "Xmp.photoshop.DateCreated", language));
  } catch (...) {
    // A damaged block: what was read before it stands, the rest is unknown.
  }
  return meta;
}

namespace {

struct TCacheEntry {
  long long size, seconds, nanoseconds;
  TPhotoMetadata meta;
  unsigned snapshot = 0;  // the snapshot in which the photo was last looked at; 0 for none
};

// The process's cache, loaded from the cache file at the first use.
struct TCache {
  std::mutex mutex;
  bool loaded = false, dirty = false;
  unsigned snapshot = 0, lastSnapshot = 0;  // the living snapshot (0 for none) and the last one
  std::string language;
  std::unordered_map<std::string, TCacheEntry> entries;
};

TCache& Cache() {
  static TCache cache;
  return cache;
}

// Where the cache file is; reading it never creates the folder, writing does.
std::string CacheFilePath(bool forWriting) {
  return (forWriting ? GetUserDataFolder() : GetUserDataFolderPath()) + "photo-metadata.cache";
}

constexpr char kCacheHeader[] = "Pictalon photo metadata 1 ";

// Fields are separated by tabs and lines end with LF; a tab, line break or backslash inside a
// text is written as \t, \n, \r or \\.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\\': out += "\\\\"; break;
      default: out += c; break;
    }
  }
  return out;
}

std::string Unescaped(std::string_view text) {
  if (text.find('\\') == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
  }
  return out;
}

// Reads the cache file; a file of another language or version, or a damaged line, is ignored.
void LoadCache(TCache& cache) {
  cache.loaded = true;
  cache.language = UserLanguage();
  std::string bytes;
  if (!ReadWholeFile(CacheFilePath(false), bytes)) return;
  std::size_t start = 0;
  bool first = true;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) break;  // a cut last line
    std::string_view line(bytes.data() + start, end - start);
    start = end + 1;
    if (first) {
      first = false;
      if (line != kCacheHeader + cache.language) return;
      continue;
    }
    std::string_view fields[7];
    std::size_t n = 0, at = 0;
    while (n < 7) {
      const std::size_t tab = line.find('\t', at);
      fields[n++] = line.substr(at, tab == std::string_view::npos ? line.size() - at : tab - at);
      if (tab == std::string_view::npos) break;
      at = tab + 1;
    }
    if (n != 7) continue;
    TCacheEntry entry{};
    char* stop = nullptr;
    const std::string numbers = std::string(fields[1]) + " " + std::string(fields[2]) + " " + std::string(fields[3]);
    entry.size = std::strtoll(numbers.c_str(), &stop, 10);
    entry.seconds = std::strtoll(stop, &stop, 10);
    entry.nanoseconds = std::strtoll(stop, &stop, 10);
    entry.meta = {Unescaped(fields[4]), Unescaped(fields[5]), Unescaped(fields[6])};
    cache.entries[Unescaped(fields[0])] = std::move(entry);
  }
}

}  // namespace

TPhotoMetadataSnapshot::TPhotoMetadataSnapshot() {
  TCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  cache.snapshot = ++cache.lastSnapshot;
}

TPhotoMetadataSnapshot::~TPhotoMetadataSnapshot() {
  TCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  cache.snapshot = 0;
}

TPhotoMetadata PhotoMetadata(const std::string& path) {
  TCache& cache = Cache();
  {
    std::lock_guard<std::mutex> lock(cache.mutex);
    if (!cache.loaded) LoadCache(cache);
    auto it = cache.entries.find(path);
    if (cache.snapshot && it != cache.entries.end() && it->second.snapshot == cache.snapshot)
      return it->second.meta;
  }
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  std::string language;
  {
    std::lock_guard<std::mutex> lock(cache.mutex);
    auto it = cache.entries.find(path);
    if (it != cache.entries.end() && it->second.size == st.st_size &&
        it->second.seconds == st.st_mtim.tv_sec && it->second.nanoseconds == st.st_mtim.tv_nsec) {
      it->second.snapshot = cache.snapshot;
      return it->second.meta;
    }
    language = cache.language;
  }
  TPhotoMetadata meta = ReadPhotoMetadata(path, language);
  std::lock_guard<std::mutex> lock(cache.mutex);
  cache.entries[path] = TCacheEntry{st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, meta, cache.snapshot};
  cache.dirty = true;
  return meta;
}

bool SavePhotoMetadataCache() {
  TCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  if (!cache.dirty) return true;
  std::string text = kCacheHeader + cache.language + "\n";
  for (auto it = cache.entries.begin(); it != cache.entries.end();) {
    if (!FileExists(it->first)) {
      it = cache.entries.erase(it);
      continue;
    }
    const TCacheEntry& e = it->second;
    text += Escaped(it->first) + "\t" + std::to_string(e.size) + "\t" + std::to_string(e.seconds) + "\t" +
            std::to_string(e.nanoseconds) + "\t" + Escaped(e.meta.title) + "\t" +
            Escaped(e.meta.description) + "\t" + Escaped(e.meta.taken) + "\n";
    ++it;
  }
  if (!WriteFileAtomic(CacheFilePath(true), text)) return false;
  cache.dirty = false;
  return true;
}

namespace {
constexpr char kTitlesHeader[] = "Pictalon photo titles 1";
}  // namespace

bool WritePhotoTitlesFile(const std::string& path, const std::vector<std::string>& images) {
  std::string text = std::string(kTitlesHeader) + "\n";
  for (const std::string& image : images)
    text += Escaped(image) + "\t" + Escaped(PhotoMetadata(image).title) + "\n";
  return WriteFileAtomic(path, text);
}

bool ReadPhotoTitlesFile(const std::string& path, const std::vector<std::string>& images,
                         std::vector<std::string>& titles) {
  titles.clear();
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  std::string_view rest(bytes);
  auto nextLine = [&rest](std::string_view& line) {
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) return false;
    line = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    return true;
  };
  std::string_view line;
  if (!nextLine(line) || line != kTitlesHeader) return false;
  titles.reserve(images.size());
  for (const std::string& image : images) {
    if (!nextLine(line)) break;
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos || Unescaped(line.substr(0, tab)) != image) break;
    titles.push_back(Unescaped(line.substr(tab + 1)));
  }
  if (titles.size() == images.size() && rest.empty()) return true;
  titles.clear();
  return false;
}

void OrderImageList(std::vector<std::string>& list, TImageOrder order) {
  if (order != TImageOrder::ByDate) return;
  struct Keyed {
    bool undated;
    std::string taken, name;
    std::string path;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(list.size());
  for (std::string& path : list) {
    std::string taken = PhotoMetadata(path).taken;
    keyed.push_back({taken.empty(), std::move(taken), AsciiLower(ExtractFileName(path)), std::move(path)});
  }
  std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
    return std::tie(a.undated, a.taken, a.name) < std::tie(b.undated, b.taken, b.name);
  });
  for (std::size_t i = 0; i < keyed.size(); ++i) list[i] = std::move(keyed[i].path);
  SavePhotoMetadataCache();  // the next listing of these photos reads none of them again
}

}  // namespace pictalon
