// SONVELA_REPORT_FIRST_PAINT: one line with the system time once the window's first paint is over, and
// nothing without the variable.

#include "app/first_paint_report.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace sonvela::test {
namespace {

// Standard error goes into a file while this lives.
class CapturedStderr {
 public:
  explicit CapturedStderr(const QString& path) : path_(path.toStdString()) {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    const int file = open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(file, STDERR_FILENO);
    close(file);
  }
  ~CapturedStderr() { Restore(); }
  CapturedStderr(const CapturedStderr&) = delete;
  CapturedStderr& operator=(const CapturedStderr&) = delete;

  void Restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    saved_ = -1;
  }
  std::string Text() const {
    std::fflush(stderr);
    std::ostringstream text;
    text << std::ifstream(path_).rdbuf();
    return text.str();
  }

 private:
  std::string path_;
  int saved_ = -1;
};

double NowSeconds() {
  return static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000;
}

TEST(FirstPaintReport, WritesTheTimeOnceAfterTheFirstPaintAndNothingWithoutTheVariable) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  for (const bool asked : {false, true}) {
    SCOPED_TRACE(asked);
    if (asked) qputenv(kReportFirstPaintVariable, "1");
    CapturedStderr captured(folder.filePath(asked ? "asked.txt" : "quiet.txt"));
    QWidget window;
    const FirstPaintReport report(window);
    const double before = NowSeconds();
    window.resize(200, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const bool reported =
        QTest::qWaitFor([&] { return captured.Text().find('\n') != std::string::npos; }, asked ? 5000 : 0);
    // A later paint writes nothing more: what it would post is handled here.
    window.repaint();
    QCoreApplication::processEvents();
    const double after = NowSeconds();
    const std::string text = captured.Text();
    captured.Restore();
    qunsetenv(kReportFirstPaintVariable);
    if (!asked) {
      EXPECT_EQ(text.find("first paint"), std::string::npos) << text;
      continue;
    }
    ASSERT_TRUE(reported);
    ASSERT_EQ(text.rfind("first paint ", 0), 0u) << text;
    EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
    const double painted = std::stod(text.substr(12));
    // The report has microseconds, the clock here milliseconds.
    EXPECT_GE(painted, before - 0.001);
    EXPECT_LE(painted, after + 0.001);
  }
}

}  // namespace
}  // namespace sonvela::test
