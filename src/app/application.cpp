#include "app/application.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "app/tform1.h"
#include "app/version.h"
#include "audio/audio_file_options.h"
#include "platform/close_signals.h"
#include "platform/message_box.h"

namespace {

// Qt's own messages while the application object connects to the display:
// kept back, so that a start without a display says one clear line instead
// of Qt's advice to reinstall, and passed on when the start goes well.
std::vector<std::string>& HeldMessages() {
  static std::vector<std::string> held;
  return held;
}

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    std::fputs("skarvel: cannot open a display: Skarvel needs an X display "
               "(set DISPLAY, or start it with xvfb-run -a)\n",
               stderr);
    std::_Exit(2);
  }
  HeldMessages().push_back(qFormatLogMessage(type, context, text).toLocal8Bit().toStdString());
}

// --help and --version, answered before any display is opened; true when
// answered. Qt's own options would not parse here: the line is read again
// once the application object has taken them out.
bool AnswerInformationRequest(const AudioFileOptions& options) {
  if (options.request == CommandLineRequest::Help) {
    std::fputs(CommandLineHelp().c_str(), stdout);
    return true;
  }
  if (options.request == CommandLineRequest::Version) {
    std::printf("Skarvel %s\n", kSkarvelVersion);
    return true;
  }
  return false;
}

}  // namespace

SkarvelApplication::SkarvelApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // No display name: the desktop would add it to every window's caption,
  // and the captions are the windows' own ("Skarvel " included).
  setApplicationName("Skarvel");
}

bool SkarvelApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    platform::ShowMessageBox(platform::BoxKind::Error, platform::BoxButtons::Ok, e.what());
  } catch (...) {
    platform::ShowMessageBox(platform::BoxKind::Error, platform::BoxButtons::Ok, "Unknown error");
  }
  return false;
}

std::unique_ptr<TForm1> StartMainWindow(const bool* closeRequested, AudioDeviceFactory* devices) {
  auto form1 = std::make_unique<TForm1>();
  if (devices) form1->State().audio.AudioDevices = devices;
  form1->State().audio.WaveIn.Receiver = form1->AudioReceiver();
  form1->OpenAudioDevices();
  form1->FormCreate();
  CreateDialogs(*form1);
  if (closeRequested && *closeRequested) form1->RequestCloseFromSystem();
  form1->FormShow();
  form1->show();
  form1->ShowDone();
  return form1;
}

int RunMainWindow(const AudioFileOptions& audioFile) {
  std::unique_ptr<AudioDeviceFactory> devices = MakeAudioDevices(audioFile);
  try {
    std::unique_ptr<TForm1> form1;
    // Signals that arrive while the window is being built close it right
    // after its first show.
    bool closeRequested = false;
    platform::CloseSignalWatcher closeSignals([&](int) {
      if (form1) {
        form1->RequestCloseFromSystem();
      } else {
        platform::RejectOpenModals();
        closeRequested = true;
      }
    });
    form1 = StartMainWindow(&closeRequested, devices.get());
    // A request that came while the language was being asked.
    if (closeRequested) form1->RequestCloseFromSystem();
    // A window that closed before the loop ran asked it to quit too early:
    // the loop would wait for ever.
    if (!form1->Closed()) QApplication::exec();
    // Mails already due go out before the windows go (a few seconds at
    // most); this is the program's only local event loop.
    form1->Reception().Alerts().Mailer().FinishAtExit();
    if (!audioFile.path.empty()) {
      std::fprintf(stderr, "audio-file: %lld buffers processed\n",
                   static_cast<long long>(form1->State().audio.ProcessedBuffers));
    }
    return form1->ExitStatus();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    platform::ShowMessageBox(platform::BoxKind::Error, platform::BoxButtons::Ok, e.what());
    // The start failed: a script that ran the program must be able to tell.
    return 1;
  }
}

int RunSkarvel(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  AudioFileOptions audioFile;
  std::string optionError;
  if (ParseCommandLine(arguments, audioFile, optionError) && AnswerInformationRequest(audioFile)) return 0;

  // Window positions need X11: Wayland neither places a window nor reports
  // where it is, and the settings keep both.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
  QtMessageHandler qtMessages = qInstallMessageHandler(HoldMessage);
  SkarvelApplication app(argc, argv);
  qInstallMessageHandler(qtMessages);
  for (const std::string& line : HeldMessages()) std::fprintf(stderr, "%s\n", line.c_str());
  HeldMessages().clear();

  // A wave file in place of the sound card, checked before any window.
  if (!ParseAudioFileOptions(app.arguments(), audioFile, optionError)) {
    std::fprintf(stderr, "skarvel: %s\n", optionError.c_str());
    return 2;
  }
  if (AnswerInformationRequest(audioFile)) return 0;
  if (!audioFile.notice.empty()) std::fprintf(stderr, "skarvel: %s\n", audioFile.notice.c_str());
  if (audioFile.file) {
    audioFile.file->OnEndedEarly([path = audioFile.path](int64_t frames, int64_t headerFrames) {
      std::fprintf(stderr, "skarvel: %s\n", EndedEarlyNotice(path, frames, headerFrames).c_str());
    });
  }
  return RunMainWindow(audioFile);
}
