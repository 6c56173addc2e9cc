// The game's three sound cues, synthesised: an enemy's explosion (a noisy blast that dies away),
// the boss being struck (a short metallic clang) and the boss's rage (a rising growl).
//
// Each is made in doubles, given a short fade at both ends so it starts and stops without a
// click, and scaled so that its loudest sample sits 1.5 dB below full scale.
#include <cmath>

#include "resgen.h"

namespace resgen {

namespace {

constexpr double kSampleTime = 1.0 / kSampleRate;
constexpr double kPeakLevel = 0.84;  // about -1.5 dBFS

struct Stereo {
  std::vector<double> left, right;
};

Stereo MakeStereo(size_t frames) {
  return {std::vector<double>(frames), std::vector<double>(frames)};
}

// Coefficient of a one-pole low-pass filter with the given corner frequency.
double OnePole(double hertz) {
  return 1 - Exp(-2 * kPi * hertz * kSampleTime);
}

// Raised-cosine fades over the first and last few milliseconds.
void FadeEnds(Stereo& s, double fade_in_seconds, double fade_out_seconds) {
  const size_t frames = s.left.size();
  const size_t in = static_cast<size_t>(fade_in_seconds * kSampleRate);
  const size_t out = static_cast<size_t>(fade_out_seconds * kSampleRate);
  for (size_t i = 0; i < frames; ++i) {
    double gain = 1;
    if (i < in) gain *= 0.5 - 0.5 * Cos(kPi * static_cast<double>(i) / in);
    if (i + out >= frames) gain *= 0.5 - 0.5 * Cos(kPi * static_cast<double>(frames - 1 - i) / out);
    s.left[i] *= gain;
    s.right[i] *= gain;
  }
}

Wave ToWave(const Stereo& s) {
  double peak = 0;
  for (size_t i = 0; i < s.left.size(); ++i) {
    peak = std::fmax(peak, std::fmax(std::fabs(s.left[i]), std::fabs(s.right[i])));
  }
  const double gain = peak > 0 ? kPeakLevel * 32767 / peak : 0;
  Wave wave;
  wave.samples.reserve(s.left.size() * 2);
  for (size_t i = 0; i < s.left.size(); ++i) {
    wave.samples.push_back(static_cast<int16_t>(std::floor(s.left[i] * gain + 0.5)));
    wave.samples.push_back(static_cast<int16_t>(std::floor(s.right[i] * gain + 0.5)));
  }
  return wave;
}

double Noise(Rng& rng) {
  return NextUnit(rng) * 2 - 1;
}

// A gentle saturation that keeps small signals as they are and rounds off the large ones.
double SoftClip(double x) {
  return x / (1 + std::fabs(x) * 0.6);
}

}  // namespace

Wave MakeExplosionSound(size_t frames) {
  Stereo s = MakeStereo(frames);
  Rng rng{0x0E8B10510ull};
  double low_l = 0, low_r = 0, dark_l = 0, dark_r = 0, rumble_l = 0, rumble_r = 0, crack_l = 0,
         crack_r = 0;
  double thump_phase = 0;
  double crackle = 0;
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) * kSampleTime;
    const double common = Noise(rng);
    const double nl = 0.6 * common + 0.4 * Noise(rng);
    const double nr = 0.6 * common + 0.4 * Noise(rng);

    // The body of the blast: noise whose brightness falls as it dies away.
    const double cutoff = 250 + 3200 * Exp(-t / 0.09);
    const double a = OnePole(cutoff);
    low_l += a * (nl - low_l);
    low_r += a * (nr - low_r);
    dark_l += a * (low_l - dark_l);  // a second pole: a duller, heavier roar
    dark_r += a * (low_r - dark_r);
    const double body = Exp(-t / 0.22) * (1 - Exp(-t / 0.004));

    // A deep rumble that outlasts it.
    const double b = OnePole(90);
    rumble_l += b * (nl - rumble_l);
    rumble_r += b * (nr - rumble_r);
    const double rumble = 4.5 * Exp(-t / 0.38) * (1 - Exp(-t / 0.02));

    // The crack at the start: the bright part of the noise, gone within a few tens of ms.
    const double c = OnePole(2500);
    crack_l += c * (nl - crack_l);
    crack_r += c * (nr - crack_r);
    const double crack = 0.9 * Exp(-t / 0.018);

    // A falling thump under everything.
    const double thump_hz = 38 + 70 * Exp(-t / 0.08);
    thump_phase += thump_hz * kSampleTime;
    thump_phase -= std::floor(thump_phase);
    const double thump = 0.55 * Sin(2 * kPi * thump_phase) * Exp(-t / 0.16) * (1 - Exp(-t / 0.003));

    // Sparse crackles of debris in the first half.
    if (NextUnit(rng) < 0.0025 * Exp(-t / 0.25)) crackle = NextRange(rng, -0.8, 0.8);
    crackle *= 0.93;

    s.left[i] = 3.0 * dark_l * body + rumble_l * rumble + (nl - crack_l) * crack + thump + crackle;
    s.right[i] =
        3.0 * dark_r * body + rumble_r * rumble + (nr - crack_r) * crack + thump - crackle * 0.7;
  }
  FadeEnds(s, 0.002, 0.06);
  return ToWave(s);
}

Wave MakeBossHitSound(size_t frames) {
  // Inharmonic partials of a struck metal plate, the high ones dying first.
  struct Partial {
    double hertz, level, decay;
  };
  constexpr Partial kPartials[] = {{231, 0.55, 0.20},   {587, 0.85, 0.16},  {934, 0.60, 0.12},
                                   {1391, 0.55, 0.10},  {1968, 0.40, 0.08}, {2711, 0.30, 0.06},
                                   {3580, 0.22, 0.045}, {4893, 0.15, 0.03}};
  Stereo s = MakeStereo(frames);
  Rng rng{0xB055417ull};
  double click_l = 0, click_r = 0;
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) * kSampleTime;
    double left = 0;
    double right = 0;
    for (const Partial& p : kPartials) {
      const double envelope = p.level * Exp(-t / p.decay);
      left += envelope * Sin(2 * kPi * p.hertz * t);
      right += envelope * Sin(2 * kPi * p.hertz * 1.004 * t + 0.7);  // a little wider
    }
    // The impact itself: a burst of bright noise and a low knock.
    const double a = OnePole(6000);
    click_l += a * (Noise(rng) - click_l);
    click_r += a * (Noise(rng) - click_r);
    const double click = 2.0 * Exp(-t / 0.006);
    const double knock = 0.9 * Sin(2 * kPi * 110 * t) * Exp(-t / 0.035);
    s.left[i] = SoftClip(left + click_l * click + knock);
    s.right[i] = SoftClip(right + click_r * click + knock);
  }
  FadeEnds(s, 0.0008, 0.04);
  return ToWave(s);
}

Wave MakeBossRageSound(size_t frames) {
  Stereo s = MakeStereo(frames);
  Rng rng{0x5A6E6A0A2ull};
  const double length = static_cast<double>(frames) * kSampleTime;
  double phase_l = 0, phase_r = 0, sub_phase = 0;
  double jitter = 0;
  double breath_lo_l = 0, breath_hi_l = 0, breath_lo_r = 0, breath_hi_r = 0;
  double tone_l = 0, tone_r = 0;
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) * kSampleTime;
    const double progress = t / length;

    // The pitch climbs from a low growl to a roar, with a rough, wandering wobble.
    jitter += 0.002 * (Noise(rng) - jitter * 0.01);
    const double base_hz = 52 * Exp(progress * 0.95) * (1 + 0.04 * Sin(2 * kPi * 6.5 * t) + jitter);
    phase_l += base_hz * kSampleTime;
    phase_r += base_hz * 1.006 * kSampleTime;
    sub_phase += base_hz * 0.5 * kSampleTime;
    phase_l -= std::floor(phase_l);
    phase_r -= std::floor(phase_r);
    sub_phase -= std::floor(sub_phase);

    // A band-limited sawtooth for the throat, and a sine an octave below for weight.
    double saw_l = 0;
    double saw_r = 0;
    for (int k = 1; k * base_hz < 7000 && k <= 60; ++k) {
      saw_l += Sin(2 * kPi * k * phase_l) / k;
      saw_r += Sin(2 * kPi * k * phase_r) / k;
    }
    const double sub = 0.6 * Sin(2 * kPi * sub_phase);

    // The growl's flutter: fast amplitude beats that quicken as it rises.
    const double flutter_hz = 22 + 16 * progress;
    const double flutter = 0.65 + 0.35 * Sin(2 * kPi * flutter_hz * t);

    // Breath: band-passed noise, stronger towards the roar.
    const double nl = Noise(rng);
    const double nr = Noise(rng);
    const double lo = OnePole(300), hi = OnePole(2200);
    breath_hi_l += hi * (nl - breath_hi_l);
    breath_lo_l += lo * (breath_hi_l - breath_lo_l);
    breath_hi_r += hi * (nr - breath_hi_r);
    breath_lo_r += lo * (breath_hi_r - breath_lo_r);
    const double breath = 1.6 * (0.3 + 0.7 * progress);

    // Swell up over most of the cue, then let it go.
    const double swell = SmoothStep(0, 0.75, progress) * 0.8 + 0.2;
    const double left = (0.5 * saw_l + sub) * flutter + (breath_hi_l - breath_lo_l) * breath;
    const double right = (0.5 * saw_r + sub) * flutter + (breath_hi_r - breath_lo_r) * breath;

    // Drive it into saturation for grit, then soften the top end.
    const double c = OnePole(3500);
    tone_l += c * (SoftClip(2.2 * left) - tone_l);
    tone_r += c * (SoftClip(2.2 * right) - tone_r);
    s.left[i] = tone_l * swell;
    s.right[i] = tone_r * swell;
  }
  FadeEnds(s, 0.01, 0.16);
  return ToWave(s);
}

}  // namespace resgen
