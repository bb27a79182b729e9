#pragma once
// The main window started in process as the program starts it, with the
// program folder in a temporary folder and every box answered.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
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

// Closes the next modal dialog as soon as it runs and remembers its name.
class ModalCloser {
 public:
  ModalCloser() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal || !modal->isVisible()) return;
      closed_.push_back(modal->objectName().toStdString());
      if (inspect) inspect(*modal);
      modal->close();
    });
    timer_.start(5);
  }
  const std::vector<std::string>& Closed() const { return closed_; }
  std::function<void(QWidget&)> inspect;

 private:
  QTimer timer_;
  std::vector<std::string> closed_;
};

// Answers the language dialog whenever it appears modally, as a user would:
// by default with its close box.
class LanguageDialogAnswer {
 public:
  explicit LanguageDialogAnswer(std::function<void(TForm31&)> answer = [](TForm31& d) { d.close(); })
      : answer_(std::move(answer)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* dialog = qobject_cast<TForm31*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible()) return;
      ++shown_;
      answer_(*dialog);
    });
    timer_.start(5);
  }

  int Shown() const { return shown_; }

 private:
  std::function<void(TForm31&)> answer_;
  QTimer timer_;
  int shown_ = 0;
};
