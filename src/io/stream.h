#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace tarvola::io {

// Errors of the byte-stream layer. Code() is the system's error number, 0 when there is none.
class EStreamError : public std::runtime_error {
public:
  explicit EStreamError(const std::string& message, int code = 0)
      : std::runtime_error(message), FCode(code) {}
  int Code() const { return FCode; }

private:
  int FCode;
};

class EFOpenError : public EStreamError {
  using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
  using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
  explicit EWriteError(int code = 0) : EStreamError("Stream write error", code) {}
};

enum class TSeekOrigin { Begin, Current, End };

// A sequence of bytes with a position. Read and Write move as far as they can and say how far;
// ReadBuffer and WriteBuffer insist on the whole count.
class TStream {
public:
  virtual ~TStream() = default;

  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
  virtual std::int64_t Position() const = 0;
  virtual std::int64_t Size() const = 0;
  virtual void SetSize(std::int64_t size) = 0;
  // Hands what was written to its storage; raises EWriteError when that fails.
  virtual void Flush() {}

  void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::Begin); }

  void ReadBuffer(void* buffer, std::int64_t count);    // EReadError when short
  void WriteBuffer(const void* buffer, std::int64_t count);  // EWriteError when short
  // Copies count bytes from source's position (all that remains when count < 0); returns the count.
  std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

// Contiguous memory, so zlib can work on it in place. The allocation is rounded up to 64 KiB
// and grows geometrically. Growing the size exposes zeros, and a write beyond the end fills the
// gap with zeros.
class TMemoryStream : public TStream {
public:
  TMemoryStream() = default;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Position() const override { return FPosition; }
  std::int64_t Size() const override { return FSize; }
  void SetSize(std::int64_t size) override;

  std::byte* Memory() { return FMemory.get(); }
  const std::byte* Memory() const { return FMemory.get(); }

private:
  struct TFree {
    void operator()(std::byte* memory) const;
  };
  void Reserve(std::int64_t capacity);

  std::unique_ptr<std::byte, TFree> FMemory;
  std::int64_t FSize = 0;
  std::int64_t FCapacity = 0;
  std::int64_t FPosition = 0;
};

}  // namespace tarvola::io
