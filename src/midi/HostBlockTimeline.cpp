#include "HostBlockTimeline.h"

#include <algorithm>

namespace zarnel
{

void HostBlockTimeline::anchorAt(double nowMs, double sampleRate) noexcept
{
    rate = sampleRate;
    msPerSample = 1000.0 / sampleRate;
    anchorMs = nowMs;
    samplesSinceAnchor = 0;
    windowSamples = 0;
}

double HostBlockTimeline::beginBlock(double nowMs, int numSamples, double sampleRate) noexcept
{
    if (!(sampleRate > 0.0))
    {
        // No rate to count by: the block is where the call is, and the next real one starts anew.
        rate = 0.0;
        msPerSample = 0.0;
        blockStartMs = nowMs;
        return blockStartMs;
    }
    if (sampleRate != rate)
        anchorAt(nowMs, sampleRate);

    double start = anchorMs + (double)samplesSinceAnchor * msPerSample;
    double lead = start - nowMs;
    if (lead < 0.0)
    {
        // Later than its place: whatever is due now must not be due in the past.
        anchorMs -= lead;
        start = nowMs;
        lead = 0.0;
    }
    else if (lead > maxLeadMs)
    {
        anchorAt(nowMs, sampleRate);
        start = nowMs;
        lead = 0.0;
    }

    windowLeadMs = windowSamples == 0 ? lead : std::min(windowLeadMs, lead);
    const auto samples = (std::int64_t)std::max(numSamples, 0);
    windowSamples += samples;
    samplesSinceAnchor += samples;
    blockStartMs = start;

    if ((double)windowSamples >= rate)
    {
        if (windowLeadMs > pullSlackMs)
            anchorMs -= std::min(windowLeadMs - pullSlackMs, maxPullMsPerSecond * (double)windowSamples / rate);
        windowSamples = 0;
    }
    return start;
}

double HostBlockTimeline::dueTime(int samplePosition, double latencyMs) noexcept
{
    const double due = std::max(blockStartMs + latencyMs + (double)std::max(samplePosition, 0) * msPerSample, lastDueMs);
    lastDueMs = due;
    return due;
}

} // namespace zarnel
