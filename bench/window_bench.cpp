// The window with large files, offscreen: opening the 1,000,000-point file until its tree is
// shown (next to LoadGpxFile alone), and "Expand items" on the whole tree of the
// 100,000-point file. Each run in its own child process, fastest of three.
//   tarvola_bench_window FILE1M FILE100K

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <QApplication>

#include "app/main_form.h"
#include "bench_util.h"
#include "gps/gpx_reader.h"
#include "view/gps_tree_view.h"

namespace {

namespace bench = tarvola::bench;
namespace gps = tarvola::gps;

// Nobody is there to answer: dialogs are cancelled, messages fail the run.
class TNoUser : public tarvola::ui::TUserPrompts {
public:
  bool Spoken = false;
  std::optional<tarvola::ui::TFileDialogAnswer> AskOpenFile(QWidget*, const tarvola::ui::TFileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<tarvola::ui::TFileDialogAnswer> AskSaveFile(QWidget*, const tarvola::ui::TFileDialogRequest&) override {
    return std::nullopt;
  }
  int ShowMessage(QWidget*, const QString&, const QString&, const QString&, int, int) override {
    Spoken = true;
    return 1;
  }
};

// Like bench::MeasureInChild, but only `work` is timed: the child first runs `setup`, which
// builds the application and the window, so that start-up costs stay out of the figure.
template <class TRun>
bench::TMeasure MeasureWork(const TRun& run) {
  bench::TMeasure measure;
  std::fflush(stdout);
  int ends[2];
  if (pipe(ends) != 0) return measure;
  const pid_t child = fork();
  if (child < 0) return measure;
  if (child == 0) {
    close(ends[0]);
    double seconds = -1;
    const int code = run(seconds);
    const ssize_t written = write(ends[1], &seconds, sizeof seconds);
    _exit(written == static_cast<ssize_t>(sizeof seconds) ? code : 3);
  }
  close(ends[1]);
  double seconds = 0;
  const ssize_t got = read(ends[0], &seconds, sizeof seconds);
  close(ends[0]);
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return measure;
  measure.Ok = got == static_cast<ssize_t>(sizeof seconds) && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  measure.Seconds = seconds;
  measure.PeakRssBytes = static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;
  const auto toSeconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
  measure.CpuSeconds = toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime);
  return measure;
}

template <class TRun>
bench::TMeasure BestWork(int runs, const TRun& run) {
  bench::TMeasure best;
  for (int i = 0; i < runs; ++i) {
    const bench::TMeasure m = MeasureWork(run);
    if (!m.Ok) return m;
    if (!best.Ok || m.Seconds < best.Seconds) best = m;
  }
  return best;
}

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Paints the window once, so that the tree's rows are really laid out and drawn.
void ShowNow(QWidget& window) {
  QCoreApplication::processEvents();
  window.repaint();
}

int LoadAlone(const char* path, double& seconds) {
  const auto start = std::chrono::steady_clock::now();
  gps::TGpsData data;
  const bool ok = gps::LoadGpxFile(path, data) == gps::TLoadResult::Loaded;
  seconds = Since(start);
  return ok ? 0 : 1;
}

int OpenInWindow(const char* path, double& seconds) {
  int argc = 1;
  char name[] = "tarvola_bench_window";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  TNoUser user;
  tarvola::app::TMainForm form(user);
  form.show();
  ShowNow(form);
  const auto start = std::chrono::steady_clock::now();
  form.OpenDroppedFile(QString::fromLocal8Bit(path));
  ShowNow(form);
  seconds = Since(start);
  return !user.Spoken && form.Ui().GpxTreeView->NodeCount() > 1 ? 0 : 1;
}

int ExpandWholeTree(const char* path, double& seconds) {
  int argc = 1;
  char name[] = "tarvola_bench_window";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  TNoUser user;
  tarvola::app::TMainForm form(user);
  form.show();
  form.OpenDroppedFile(QString::fromLocal8Bit(path));
  ShowNow(form);
  tarvola::view::TGpsTreeView& tree = *form.Ui().GpxTreeView;
  const auto start = std::chrono::steady_clock::now();
  tree.UtilsExpandClick();
  ShowNow(form);
  seconds = Since(start);
  return !user.Spoken ? 0 : 1;
}

// The same from the root node: the path taken when the menu names a node.
int ExpandFromRoot(const char* path, double& seconds) {
  int argc = 1;
  char name[] = "tarvola_bench_window";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  TNoUser user;
  tarvola::app::TMainForm form(user);
  form.show();
  form.OpenDroppedFile(QString::fromLocal8Bit(path));
  ShowNow(form);
  tarvola::view::TGpsTreeView& tree = *form.Ui().GpxTreeView;
  tree.setCurrentIndex(tree.Model().RootIndex());
  const auto start = std::chrono::steady_clock::now();
  tree.UtilsExpandClick();
  ShowNow(form);
  tree.UtilsContractClick();
  ShowNow(form);
  seconds = Since(start);
  return !user.Spoken && tree.TreeSelected().isValid() ? 0 : 1;
}

std::uint64_t FileBytes(const char* path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  return ec ? 0 : static_cast<std::uint64_t>(size);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FILE1M.gpx FILE100K.gpx\n", argv[0]);
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const char* big = argv[1];
  const char* small = argv[2];
  const std::uint64_t bigBytes = FileBytes(big);
  const std::uint64_t smallBytes = FileBytes(small);
  const int runs = 3;

  bench::PrintHeading("Window open", big, bigBytes);
  const bench::TMeasure load = BestWork(runs, [&](double& s) { return LoadAlone(big, s); });
  const bench::TMeasure open = BestWork(runs, [&](double& s) { return OpenInWindow(big, s); });
  bench::PrintMeasure("LoadGpxFile alone", load, bigBytes);
  bench::PrintMeasure("open in the window, tree shown", open, bigBytes);
  bench::PrintRatio("window / LoadGpxFile", open, load);
  std::printf("\n");

  bench::PrintHeading("Expand items", small, smallBytes);
  const bench::TMeasure expand = BestWork(runs, [&](double& s) { return ExpandWholeTree(small, s); });
  const bench::TMeasure fromRoot = BestWork(runs, [&](double& s) { return ExpandFromRoot(small, s); });
  bench::PrintMeasure("expand the whole tree", expand, smallBytes);
  bench::PrintMeasure("expand + contract from the root", fromRoot, smallBytes);
  return load.Ok && open.Ok && expand.Ok && fromRoot.Ok ? 0 : 1;
}
