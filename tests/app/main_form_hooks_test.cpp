// The window's attachment points: the Google Earth commands, the About window and the
// service channel, driven through TMainForm.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/main_form.h"
#include "scripted_prompts.h"
#include "service/service_channel.h"
#include "service/service_data.h"
#include "test_support.h"
#include "ui/about_form.h"
#include "xdg_fixture.h"

namespace tarvola::test {
namespace {

QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// Keeps an environment variable set for the life of the object.
class TEnvVar {
public:
  TEnvVar(const char* name, const QByteArray& value)
      : FName(name), FHad(qEnvironmentVariableIsSet(name)), FOld(qgetenv(name)) {
    qputenv(name, value);
  }
  ~TEnvVar() {
    if (FHad) qputenv(FName, FOld);
    else qunsetenv(FName);
  }

private:
  const char* FName;
  bool FHad;
  QByteArray FOld;
};

class MainFormHooksTest : public ::testing::Test {
protected:
  TTempFolder Folder;
  TEnvVar Tmp{"TMPDIR", QByteArray::fromStdString(Folder.Path().string())};
  TXdgFixture Desktop;
  TScriptedPrompts Prompts;
  QStringList Opened;
  service::TLinkOpener Recorder = [this](const QString& address) {
    Opened << address;
    return true;
  };

  std::filesystem::path Example() const { return SourceDir() / "examples" / "alpine-hike.gpx"; }
};

TEST_F(MainFormHooksTest, OpenWithGoogleEarthStartsItWithTheLastSavedFile) {
  Desktop.AddRecorderEntry("earth.desktop", "%f");
  Desktop.SetUserMimeApps("[Default Applications]\napplication/vnd.google-earth.kmz=earth.desktop\n");
  app::TMainForm form(Prompts, Recorder);
  form.OpenDroppedFile(Q(Example()));
  const auto target = Folder.File("hike.kmz");
  Prompts.SaveAnswers.push_back(ui::TFileDialogAnswer{Q(target), 1});
  form.SaveBtClick();
  ASSERT_EQ(form.LastSaved(), Q(target));

  form.OpenLastSavedBtClick();

  auto arguments = WaitForRecord(Desktop.RecordFile());
  ASSERT_TRUE(arguments);
  EXPECT_EQ(arguments->back(), target.string());
  EXPECT_TRUE(Prompts.OpenRequests.empty());
  EXPECT_TRUE(Prompts.Messages.empty());
}

TEST_F(MainFormHooksTest, MissingGoogleEarthIsReported) {
  app::TMainForm form(Prompts, Recorder);
  form.OpenGeBtClick();
  ASSERT_EQ(Prompts.Messages.size(), 1u);
  EXPECT_EQ(Prompts.Messages[0].MainText, QStringLiteral("Error, Google Earth seems to be not installed."));
  EXPECT_EQ(Prompts.Messages[0].Icon, ui::TDialogIcon::Error);
  EXPECT_EQ(Prompts.Messages[0].Buttons, ui::ButtonsOk);
  EXPECT_TRUE(NothingRecorded(Desktop.RecordFile()));
}

TEST_F(MainFormHooksTest, LastSavedPickCancelledChangesNothing) {
  app::TMainForm form(Prompts, Recorder);
  form.OpenLastSavedBtClick();
  ASSERT_EQ(Prompts.OpenRequests.size(), 1u);
  EXPECT_EQ(Prompts.OpenRequests[0].DefaultExt, QStringLiteral("kmz"));
  EXPECT_TRUE(form.LastSaved().isEmpty());
  EXPECT_TRUE(Prompts.Messages.empty());
}

TEST_F(MainFormHooksTest, AboutWindowOpensItsLinksThroughTheWindowsOpener) {
  app::TMainForm form(Prompts, Recorder);
  bool shown = false;
  QTimer::singleShot(0, &form, [&] {
    ui::TAboutForm* about = ui::AboutForm();
    ASSERT_NE(about, nullptr);
    shown = about->isVisible();
    about->HomeBt->click();
    about->close();
  });
  form.AboutBtClick();
  EXPECT_TRUE(shown);
  EXPECT_EQ(ui::AboutForm(), nullptr);
  EXPECT_EQ(Opened, QStringList{service::ServiceData().HomeUrl});
}

TEST_F(MainFormHooksTest, ServiceDownloadStartsAfterTheFirstShowAndFailsSilently) {
  // Port 1 on the loopback refuses the connection.
  TEnvVar endpoint("TARVOLA_SERVICE_URL", "http://127.0.0.1:1/service");
  app::TMainForm form(Prompts, Recorder);
  EXPECT_FALSE(form.ServiceChannel().HasWorkThread());
  form.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.ServiceChannel().LastOutcome().has_value(); }, 20000));
  EXPECT_EQ(*form.ServiceChannel().LastOutcome(), 3);
  EXPECT_FALSE(form.ServiceChannel().WorkWorking());
  const QString file = form.ServiceChannel().WorkFile();
  EXPECT_TRUE(file.isEmpty() || !QFile::exists(file));
  EXPECT_TRUE(Prompts.Messages.empty());
  EXPECT_TRUE(Opened.isEmpty());
  form.close();
}

TEST_F(MainFormHooksTest, NoServiceAddressStartsNoDownload) {
  TEnvVar endpoint("TARVOLA_SERVICE_URL", "");
  app::TMainForm form(Prompts, Recorder);
  form.show();
  QTest::qWait(50);
  EXPECT_FALSE(form.ServiceChannel().HasWorkThread());
  EXPECT_FALSE(form.ServiceChannel().LastOutcome().has_value());
}

}  // namespace
}  // namespace tarvola::test
