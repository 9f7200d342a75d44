#pragma once

// Streams for the tests that misbehave on purpose, and zlib's inflater to check what we wrote.

#include <zlib.h>

#include <algorithm>
#include <random>
#include <regex>
#include <stdexcept>
#include <string>

#include "io/stream.h"

namespace tarvola::test {

// A memory stream that takes only `writeLimit` bytes in all and can fail on Flush.
class TFailingStream : public io::TMemoryStream {
public:
  explicit TFailingStream(std::int64_t writeLimit, bool failFlush = false)
      : FWriteLimit(writeLimit), FFailFlush(failFlush) {}

  std::int64_t Write(const void* buffer, std::int64_t count) override {
    const std::int64_t room = std::max<std::int64_t>(FWriteLimit - FWritten, 0);
    const std::int64_t n = std::min(count, room);
    FWritten += n;
    return io::TMemoryStream::Write(buffer, n);
  }
  void Flush() override {
    if (FFailFlush) throw io::EWriteError();
  }

private:
  std::int64_t FWriteLimit;
  std::int64_t FWritten = 0;
  bool FFailFlush;
};

// Says it holds `claimedSize` bytes but delivers only `content`, like a file cut short while read.
class TShrinkingStream : public io::TStream {
public:
  TShrinkingStream(std::string content, std::int64_t claimedSize)
      : FContent(std::move(content)), FClaimedSize(claimedSize) {}

  std::int64_t Read(void* buffer, std::int64_t count) override {
    const std::int64_t n = std::clamp<std::int64_t>(static_cast<std::int64_t>(FContent.size()) - FPosition, 0, count);
    FContent.copy(static_cast<char*>(buffer), static_cast<std::size_t>(n), static_cast<std::size_t>(FPosition));
    FPosition += n;
    ++Reads;
    return n;
  }
  std::int64_t Write(const void*, std::int64_t) override { return 0; }
  std::int64_t Seek(std::int64_t offset, io::TSeekOrigin origin) override {
    FPosition = (origin == io::TSeekOrigin::Begin ? 0 : origin == io::TSeekOrigin::Current ? FPosition : FClaimedSize) + offset;
    return FPosition;
  }
  std::int64_t Position() const override { return FPosition; }
  std::int64_t Size() const override { return FClaimedSize; }
  void SetSize(std::int64_t) override {}

  int Reads = 0;

private:
  std::string FContent;
  std::int64_t FClaimedSize;
  std::int64_t FPosition = 0;
};

// A source whose reads fail, as a disk read error would.
class TUnreadableStream : public TShrinkingStream {
public:
  TUnreadableStream() : TShrinkingStream(std::string(), 100000) {}
  std::int64_t Read(void*, std::int64_t) override { throw io::EReadError("Stream read error"); }
};

inline std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 gen(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(gen() & 0xFF);
  return bytes;
}

// Text that compresses well, like a coordinate list.
inline std::string TextBytes(std::size_t size, unsigned seed) {
  std::mt19937 gen(seed);
  std::string text;
  text.reserve(size + 32);
  while (text.size() < size) text += "8.54" + std::to_string(gen() % 100000) + ",47.37" + std::to_string(gen() % 1000) + ",0 ";
  text.resize(size);
  return text;
}

// windowBits as for inflateInit2: -15 raw, 15 zlib, 31 gzip.
inline std::string Inflate(const void* data, std::size_t size, int windowBits) {
  z_stream zs{};
  if (inflateInit2(&zs, windowBits) != Z_OK) throw std::runtime_error("inflateInit2");
  zs.next_in = static_cast<Bytef*>(const_cast<void*>(data));
  zs.avail_in = static_cast<uInt>(size);
  std::string out;
  char chunk[65536];
  int result = Z_OK;
  while (result == Z_OK) {
    zs.next_out = reinterpret_cast<Bytef*>(chunk);
    zs.avail_out = sizeof chunk;
    result = inflate(&zs, Z_NO_FLUSH);
    out.append(chunk, sizeof chunk - zs.avail_out);
    if (result == Z_BUF_ERROR && zs.avail_in == 0) break;
  }
  const bool ended = result == Z_STREAM_END && zs.avail_in == 0;
  inflateEnd(&zs);
  if (!ended) throw std::runtime_error("not one complete deflate stream");
  return out;
}

inline std::string Contents(const io::TMemoryStream& stream) {
  return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

// A memory stream holding `bytes`, positioned at its start.
inline io::TMemoryStream MemoryOf(const std::string& bytes) {
  io::TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  return stream;
}

inline std::uint32_t ZlibCrc(const std::string& bytes) {
  return static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

// The document of a KMZ archive: its first entry, doc.kml, inflated from its local header and
// checked against its CRC; a text saying what is wrong otherwise. For where no unzip exists.
inline std::string KmzDocument(const std::string& archive) {
  const auto field = [&archive](std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(archive.at(at + std::size_t(i)));
    return value;
  };
  if (archive.size() < 30 || archive.compare(0, 4, "PK\x03\x04") != 0) return "not a ZIP archive";
  const std::uint32_t nameLength = field(26, 2), extraLength = field(28, 2);
  if (archive.compare(30, nameLength, "doc.kml") != 0 || field(8, 2) != Z_DEFLATED) return "no deflated doc.kml";
  const std::string document = Inflate(archive.data() + 30 + nameLength + extraLength, field(18, 4), -MAX_WBITS);
  if (document.size() != field(22, 4) || ZlibCrc(document) != field(14, 4)) return "doc.kml does not match its header";
  return document;
}

// A KML document with the moment of its conversion (its Snippet) blanked out.
inline std::string WithoutCreationDate(const std::string& kml) {
  static const std::regex snippet("<Snippet maxLines=\"1\">Created [^<]*</Snippet>");
  return std::regex_replace(kml, snippet, "<Snippet maxLines=\"1\">Created -</Snippet>");
}

}  // namespace tarvola::test
