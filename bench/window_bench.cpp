// The window with large files, offscreen: opening the 1,000,000-point file until its tree is
// shown (next to LoadGpxFile alone), "Expand items" on the whole tree of both files, and what
// the expansion costs in processor time and memory, and gives back on "Contract items". Each
// run in its own child process, fastest of three.
//   tarvola_bench_window FILE1M FILE100K

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>

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
  tarvola::ui::TDialogResult ShowMessage(QWidget*, const QString&, const QString&, const QString&,
                                         tarvola::ui::TDialogIcon, int) override {
    Spoken = true;
    return tarvola::ui::TDialogResult::Ok;
  }
};

// Paints the window once, so that the tree's rows are really laid out and drawn.
void ShowNow(QWidget& window) {
  QCoreApplication::processEvents();
  window.repaint();
}

int LoadAlone(const char* path, double& seconds) {
  const auto start = std::chrono::steady_clock::now();
  gps::TGpsData data;
  const bool ok = gps::LoadGpxFile(path, data) == gps::TLoadResult::Loaded;
  seconds = bench::SecondsSince(start);
  return ok ? 0 : 1;
}

// The application and its main window, shown, with nobody at the keyboard.
struct TBenchWindow {
  int Argc = 1;
  char Name[sizeof "tarvola_bench_window"] = "tarvola_bench_window";
  char* Argv[2] = {Name, nullptr};
  QApplication App{Argc, Argv};
  TNoUser User;
  tarvola::app::TMainForm Form{User};

  TBenchWindow() { Form.show(); }

  void OpenAndShow(const char* path) {
    Form.OpenDroppedFile(QString::fromLocal8Bit(path));
    ShowNow(Form);
  }

  tarvola::view::TGpsTreeView& Tree() { return *Form.Ui().GpxTreeView; }
};

int OpenInWindow(const char* path, double& seconds) {
  TBenchWindow window;
  ShowNow(window.Form);
  const auto start = std::chrono::steady_clock::now();
  window.OpenAndShow(path);
  seconds = bench::SecondsSince(start);
  return !window.User.Spoken && window.Tree().NodeCount() > 1 ? 0 : 1;
}

int ExpandWholeTree(const char* path, double& seconds) {
  TBenchWindow window;
  window.OpenAndShow(path);
  const auto start = std::chrono::steady_clock::now();
  window.Tree().UtilsExpandClick();
  ShowNow(window.Form);
  seconds = bench::SecondsSince(start);
  return !window.User.Spoken ? 0 : 1;
}

// The same from the root node: the path taken when the menu names a node.
int ExpandFromRoot(const char* path, double& seconds) {
  TBenchWindow window;
  window.OpenAndShow(path);
  tarvola::view::TGpsTreeView& tree = window.Tree();
  tree.setCurrentIndex(tree.Model().RootIndex());
  const auto start = std::chrono::steady_clock::now();
  tree.UtilsExpandClick();
  ShowNow(window.Form);
  tree.UtilsContractClick();
  ShowNow(window.Form);
  seconds = bench::SecondsSince(start);
  return !window.User.Spoken && tree.TreeSelected().isValid() ? 0 : 1;
}

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double ResidentMegabytes() {
  std::ifstream statm("/proc/self/statm");
  std::uint64_t size = 0, resident = 0;
  statm >> size >> resident;
  return bench::Megabytes(resident * std::uint64_t(sysconf(_SC_PAGESIZE)));
}

// Once, printing from the child: the processor time of each step and the memory after it,
// twice in a row, so that memory kept by the first round shows as reused by the second.
int ExpandThenContract(const char* path, double& seconds) {
  TBenchWindow window;
  window.OpenAndShow(path);
  std::printf("  %-34s %.1f MB with the tree shown\n", "resident memory", ResidentMegabytes());
  const auto start = std::chrono::steady_clock::now();
  for (int round = 1; round <= 2; ++round) {
    const double cpu0 = ProcessCpuSeconds();
    window.Tree().UtilsExpandClick();
    ShowNow(window.Form);
    const double cpu1 = ProcessCpuSeconds();
    const double expanded = ResidentMegabytes();
    window.Tree().UtilsContractClick();
    ShowNow(window.Form);
    const double cpu2 = ProcessCpuSeconds();
    std::printf("  round %d: expand cpu %.3f s, %.1f MB; contract cpu %.3f s, %.1f MB\n", round,
                cpu1 - cpu0, expanded, cpu2 - cpu1, ResidentMegabytes());
  }
  seconds = bench::SecondsSince(start);
  std::fflush(stdout);
  return !window.User.Spoken ? 0 : 1;
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
  const std::uint64_t bigBytes = bench::FileBytes(big).value_or(0);
  const std::uint64_t smallBytes = bench::FileBytes(small).value_or(0);
  const int runs = 3;

  bench::PrintHeading("Window open", big, bigBytes);
  const bench::TMeasure load = bench::BestOfTimed(runs, [&](double& s) { return LoadAlone(big, s); });
  const bench::TMeasure open = bench::BestOfTimed(runs, [&](double& s) { return OpenInWindow(big, s); });
  bench::PrintMeasure("LoadGpxFile alone", load, bigBytes);
  bench::PrintMeasure("open in the window, tree shown", open, bigBytes);
  bench::PrintRatio("window / LoadGpxFile", open, load);
  std::printf("\n");

  bool ok = load.Ok && open.Ok;
  for (const auto& [file, bytes] : {std::pair{small, smallBytes}, std::pair{big, bigBytes}}) {
    bench::PrintHeading("Expand items", file, bytes);
    const bench::TMeasure expand = bench::BestOfTimed(runs, [&](double& s) { return ExpandWholeTree(file, s); });
    const bench::TMeasure fromRoot = bench::BestOfTimed(runs, [&](double& s) { return ExpandFromRoot(file, s); });
    bench::PrintMeasure("expand the whole tree", expand, bytes);
    bench::PrintMeasure("expand + contract from the root", fromRoot, bytes);
    const bench::TMeasure once = bench::MeasureTimedInChild([&](double& s) { return ExpandThenContract(file, s); });
    ok = ok && expand.Ok && fromRoot.Ok && once.Ok;
    std::printf("\n");
  }
  return ok ? 0 : 1;
}
