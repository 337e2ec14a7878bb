// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "PhotoMetadata.h"

#include <sys/stat.h>

#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <tuple>
#include <unordered_map>
#include <utility>

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
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path);
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

TPhotoMetadata PhotoMetadata(const std::string& path) {
  struct Entry {
    off_t size;
    timespec modified;
    TPhotoMetadata meta;
  };
  static std::mutex mutex;
  static std::unordered_map<std::string, Entry> cache;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = cache.find(path);
    if (it != cache.end() && it->second.size == st.st_size &&
        it->second.modified.tv_sec == st.st_mtim.tv_sec && it->second.modified.tv_nsec == st.st_mtim.tv_nsec)
      return it->second.meta;
  }
  static const std::string language = UserLanguage();
  TPhotoMetadata meta = ReadPhotoMetadata(path, language);
  std::lock_guard<std::mutex> lock(mutex);
  cache[path] = Entry{st.st_size, st.st_mtim, meta};
  return meta;
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
}

}  // namespace pictalon
