#include "platform/alsa_audio.h"

#include <alsa/asoundlib.h>

#include <QLoggingCategory>
#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <system_error>

// Off unless QT_LOGGING_RULES="skarvel.alsa.debug=true" asks for it.
Q_LOGGING_CATEGORY(alsaChatter, "skarvel.alsa", QtWarningMsg)

namespace platform {
namespace {

// ALSA writes its own complaints (an unknown PCM, a missing card) to the
// terminal; the program reports failures itself, so they go to the debug
// output instead.
void AlsaChatter(const char* file, int line, const char* function, int err, const char* fmt, ...) {
  char text[512];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(text, sizeof text, fmt, args);
  va_end(args);
  qCDebug(alsaChatter, "ALSA %s:%d (%s) %s%s%s", file, line, function, text, err ? ": " : "", err ? snd_strerror(err) : "");
}

void QuietAlsa() {
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(AlsaChatter); });
}

// Interleaved 16-bit stereo at exactly `rate`; false when the device
// refuses any of it.
bool SetFormat(snd_pcm_t* pcm, snd_pcm_hw_params_t* hw, int rate) {
  return snd_pcm_hw_params_any(pcm, hw) >= 0 &&
         snd_pcm_hw_params_set_access(pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED) >= 0 &&
         snd_pcm_hw_params_set_format(pcm, hw, SND_PCM_FORMAT_S16_LE) >= 0 &&
         snd_pcm_hw_params_set_channels(pcm, hw, 2) >= 0 &&
         snd_pcm_hw_params_set_rate(pcm, hw, static_cast<unsigned>(rate), 0) >= 0;
}

// Period and ring size, then the whole set; false when they do not take.
bool SetBuffers(snd_pcm_t* pcm, snd_pcm_hw_params_t* hw, int framesPerPeriod, int periods, int minPeriods) {
  snd_pcm_uframes_t period = static_cast<snd_pcm_uframes_t>(framesPerPeriod);
  int dir = 0;
  if (snd_pcm_hw_params_set_period_size_near(pcm, hw, &period, &dir) < 0) return false;
  snd_pcm_uframes_t ring = period * static_cast<snd_pcm_uframes_t>(periods);
  if (snd_pcm_hw_params_set_buffer_size_near(pcm, hw, &ring) < 0) return false;
  if (ring < period * static_cast<snd_pcm_uframes_t>(minPeriods)) return false;
  return snd_pcm_hw_params(pcm, hw) >= 0;
}

void ClosePcm(_snd_pcm*& pcm) {
  if (!pcm) return;
  snd_pcm_drop(pcm);
  snd_pcm_close(pcm);
  pcm = nullptr;
}

// Opens `name` without blocking as 16-bit stereo at `rate` with its ring of
// `periods` periods (at least minPeriods); on failure nothing stays open.
DeviceOpenResult OpenPcm(_snd_pcm*& pcm, const std::string& name, snd_pcm_stream_t stream, int rate,
                         int framesPerPeriod, int periods, int minPeriods) {
  QuietAlsa();
  if (name.empty() || framesPerPeriod <= 0 || snd_pcm_open(&pcm, name.c_str(), stream, SND_PCM_NONBLOCK) < 0) {
    pcm = nullptr;
    return DeviceOpenResult::DeviceRefused;
  }
  snd_pcm_hw_params_t* hw;
  snd_pcm_hw_params_alloca(&hw);
  if (!SetFormat(pcm, hw, rate)) {
    ClosePcm(pcm);
    return DeviceOpenResult::DeviceRefused;
  }
  if (!SetBuffers(pcm, hw, framesPerPeriod, periods, minPeriods)) {
    ClosePcm(pcm);
    return DeviceOpenResult::BufferFailed;
  }
  return DeviceOpenResult::Opened;
}

}  // namespace

// plughw, so that the plug layer converts rate and channels, which many hw
// devices lack; by card and then device index.
std::vector<CaptureDevice> EnumerateCaptureDevices() {
  QuietAlsa();
  std::vector<CaptureDevice> entries;
  int card = -1;
  while (snd_card_next(&card) >= 0 && card >= 0) {
    snd_ctl_t* ctl = nullptr;
    const std::string hw = "hw:" + std::to_string(card);
    if (snd_ctl_open(&ctl, hw.c_str(), 0) < 0) continue;
    snd_ctl_card_info_t* cardInfo;
    snd_ctl_card_info_alloca(&cardInfo);
    if (snd_ctl_card_info(ctl, cardInfo) >= 0) {
      const std::string id = snd_ctl_card_info_get_id(cardInfo);
      const std::string cardName = snd_ctl_card_info_get_name(cardInfo);
      int device = -1;
      while (snd_ctl_pcm_next_device(ctl, &device) >= 0 && device >= 0) {
        snd_pcm_info_t* pcmInfo;
        snd_pcm_info_alloca(&pcmInfo);
        snd_pcm_info_set_device(pcmInfo, static_cast<unsigned>(device));
        snd_pcm_info_set_subdevice(pcmInfo, 0);
        snd_pcm_info_set_stream(pcmInfo, SND_PCM_STREAM_CAPTURE);
        if (snd_ctl_pcm_info(ctl, pcmInfo) < 0) continue;
        entries.push_back({cardName + ": " + snd_pcm_info_get_name(pcmInfo),
                           "plughw:CARD=" + id + ",DEV=" + std::to_string(device)});
      }
    }
    snd_ctl_close(ctl);
  }
  return entries;
}

AlsaCaptureSource::AlsaCaptureSource(std::string pcmName) : pcmName_(std::move(pcmName)) {}

AlsaCaptureSource::~AlsaCaptureSource() { Close(); }

DeviceOpenResult AlsaCaptureSource::Open(int rate, int framesPerBuffer, std::shared_ptr<CaptureOutlet> outlet) {
  Close();
  DeviceOpenResult opened = OpenPcm(pcm_, pcmName_, SND_PCM_STREAM_CAPTURE, rate, framesPerBuffer, 8, 4);
  if (opened != DeviceOpenResult::Opened) return opened;
  if (snd_pcm_start(pcm_) < 0) {
    ClosePcm(pcm_);
    return DeviceOpenResult::BufferFailed;
  }
  outlet_ = std::move(outlet);
  stop_ = false;
  try {
    reader_ = std::thread([this, framesPerBuffer] { ReadLoop(framesPerBuffer); });
  } catch (const std::system_error&) {
    ClosePcm(pcm_);
    outlet_.reset();
    return DeviceOpenResult::BufferFailed;
  }
  return DeviceOpenResult::Opened;
}

void AlsaCaptureSource::Close() {
  stop_ = true;
  if (outlet_) outlet_->Shut();
  if (reader_.joinable()) reader_.join();
  ClosePcm(pcm_);
  outlet_.reset();
}

void AlsaCaptureSource::ReadLoop(int framesPerBuffer) {
  const size_t samples = 2 * static_cast<size_t>(framesPerBuffer);
  std::vector<int16_t> buffer(samples);
  int filled = 0;
  auto recover = [this](long err) {
    if (err == -EPIPE) {
      ++overruns_;
      snd_pcm_prepare(pcm_);
      snd_pcm_start(pcm_);
    } else if (snd_pcm_recover(pcm_, static_cast<int>(err), 1) >= 0) {
      snd_pcm_start(pcm_);
    } else {
      // A device that went away: try again later rather than spin.
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  };
  while (!stop_) {
    // At most 100 ms at a time, so that a close is noticed promptly.
    int ready = snd_pcm_wait(pcm_, 100);
    if (ready < 0) {
      recover(ready);
      continue;
    }
    if (ready == 0) continue;
    snd_pcm_sframes_t got = snd_pcm_readi(pcm_, buffer.data() + 2 * filled,
                                          static_cast<snd_pcm_uframes_t>(framesPerBuffer - filled));
    if (got == -EAGAIN) continue;
    if (got < 0) {
      recover(got);
      continue;
    }
    filled += static_cast<int>(got);
    if (filled < framesPerBuffer) continue;
    filled = 0;
    if (outlet_->Offer(buffer, false)) {
      buffer.assign(samples, 0);
    } else {
      // The queue is full: this buffer is lost, as a ring that ran dry
      // would lose it.
      ++dropped_;
    }
  }
}

AlsaPlaybackSink::AlsaPlaybackSink(std::string pcmName) : pcmName_(std::move(pcmName)) {}

AlsaPlaybackSink::~AlsaPlaybackSink() { Close(); }

DeviceOpenResult AlsaPlaybackSink::Open(int rate, int framesPerPeriod, int periods) {
  Close();
  DeviceOpenResult opened = OpenPcm(pcm_, pcmName_, SND_PCM_STREAM_PLAYBACK, rate, framesPerPeriod, periods, 1);
  if (opened != DeviceOpenResult::Opened) return opened;
  snd_pcm_sw_params_t* sw;
  snd_pcm_sw_params_alloca(&sw);
  // Playing starts with the first block written.
  if (snd_pcm_sw_params_current(pcm_, sw) < 0 || snd_pcm_sw_params_set_start_threshold(pcm_, sw, 1) < 0 ||
      snd_pcm_sw_params(pcm_, sw) < 0) {
    ClosePcm(pcm_);
    return DeviceOpenResult::BufferFailed;
  }
  return DeviceOpenResult::Opened;
}

int AlsaPlaybackSink::Write(const int16_t* interleaved, int frames) {
  if (!pcm_ || frames <= 0) return 0;
  snd_pcm_sframes_t taken = snd_pcm_writei(pcm_, interleaved, static_cast<snd_pcm_uframes_t>(frames));
  if (taken == -EPIPE || taken == -ESTRPIPE) {
    // An underrun: start again, once.
    snd_pcm_prepare(pcm_);
    taken = snd_pcm_writei(pcm_, interleaved, static_cast<snd_pcm_uframes_t>(frames));
  }
  return taken > 0 ? static_cast<int>(taken) : 0;
}

void AlsaPlaybackSink::Close() { ClosePcm(pcm_); }

}  // namespace platform
