// Holds the frame loop to its target rate and decides what GetFrameTime
// reports. Pure logic over an injected clock, so it can be driven by a fake
// clock in tests and by the SDL performance counter in the game.
//
// Frames end on absolute deadlines (start + n periods), so small oversleeps
// are made up by the next frames instead of adding up. The wait sleeps until
// a short spin window before the deadline and spins the rest: sleeping alone
// wakes up late by a varying amount, spinning alone burns a core. The spin
// window follows how late recent sleeps woke up (a slowly fading peak plus a
// margin), between PACER_MIN_SPIN_SECONDS and PACER_MAX_SPIN_SECONDS, so a
// quiet machine spins very little and a busy one still ends frames on time.
//
// A frame that ends on pace reports exactly the target period (1.0f / fps),
// so step timers fed by GetFrameTime advance identically every frame. A frame
// that ends late by more than a quarter period (a stall, a dragged window)
// reports how long it really took, and the deadlines restart from it.
#ifndef COILRUSH_FRAME_PACER_H
#define COILRUSH_FRAME_PACER_H

#include <cstdint>

struct PacerClock {
    std::int64_t ticksPerSecond;
    std::int64_t (*now)(void *context);
    void (*sleepFor)(void *context, std::int64_t ticks);
    void *context;
};

struct FramePacer {
    std::int64_t ticksPerSecond = 1;
    int targetFps = 0;  // 0: no target, frames run back to back
    std::int64_t periodTicks = 0;
    std::int64_t spinTicks = 0;      // spin window before each deadline
    std::int64_t oversleepPeak = 0;  // fading peak of how late sleeps woke up
    std::int64_t lateTolerance = 0;
    float targetFrameTime = 0.0f;
    std::int64_t epoch = 0;  // deadlines are epoch + n * period
    std::int64_t framesSinceEpoch = 0;
    std::int64_t lastFrameEnd = 0;
    float frameTime = 0.0f;  // what GetFrameTime reports
    bool hasFinishedFrame = false;
};

inline constexpr double PACER_START_SPIN_SECONDS = 0.0003;
inline constexpr double PACER_MIN_SPIN_SECONDS = 0.0001;
inline constexpr double PACER_MAX_SPIN_SECONDS = 0.0005;
inline constexpr double PACER_SPIN_MARGIN_SECONDS = 0.00005;

// Starts the frame clock at `now` with no target rate.
void StartFramePacer(FramePacer &pacer, std::int64_t ticksPerSecond, std::int64_t now);
// fps <= 0 removes the target. The next deadline is one period after `now`.
void SetFramePacerTarget(FramePacer &pacer, int fps, std::int64_t now);

// When the current frame should end (meaningless without a target).
std::int64_t FrameDeadline(const FramePacer &pacer);
// How long to sleep from `now`: up to the spin window before the deadline,
// 0 when it is time to spin or the frame is due.
std::int64_t TicksToSleep(const FramePacer &pacer, std::int64_t now);
bool IsFrameDue(const FramePacer &pacer, std::int64_t now);
// Ends the frame at `now`: sets frameTime and the next deadline.
void FinishFrame(FramePacer &pacer, std::int64_t now);
// A sleep meant to end at `intendedWake` ended at `actualWake`: adjusts the
// spin window.
void NoteWakeUp(FramePacer &pacer, std::int64_t intendedWake, std::int64_t actualWake);

// Waits for the deadline with the clock's sleep and a final spin, then
// finishes the frame. Returns the moment the frame ended.
std::int64_t HoldFramePace(FramePacer &pacer, const PacerClock &clock);

#endif
