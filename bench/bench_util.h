#pragma once

// Runs a piece of work in a forked child, so that its peak memory is its own, and reports the
// wall time of the work and the child's peak resident set size. POSIX only; no Qt.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace tarvola::bench {

struct TMeasure {
  bool Ok = false;          // the child ran the work and exited with 0
  double Seconds = 0.0;     // wall time of the work alone, measured in the child
  double CpuSeconds = 0.0;  // user + system time of the whole child, start-up and exit included
  std::uint64_t PeakRssBytes = 0;
};

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// `run(seconds)` does the work in the child, sets `seconds` to the wall time of the part that
// counts (so that start-up in the child can stay out of it) and returns 0 on success.
template <class TRun>
TMeasure MeasureTimedInChild(const TRun& run) {
  TMeasure measure;
  std::fflush(stdout);
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return measure;
  pid_t child = fork();
  if (child < 0) {
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    return measure;
  }
  if (child == 0) {
    close(pipeEnds[0]);
    double seconds = -1;
    int code = run(seconds);
    ssize_t written = write(pipeEnds[1], &seconds, sizeof seconds);
    _exit(written == static_cast<ssize_t>(sizeof seconds) ? code : 3);
  }
  close(pipeEnds[1]);
  double wall = 0.0;
  ssize_t got = read(pipeEnds[0], &wall, sizeof wall);
  close(pipeEnds[0]);
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return measure;
  measure.Ok =
      got == static_cast<ssize_t>(sizeof wall) && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  measure.Seconds = wall;
  measure.PeakRssBytes = static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;  // kilobytes on Linux
  auto toSeconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  measure.CpuSeconds = toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime);
  return measure;
}

// `work` returns 0 on success. Its wall time excludes the fork and the child's exit.
template <class TWork>
TMeasure MeasureInChild(const TWork& work) {
  return MeasureTimedInChild([&](double& seconds) {
    auto start = std::chrono::steady_clock::now();
    int code = work();
    seconds = SecondsSince(start);
    return code;
  });
}

// Measures `runs` times and keeps the fastest run, with its memory: on a shared machine the
// fastest run is the one least disturbed by others.
template <class TMeasureOnce>
TMeasure FastestOf(int runs, const TMeasureOnce& measureOnce) {
  TMeasure best;
  for (int i = 0; i < runs; ++i) {
    TMeasure m = measureOnce();
    if (!m.Ok) return m;
    if (!best.Ok || m.Seconds < best.Seconds) best = m;
  }
  return best;
}

// Runs `work` `runs` times, each in its own child, and keeps the fastest run.
template <class TWork>
TMeasure BestOf(int runs, const TWork& work) {
  return FastestOf(runs, [&] { return MeasureInChild(work); });
}

// The same for work that times itself, as MeasureTimedInChild takes it.
template <class TRun>
TMeasure BestOfTimed(int runs, const TRun& run) {
  return FastestOf(runs, [&] { return MeasureTimedInChild(run); });
}

// Runs a program (found on PATH) as the measured child, its output thrown away; the wall time
// includes its start-up, as a user waits for it.
inline TMeasure MeasureProgram(const std::vector<std::string>& args) {
  TMeasure measure;
  std::vector<char*> argv;
  std::vector<std::string> copy = args;
  for (std::string& arg : copy) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::fflush(stdout);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child < 0) return measure;
  if (child == 0) {
    const int nothing = open("/dev/null", O_RDWR);
    if (nothing >= 0) {
      dup2(nothing, 0);
      dup2(nothing, 1);
      dup2(nothing, 2);
    }
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return measure;
  measure.Seconds = SecondsSince(start);
  measure.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  measure.PeakRssBytes = static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;
  auto toSeconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  measure.CpuSeconds = toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime);
  return measure;
}

// Whether a program of that name is on PATH.
inline bool OnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  std::string folders = path;
  for (std::size_t start = 0; start <= folders.size();) {
    std::size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    const std::filesystem::path candidate =
        std::filesystem::path(folders.substr(start, end - start)) / name;
    if (access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

// The size of the file, or nothing when it cannot be read.
inline std::optional<std::uint64_t> FileBytes(const char* path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return std::nullopt;
  return static_cast<std::uint64_t>(size);
}

// The one GPX file of a benchmark's command line, or the exit code to leave with (2 for usage,
// 1 for an unreadable file), the reason given on stderr.
struct TInputFile {
  const char* Path = nullptr;
  std::uint64_t Bytes = 0;
  int Failure = 0;
};

inline TInputFile OneInputFile(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE.gpx\n", argv[0]);
    return {nullptr, 0, 2};
  }
  const std::optional<std::uint64_t> bytes = FileBytes(argv[1]);
  if (!bytes) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return {argv[1], 0, 1};
  }
  return {argv[1], *bytes, 0};
}

inline double Megabytes(std::uint64_t bytes) {
  return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// One line per measurement: "<label>  1.234 s  (cpu 1.300 s)  peak 812.3 MB (3.25x file)".
inline void PrintMeasure(const std::string& label, const TMeasure& m, std::uint64_t fileBytes) {
  if (!m.Ok) {
    std::printf("  %-34s FAILED\n", label.c_str());
    return;
  }
  std::printf("  %-34s %7.3f s  (cpu %7.3f s)   peak %8.1f MB", label.c_str(), m.Seconds,
              m.CpuSeconds, Megabytes(m.PeakRssBytes));
  if (fileBytes > 0)
    std::printf("  (%.2fx file)",
                static_cast<double>(m.PeakRssBytes) / static_cast<double>(fileBytes));
  std::printf("\n");
}

// "<label>  time 1.12x, memory 0.85x" of `m` against `reference`.
inline void PrintRatio(const std::string& label, const TMeasure& m, const TMeasure& reference) {
  if (!m.Ok || !reference.Ok || reference.Seconds <= 0 || reference.PeakRssBytes == 0) return;
  std::printf("  %-34s time %.2fx  (cpu %.2fx)   memory %.2fx\n", label.c_str(),
              m.Seconds / reference.Seconds,
              reference.CpuSeconds > 0 ? m.CpuSeconds / reference.CpuSeconds : 0.0,
              static_cast<double>(m.PeakRssBytes) / static_cast<double>(reference.PeakRssBytes));
}

inline void PrintHeading(const std::string& title, const std::string& file,
                         std::uint64_t fileBytes) {
  std::printf("%s: %s (%.1f MB)\n", title.c_str(), file.c_str(), Megabytes(fileBytes));
}

}  // namespace tarvola::bench
