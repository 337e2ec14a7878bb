// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "CopyPrsr.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "Error.h"

namespace pictalon {

namespace {

enum ByteClass : unsigned char { kZero, kBlank, kWordStart, kDigit, kOther };

struct ByteClasses {
  ByteClass of[256];
  constexpr ByteClasses() : of() {
    for (int c = 0; c < 256; ++c) {
      if (c == 0)
        of[c] = kZero;
      else if (c <= 32)
        of[c] = kBlank;
      else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_')
        of[c] = kWordStart;
      else if (c >= '0' && c <= '9')
        of[c] = kDigit;
      else
        of[c] = kOther;
    }
  }
};

constexpr ByteClasses kClasses;

inline ByteClass ClassOf(char c) { return kClasses.of[static_cast<unsigned char>(c)]; }
inline bool IsWordByte(char c) { return ClassOf(c) == kWordStart || ClassOf(c) == kDigit; }

}  // namespace

// ---- sources ----

TFileSource::TFileSource(const std::string& path) : path_(path) {
  // Non-blocking only so that a FIFO in the template's place cannot hang the open; it has no
  // effect on regular files, the only kind accepted.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) throw Error(TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Cannot open %1"), path));
  struct stat st;
  if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    throw Error(TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Cannot open %1"), path));
  }
}

TFileSource::~TFileSource() {
  if (fd_ >= 0) ::close(fd_);
}

std::size_t TFileSource::Read(char* buffer, std::size_t count) {
  for (;;) {
    ssize_t n = ::read(fd_, buffer, count);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) throw Error(TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Error reading %1"), path_));
  }
}

std::size_t TMemorySource::Read(char* buffer, std::size_t count) {
  std::size_t n = count < rest_.size() ? count : rest_.size();
  std::memcpy(buffer, rest_.data(), n);
  rest_.remove_prefix(n);
  return n;
}

// ---- tokenizer ----

TCopyParser::TCopyParser(TByteSource& source, std::string& output)
    : source_(source), output_(output) {}

bool TCopyParser::Refill() {
  const std::size_t carried = filled_ - exposed_;
  if (carried == 0 && sourceDone_) return false;
  std::memmove(window_.data(), window_.data() + exposed_, carried);
  filled_ = carried;
  pos_ = 0;
  exposed_ = 0;
  // Short reads are topped up, so only the end of the data leaves the window part-filled.
  while (filled_ < kWindowSize && !sourceDone_) {
    const std::size_t n = source_.Read(window_.data() + filled_, kWindowSize - filled_);
    if (n == 0)
      sourceDone_ = true;
    else
      filled_ += n;
  }
  if (filled_ < kWindowSize) {
    exposed_ = filled_;
  } else {
    // Expose whole lines only: the last line feed among bytes 2 to 4095 ends the scan.
    std::size_t i = kWindowSize - 2;
    while (i >= 1 && window_[i] != '\n') --i;
    if (i == 0) throw TLineTooLong();
    exposed_ = i + 1;
  }
  return exposed_ > 0;
}

void TCopyParser::SetEndOfInput() {
  kind_ = TTokenKind::EndOfInput;
  tokenStart_ = pos_;
  tokenLength_ = 0;
}

void TCopyParser::NextToken(bool copyBlanks) {
  for (;;) {
    if (pos_ == exposed_ && !Refill()) {
      SetEndOfInput();
      return;
    }
    const std::size_t start = pos_;
    while (pos_ < exposed_ && ClassOf(window_[pos_]) == kBlank) ++pos_;
    if (copyBlanks && pos_ > start) output_.append(window_.data() + start, pos_ - start);
    if (pos_ < exposed_) break;
  }
  tokenStart_ = pos_;
  switch (ClassOf(window_[pos_])) {
    case kZero:
      // The scan stays on the zero byte, so every later read ends here too.
      SetEndOfInput();
      return;
    case kWordStart:
      ++pos_;
      // A word never reaches past the exposed end: that is a line feed or the end of the data.
      while (pos_ < exposed_ && IsWordByte(window_[pos_])) ++pos_;
      kind_ = TTokenKind::Word;
      break;
    default:
      ++pos_;
      kind_ = TTokenKind::Char;
      break;
  }
  tokenLength_ = pos_ - tokenStart_;
}

void TCopyParser::CopyTokenToOutput() {
  output_.append(window_.data() + tokenStart_, tokenLength_);
}

std::string TCopyParser::TokenText() const { return std::string(TokenView()); }

void TCopyParser::SkipPast(char stopChar) {
  const std::string_view stop(&stopChar, 1);
  bool inDouble = false;
  bool inSingle = false;
  for (;;) {
    NextToken(false);
    if (kind_ == TTokenKind::EndOfInput) return;
    if (!inDouble && !inSingle && TokenView() == stop) return;
    if (TokenIs('"')) {
      if (inDouble)
        inDouble = false;
      else if (!inSingle)
        inDouble = true;
    } else if (TokenIs('\'')) {
      if (inSingle)
        inSingle = false;
      else if (!inDouble)
        inSingle = true;
    }
  }
}

void TCopyParser::CopyUpTo(char stopChar) {
  if (ClassOf(stopChar) != kOther) {
    // Such a byte can be part of a word or a blank run, so only token by token gives the same
    // result.
    while (kind_ != TTokenKind::EndOfInput && !TokenIs(stopChar)) {
      CopyTokenToOutput();
      NextToken(true);
    }
    return;
  }
  if (kind_ == TTokenKind::EndOfInput || TokenIs(stopChar)) return;
  CopyTokenToOutput();
  // Every byte of this class is a token of its own, and up to it every byte is either a blank
  // or part of a token, all of them copied: so the output gets the input up to the next
  // stopChar or zero byte unchanged.
  for (;;) {
    if (pos_ == exposed_ && !Refill()) {
      SetEndOfInput();
      return;
    }
    const char* begin = window_.data() + pos_;
    const std::size_t available = exposed_ - pos_;
    const void* hit = std::memchr(begin, stopChar, available);
    const std::size_t run = hit ? static_cast<const char*>(hit) - begin : available;
    if (const void* zero = std::memchr(begin, 0, run)) {
      const std::size_t before = static_cast<const char*>(zero) - begin;
      output_.append(begin, before);
      pos_ += before;
      SetEndOfInput();
      return;
    }
    output_.append(begin, run);
    pos_ += run;
    if (hit) {
      tokenStart_ = pos_;
      tokenLength_ = 1;
      kind_ = TTokenKind::Char;
      ++pos_;
      return;
    }
  }
}

}  // namespace pictalon
