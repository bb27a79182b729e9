#pragma once
// The application object: an exception that reaches the event loop is shown
// in a message box, and the program carries on.
#include <QApplication>
#include <memory>

class SkarvelApplication : public QApplication {
 public:
  SkarvelApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

class TForm1;
class AudioDeviceFactory;
struct AudioFileOptions;

// The start of the program up to the first show: the main window, its
// audio devices (the sound card unless `devices` says otherwise), the
// dialogs in class-number order, FormShow and the show.
// closeRequested: a close request from the system came while the window
// was being built (it then asks no question before closing).
std::unique_ptr<TForm1> StartMainWindow(const bool* closeRequested = nullptr, AudioDeviceFactory* devices = nullptr);

// The program once its command line is read and the application object
// made: the main window on the devices the options name, and the event
// loop until the main window has closed. Returns the exit status.
int RunMainWindow(const AudioFileOptions& audioFile);

// Runs the whole program: the command line, the main window, its dialogs
// and the event loop.
int RunSkarvel(int argc, char** argv);
