// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The template tokenizer. It streams a template through a fixed read window, splits it into word
// and single-character tokens separated by blanks, and copies to an output exactly what its
// caller asks for, so that everything outside the tags can be passed through byte for byte.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "Error.h"

namespace pictalon {

// Where the tokenizer reads from.
class TByteSource {
public:
  virtual ~TByteSource() = default;
  // Reads up to count bytes into buffer and returns how many; 0 only at the end of the data.
  // Throws Error when the data cannot be read.
  virtual std::size_t Read(char* buffer, std::size_t count) = 0;
};

// A regular file, opened read-only for the life of the object.
class TFileSource final : public TByteSource {
public:
  // Throws Error when path cannot be opened or is not a regular file.
  explicit TFileSource(const std::string& path);
  ~TFileSource() override;
  TFileSource(const TFileSource&) = delete;
  TFileSource& operator=(const TFileSource&) = delete;

  std::size_t Read(char* buffer, std::size_t count) override;

private:
  std::string path_;
  int fd_ = -1;
};

// Bytes already in memory; the caller keeps them alive while the source is read.
class TMemorySource final : public TByteSource {
public:
  explicit TMemorySource(std::string_view bytes) : rest_(bytes) {}
  std::size_t Read(char* buffer, std::size_t count) override;

private:
  std::string_view rest_;
};

// A line too long for the tokenizer's read window.
class TLineTooLong : public Error {
public:
  TLineTooLong() : Error("a line is longer than 4093 bytes") {}
};

enum class TTokenKind {
  EndOfInput,  // the end of the data, or a zero byte
  Word,        // [A-Za-z_][A-Za-z0-9_]*
  Char         // any other byte of code 33 to 255, a token by itself
};

// Blanks are the bytes of code 1 to 32; they separate tokens and are never part of one.
// The input is read through a 4096-byte window. A refill that fills the window exposes only the
// text up to its last line feed (searched among the window's bytes 2 to 4095); the rest is moved
// to the front before the next refill, so a token never spans two refills. A full window without
// such a line feed fails with TLineTooLong: lines of up to 4093 bytes always pass.
class TCopyParser {
public:
  static constexpr std::size_t kWindowSize = 4096;

  // Reads nothing yet: the first NextToken does. Until then the token is end of input.
  TCopyParser(TByteSource& source, std::string& output);
  TCopyParser(const TCopyParser&) = delete;
  TCopyParser& operator=(const TCopyParser&) = delete;

  // Skips the blanks before the next token, appending them to the output when copyBlanks is set,
  // and reads that token without writing it. At the end of input it stays there.
  void NextToken(bool copyBlanks);
  // Appends the current token's bytes to the output (nothing at the end of input).
  void CopyTokenToOutput();
  std::string TokenText() const;
  // The current token's bytes inside the window: valid until the next read.
  std::string_view TokenView() const { return {window_.data() + tokenStart_, tokenLength_}; }
  TTokenKind Token() const { return kind_; }
  // Whether the current token is the single byte c.
  bool TokenIs(char c) const { return tokenLength_ == 1 && window_[tokenStart_] == c; }

  // Reads and discards tokens and blanks until a token equal to stopChar outside a quoted stretch
  // has been read, or the end of input. The current token is not examined. A double quote opens
  // a double-quoted stretch unless a single-quoted one is open, and closes an open one; a single
  // quote does the same for single-quoted stretches.
  void SkipPast(char stopChar);

  // Does what CopyTokenToOutput followed by NextToken(true) does, repeated while the token is
  // neither the end of input nor stopChar, but copies whole runs of bytes at once. Nothing
  // happens when the current token already is one of them.
  void CopyUpTo(char stopChar);

private:
  // Moves the unexposed rest to the front and reads on; false when nothing is left to scan.
  bool Refill();
  void SetEndOfInput();

  TByteSource& source_;
  std::string& output_;
  std::array<char, kWindowSize> window_{};
  std::size_t pos_ = 0;      // next byte to scan
  std::size_t exposed_ = 0;  // bytes of the window open to scanning
  std::size_t filled_ = 0;   // bytes of the window holding data
  bool sourceDone_ = false;
  TTokenKind kind_ = TTokenKind::EndOfInput;
  std::size_t tokenStart_ = 0;
  std::size_t tokenLength_ = 0;
};

}  // namespace pictalon
