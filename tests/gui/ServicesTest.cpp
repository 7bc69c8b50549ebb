// The window's ports: scripted prompts, the settings and child processes (the
// Qt downloader has a file of its own).
#include <cstdlib>

#include "MainWindowTestSupport.h"
#include "shell/AppSettings.h"

namespace vrk::windowtest {
namespace {

TEST(Services, ScriptedPrompterAnswersInOrderAndCountsOpenPrompts) {
  ScriptedPrompter prompter;
  prompter.answer(Answer::No);
  prompter.answerText("typed");
  prompter.answerIndex(5);
  int openWhileAsked = 0;
  prompter.whileOpen = [&](const Prompt&) { openWhileAsked = prompter.countOfOpen(); };

  EXPECT_EQ(prompter.ask(BoxKind::Warning, "sure?", Answer::Yes | Answer::No), Answer::No);
  EXPECT_EQ(openWhileAsked, 1);
  EXPECT_EQ(prompter.countOfOpen(), 0);
  EXPECT_EQ(prompter.inputText("Input Number", "n", "15"), std::optional<std::string>("typed"));
  EXPECT_EQ(prompter.choose("t", "l", {"a", "b"}, 1), std::nullopt);       // 5 is no item
  EXPECT_EQ(prompter.saveFileName("t", "/x.csv", "*.csv"), std::nullopt);  // nothing queued

  ASSERT_EQ(prompter.asked.size(), 4u);
  EXPECT_EQ(prompter.asked[0].box, BoxKind::Warning);
  EXPECT_EQ(prompter.asked[0].buttons, Answer::Yes | Answer::No);
  EXPECT_EQ(prompter.asked[1].kind, Prompt::Kind::Input);
  EXPECT_EQ(prompter.asked[1].initial, "15");
  EXPECT_EQ(prompter.asked[2].initial, "b");
  EXPECT_EQ(prompter.asked[3].kind, Prompt::Kind::SaveFile);
}

TEST(Services, AutoSaveIntervalAndTemporaryDirectory) {
  AppSettings settings;
  for (const auto& [text, seconds] : std::vector<std::pair<std::string, int>>{
           {"0", 0}, {"61", 61}, {" 61 ", 61}, {"-5", 0}, {"abc", 0}, {"12x", 0}, {"", 0}}) {
    settings.autoSaveTimeText = text;
    EXPECT_EQ(settings.getAutoSaveTime(), seconds) << text;
  }
  settings.putAutoSaveTime_(90);
  EXPECT_EQ(settings.autoSaveTimeText, "90");

  const char* saved = std::getenv("TMPDIR");
  const std::string restore = saved ? saved : "";
  ::setenv("TMPDIR", "/var/tmp", 1);
  EXPECT_EQ(settings.getTempDir(), "/var/tmp/");
  ::unsetenv("TMPDIR");
  EXPECT_EQ(settings.getTempDir(), "/tmp/");
  settings.putTempDir_("  /data/tmp  ");
  EXPECT_EQ(settings.tempDir, "/data/tmp");
  EXPECT_EQ(settings.getTempDir(), "/data/tmp/");
  if (saved) ::setenv("TMPDIR", restore.c_str(), 1);
}

}  // namespace
}  // namespace vrk::windowtest
