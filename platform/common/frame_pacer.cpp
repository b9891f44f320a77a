#include "frame_pacer.h"

#include <algorithm>

namespace {

std::int64_t SecondsToTicks(double seconds, std::int64_t ticksPerSecond) {
    return static_cast<std::int64_t>(seconds * static_cast<double>(ticksPerSecond));
}

void RestartDeadlines(FramePacer &pacer, std::int64_t now) {
    pacer.epoch = now;
    pacer.framesSinceEpoch = 0;
}

}  // namespace

void StartFramePacer(FramePacer &pacer, std::int64_t ticksPerSecond, std::int64_t now) {
    pacer = FramePacer{};
    pacer.ticksPerSecond = ticksPerSecond > 0 ? ticksPerSecond : 1;
    pacer.lastFrameEnd = now;
    RestartDeadlines(pacer, now);
}

void SetFramePacerTarget(FramePacer &pacer, int fps, std::int64_t now) {
    pacer.targetFps = fps > 0 ? fps : 0;
    if (pacer.targetFps == 0) {
        pacer.periodTicks = 0;
        pacer.spinTicks = 0;
        pacer.lateTolerance = 0;
        pacer.targetFrameTime = 0.0f;
    } else {
        pacer.periodTicks = pacer.ticksPerSecond / pacer.targetFps;
        pacer.spinTicks = SecondsToTicks(PACER_START_SPIN_SECONDS, pacer.ticksPerSecond);
        pacer.oversleepPeak = pacer.spinTicks;
        pacer.lateTolerance = pacer.periodTicks / 4;
        pacer.targetFrameTime = 1.0f / static_cast<float>(pacer.targetFps);
    }
    RestartDeadlines(pacer, now);
}

std::int64_t FrameDeadline(const FramePacer &pacer) {
    if (pacer.targetFps == 0) {
        return pacer.lastFrameEnd;
    }
    // Whole-second division keeps 60 frames exactly one second apart even
    // when the period is not a whole number of ticks.
    const std::int64_t frames = pacer.framesSinceEpoch + 1;
    return pacer.epoch + frames / pacer.targetFps * pacer.ticksPerSecond +
           frames % pacer.targetFps * pacer.ticksPerSecond / pacer.targetFps;
}

std::int64_t TicksToSleep(const FramePacer &pacer, std::int64_t now) {
    if (pacer.targetFps == 0) {
        return 0;
    }
    const std::int64_t sleep = FrameDeadline(pacer) - pacer.spinTicks - now;
    return sleep > 0 ? sleep : 0;
}

bool IsFrameDue(const FramePacer &pacer, std::int64_t now) {
    return pacer.targetFps == 0 || now >= FrameDeadline(pacer);
}

void FinishFrame(FramePacer &pacer, std::int64_t now) {
    const std::int64_t elapsed = now - pacer.lastFrameEnd;
    const float measured = static_cast<float>(static_cast<double>(elapsed) /
                                              static_cast<double>(pacer.ticksPerSecond));
    if (pacer.targetFps == 0) {
        pacer.frameTime = measured;
    } else if (now - FrameDeadline(pacer) <= pacer.lateTolerance) {
        pacer.frameTime = pacer.targetFrameTime;
        ++pacer.framesSinceEpoch;
    } else {
        // The real duration is reported, so there is nothing to catch up on.
        pacer.frameTime = measured;
        RestartDeadlines(pacer, now);
    }
    pacer.lastFrameEnd = now;
    pacer.hasFinishedFrame = true;
}

void NoteWakeUp(FramePacer &pacer, std::int64_t intendedWake, std::int64_t actualWake) {
    const std::int64_t oversleep = actualWake > intendedWake ? actualWake - intendedWake : 0;
    // The peak fades by 1/32 per sleep: one late wake-up widens the window at
    // once, and it takes a few dozen calm frames to narrow it again.
    pacer.oversleepPeak = std::max(oversleep, pacer.oversleepPeak - pacer.oversleepPeak / 32);
    const std::int64_t margin = SecondsToTicks(PACER_SPIN_MARGIN_SECONDS, pacer.ticksPerSecond);
    pacer.spinTicks = std::clamp(pacer.oversleepPeak + margin,
                                 SecondsToTicks(PACER_MIN_SPIN_SECONDS, pacer.ticksPerSecond),
                                 SecondsToTicks(PACER_MAX_SPIN_SECONDS, pacer.ticksPerSecond));
}

std::int64_t HoldFramePace(FramePacer &pacer, const PacerClock &clock) {
    std::int64_t now = clock.now(clock.context);
    while (!IsFrameDue(pacer, now)) {
        const std::int64_t sleep = TicksToSleep(pacer, now);
        if (sleep > 0) {
            clock.sleepFor(clock.context, sleep);
            const std::int64_t woke = clock.now(clock.context);
            NoteWakeUp(pacer, now + sleep, woke);
            now = woke;
        } else {
            now = clock.now(clock.context);
        }
    }
    FinishFrame(pacer, now);
    return now;
}
