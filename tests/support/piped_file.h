#pragma once

#ifndef _WIN32

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <future>
#include <stdexcept>
#include <string>
#include <thread>

namespace tarvola::test {

// A file that arrives through a named pipe as the test lets it: whoever reads it waits until
// Finish, so that the test can look at what happens meanwhile. The head is written as soon as
// a reader opens the pipe.
class TPipedFile {
public:
  TPipedFile(std::filesystem::path path, std::string head) : FPath(std::move(path)) {
    std::signal(SIGPIPE, SIG_IGN);  // a reader that stops early ends the writing, not the test
    if (::mkfifo(FPath.c_str(), 0600) != 0) throw std::runtime_error("cannot make the pipe " + FPath.string());
    FWriter = std::thread([this, head = std::move(head), rest = FRest.get_future()]() mutable {
      const int fd = ::open(FPath.c_str(), O_WRONLY);
      if (fd < 0) return;
      Write(fd, head);
      Write(fd, rest.get());
      ::close(fd);
    });
  }
  ~TPipedFile() {
    Finish({});
    // A pipe nobody opened holds the writer in open(): be its reader for a moment.
    const int fd = ::open(FPath.c_str(), O_RDONLY | O_NONBLOCK);
    FWriter.join();
    if (fd >= 0) ::close(fd);
  }
  TPipedFile(const TPipedFile&) = delete;
  TPipedFile& operator=(const TPipedFile&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  // Writes the rest and closes the pipe: the reader sees the end of the file.
  void Finish(std::string rest) {
    if (FFinished) return;
    FFinished = true;
    FRest.set_value(std::move(rest));
  }

private:
  static void Write(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
      const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
      if (n <= 0) return;
      done += static_cast<std::size_t>(n);
    }
  }

  std::filesystem::path FPath;
  std::promise<std::string> FRest;
  bool FFinished = false;
  std::thread FWriter;
};

}  // namespace tarvola::test

#endif
