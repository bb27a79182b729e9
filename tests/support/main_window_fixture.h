#pragma once
// The main window started in process as the program starts it, with the
// program folder in a temporary folder and every box answered.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "app/application.h"
#include "app/skarvel_form.h"
#include "app/tform1.h"
#include "app/tform31.h"
#include "platform/paths.h"
#include "platform/write_failure.h"
#include "support/test_support.h"

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolderForTests(dir_.path());
    // A failure of an earlier test is not this run's.
    platform::ResetWriteFailureReports();
  }
  void TearDown() override {
    window_.reset();
    platform::SetProgramFolderForTests("");
  }

  // settings: the settings file's text; empty: no file.
  TForm1& Start(const std::string& settings) {
    if (!settings.empty()) testing_support::WriteFile(dir_.File("skarvel.ini"), settings);
    window_.reset();
    window_ = StartMainWindow();
    return *window_;
  }
  TForm1& StartEnglish() { return Start("[Etc]\r\nLanguage=1\r\n"); }
  TForm1& StartJapanese() { return Start("[Etc]\r\nLanguage=2\r\n"); }
  void Close() {
    window_->close();
    QCoreApplication::processEvents();
  }
  std::string Ini() const { return testing_support::ReadFile(dir_.File("skarvel.ini")); }

  testing_support::TempDir dir_;
  testing_support::MessageBoxRecorder boxes_;
  std::unique_ptr<TForm1> window_;
};

// Closes each modal dialog as soon as it runs and remembers its name:
// `inspect`, when set, sees it first; `answer`, when set, answers it in
// place of the close, as a user would.
class ModalCloser {
 public:
  ModalCloser() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal || !modal->isVisible()) return;
      closed_.push_back(modal->objectName().toStdString());
      if (inspect) inspect(*modal);
      if (answer) {
        answer(*modal);
      } else {
        modal->close();
      }
    });
    timer_.start(5);
  }
  const std::vector<std::string>& Closed() const { return closed_; }
  int Count(const std::string& name) const { return static_cast<int>(std::count(closed_.begin(), closed_.end(), name)); }
  std::function<void(QWidget&)> inspect;
  std::function<void(QWidget&)> answer;

 private:
  QTimer timer_;
  std::vector<std::string> closed_;
};

// The language dialog's answer; any other dialog is closed.
inline std::function<void(QWidget&)> LanguageAnswer(std::function<void(TForm31&)> answer) {
  return [answer](QWidget& w) {
    if (auto* d = qobject_cast<TForm31*>(&w)) return answer(*d);
    w.close();
  };
}
