#pragma once
// Recording stand-ins for what the block pipeline calls, a capture source
// that delivers canned buffers from its own thread, and wave files written
// through libsndfile.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "acars/acars_services.h"
#include "aircraft/aircraft_services.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "audio/audio_services.h"
#include "exchange/exchange_services.h"
#include "hfdl/hfdl_services.h"
#include "selcal/selcal_services.h"

namespace audio_test {

// Installs itself in form.svc and logs every call the pipeline makes:
// "acars0", "hfdl1", "selcal0", "logs", "ages", "monitor", "spectrum",
// "clockface", "meters", "constellation", "close"; lamp paints go to lamps.
class PipelineFakes {
 public:
  explicit PipelineFakes(Form1State& form);

  std::vector<std::string> log;
  std::vector<std::pair<Lamp, TColor>> lamps;
  // Runs inside every decoder call.
  std::function<void(Form1State&, int channel)> onDecode;

  int Count(const std::string& entry) const;
  void Clear() {
    log.clear();
    lamps.clear();
  }

 private:
  struct Acars : AcarsServices {
    PipelineFakes* owner;
    void DemodulateAcarsBlock(Form1State& f, int ch) override { owner->Decoded(f, "acars", ch); }
  } acars_;
  struct Hfdl : HfdlServices {
    PipelineFakes* owner;
    void DemodulateHfdlBlock(Form1State& f, int ch) override { owner->Decoded(f, "hfdl", ch); }
  } hfdl_;
  struct Selcal : SelcalServices {
    PipelineFakes* owner;
    void DecodeSelcalBlock(Form1State& f, int ch) override { owner->Decoded(f, "selcal", ch); }
  } selcal_;
  struct Exchange : ExchangeServices {
    PipelineFakes* owner;
    void UpdateDailyLogNames(Form1State&, bool force) override { owner->log.push_back(force ? "logs!" : "logs"); }
  } exchange_;
  struct Aircraft : AircraftServices {
    PipelineFakes* owner;
    void UpdateTrackAges(Form1State&) override { owner->log.push_back("ages"); }
  } aircraft_;
  struct Audio : AudioServices {
    PipelineFakes* owner;
    void FeedAudioMonitor(Form1State&) override { owner->log.push_back("monitor"); }
    void DrawSpectrum(Form1State&) override { owner->log.push_back("spectrum"); }
    void DrawClockFace(Form1State&) override { owner->log.push_back("clockface"); }
    void DrawLevelMeters(Form1State&, const int16_t*, int) override { owner->log.push_back("meters"); }
    void DrawConstellation(Form1State&) override { owner->log.push_back("constellation"); }
  } audio_;
  struct Effects : FormEffects {
    PipelineFakes* owner;
    void PaintLamp(Lamp lamp, TColor colour) override { owner->lamps.emplace_back(lamp, colour); }
    void CloseMainWindow() override { owner->log.push_back("close"); }
  } effects_;

  void Decoded(Form1State& f, const char* kind, int ch);
};

// What one open of a FakeCaptureSource does.
struct FakeSourceScript {
  platform::DeviceOpenResult result = platform::DeviceOpenResult::Opened;
  // The thread is started before the open fails with `result`.
  bool failAfterThreadStarts = false;
  int buffers = 0;         // delivered, then the thread waits for Close
  int firstValue = 0;      // every sample of buffer i holds firstValue + i
  bool waitForRoom = true;  // Put, else Offer
};

class FakeCaptureSource : public platform::AudioCaptureSource {
 public:
  explicit FakeCaptureSource(FakeSourceScript script) : script_(script) {}
  ~FakeCaptureSource() override { Close(); }

  platform::DeviceOpenResult Open(int rate, int framesPerBuffer,
                                  std::shared_ptr<platform::CaptureOutlet> outlet) override;
  void Close() override;

  // Threads of all fake sources still running or not yet joined.
  static std::atomic<int> liveThreads;
  // Buffers handed to the outlet by all fake sources.
  static std::atomic<int> delivered;

 private:
  FakeSourceScript script_;
  std::shared_ptr<platform::CaptureOutlet> outlet_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
};

// Hands out one scripted source per open, in order, and a playback sink
// that keeps what it is given or refuses to open.
class FakeDevices : public AudioDeviceFactory {
 public:
  std::vector<FakeSourceScript> scripts;
  platform::DeviceOpenResult playback = platform::DeviceOpenResult::Opened;
  int fixedRate = 0;
  int opens = 0;

  std::unique_ptr<platform::AudioCaptureSource> MakeCaptureSource(const Form1State&) override;
  std::unique_ptr<platform::AudioPlaybackSink> MakePlaybackSink() override;
  int FixedSampleRate() const override { return fixedRate; }
};

// Writes a wave file (or another libsndfile format) of the given frames,
// interleaved; false when libsndfile refuses.
bool WriteSoundFile(const std::string& path, int format, int rate, int channels, const std::vector<int16_t>& samples);
bool WriteWave16(const std::string& path, int rate, int channels, const std::vector<int16_t>& samples);

// Processes posted events until done() or about 5 s have passed.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

}  // namespace audio_test
