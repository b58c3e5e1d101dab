// Program builder and the archetype voices the factory banks are made from.
// Each archetype sets up a complete playable sound; the bank tables then vary
// it with the chained setters below.
#pragma once

#include "SoundDesign.h"

#include <array>
#include <cstddef>

namespace factorygen::design
{

// Oscillator shapes: 4..103 is a pulse of width 0..99.
constexpr int Off = 0, Saw = 1, Tri = 2, SawTri = 3, Square = 54;
constexpr int pw(int width)
{
    return 4 + width;
}

// LFO shapes.
constexpr int lTri = 0, lRevSaw = 1, lSaw = 2, lSquare = 3, lRandom = 4;

// Clock-synced LFO rates (free rates are 0..150).
constexpr int sync32 = 151, sync16 = 152, sync8 = 153, sync6 = 154, sync4 = 155, sync3 = 156, sync2 = 157,
              sync3_2 = 158, sync1 = 159, sync2_3 = 160, sync1_2 = 161, sync1_3 = 162, sync1_4 = 163,
              sync1_6 = 164, sync1_8 = 165, sync1_16 = 166;

// clang-format off
enum Dest : int
{
    dOff, dOsc1, dOsc2, dOscAll, dMix, dNoise, dPw1, dPw2, dPwAll, dCutoff, dRes, dAudioMod, dVca, dPan,
    dLfo1Freq, dLfo2Freq, dLfo3Freq, dLfo4Freq, dLfoAllFreq,
    dLfo1Amt, dLfo2Amt, dLfo3Amt, dLfo4Amt, dLfoAllAmt,
    dFiltEnvAmt, dAmpEnvAmt, dEnv3Amt, dEnvAllAmt,
    dFiltAtk, dAmpAtk, dEnv3Atk, dAllAtk,
    dFiltDec, dAmpDec, dEnv3Dec, dAllDec,
    dFiltRel, dAmpRel, dEnv3Rel, dAllRel,
    dMod1Amt, dMod2Amt, dMod3Amt, dMod4Amt,
    dFbVol, dSub1, dSub2, dFbGain,
};
// clang-format on
static_assert(dFbGain == 47);

// clang-format off
enum Source : int
{
    sOff, sSeq1, sSeq2, sSeq3, sSeq4, sLfo1, sLfo2, sLfo3, sLfo4, sFiltEnv, sAmpEnv, sEnv3,
    sBend, sWheel, sPressure, sBreath, sFoot, sExpression, sVelocity, sNote, sNoise,
};
// clang-format on

// clang-format off
enum Category : int
{
    cKeys = 1, cOrgans, cStrings, cSoftLead, cBrightLead, cResLead, cSync, cSoftBass, cBrightBass,
    cResBass, cSubBass, cBrass, cInstruments, cEvolution, cMotion, cSynth, cVox, cBells, cHarmonics,
    cSequence, cPercussion, cNoise, cSoundFx, cPads, cArp,
};
// clang-format on
static_assert(cArp == 25);

// clang-format off
enum ClockDivide : int
{
    dvHalf, dvQuarter, dvEighth, dvEighthHalfSwing, dvEighthSwing, dvEighthTriplet, dvSixteenth,
    dv16HalfSwing, dv16Swing, dv16Triplet, dv32nd, dv32Triplet, dv64Triplet,
};
// clang-format on

// Arp modes; add arp2Oct / arp3Oct for the wider ranges.
constexpr int arpUp = 0, arpDown = 1, arpUpDown = 2, arpAssign = 3, arpRandom = 4;
constexpr int arp2Oct = 5, arp3Oct = 10;

// Voice assignment when unison is on.
constexpr int kLow = 0, kLowRetrig = 1, kHigh = 2, kHighRetrig = 3, kLast = 4, kLastRetrig = 5;

// Bipolar amounts are stored with 127 as zero.
constexpr int bi(int amount)
{
    return 127 + amount;
}

// Sequencer pitch: two step units per semitone above the patch's own tuning.
// X marks a rest (track 1 only).
constexpr int X = -1;
using Steps = std::array<int, 16>;
constexpr Steps notes(const Steps& semitones)
{
    Steps out{};
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = semitones[i] == X ? 127 : semitones[i] * 2;
    return out;
}

class Patch
{
public:
    Patch() : v_(defaultRecord()) {}

    Patch& set(int index, int value)
    {
        v_[static_cast<std::size_t>(index)] = value;
        return *this;
    }
    int get(int index) const { return v_[static_cast<std::size_t>(index)]; }
    const Record& values() const { return v_; }

    Patch& osc1(int note, int shape, int fine = 50) { return set(0, note).set(1, fine).set(2, shape); }
    Patch& osc2(int note, int shape, int fine = 50) { return set(6, note).set(7, fine).set(8, shape); }
    Patch& sub(int level1, int level2 = 0) { return set(5, level1).set(11, level2); }
    Patch& sync(bool on = true) { return set(12, on ? 1 : 0); }
    Patch& glide(int amount, int mode = 0) { return set(3, amount).set(9, amount).set(13, mode); }
    Patch& slop(int amount) { return set(14, amount); }
    Patch& bend(int semitones) { return set(15, semitones); }
    Patch& mix(int balance) { return set(16, balance); }
    Patch& noise(int level) { return set(17, level); }
    Patch& feedback(int volume, int gain) { return set(18, volume).set(19, gain); }
    Patch& fixedPitch() { return set(4, 0).set(10, 0); }

    Patch& filter(int cutoff, int res, int keyAmount, bool fourPole = true)
    {
        return set(20, cutoff).set(21, res).set(22, keyAmount).set(24, fourPole ? 1 : 0);
    }
    Patch& cutoff(int value) { return set(20, value); }
    Patch& res(int value) { return set(21, value); }
    Patch& twoPole() { return set(24, 0); }
    Patch& audioMod(int amount) { return set(23, amount); }
    Patch& fenv(int amount, int a, int d, int s, int r, int delay = 0)
    {
        return set(25, bi(amount)).set(27, delay).set(28, a).set(29, d).set(30, s).set(31, r);
    }
    Patch& aenv(int a, int d, int s, int r, int delay = 0)
    {
        return set(35, delay).set(36, a).set(37, d).set(38, s).set(39, r);
    }
    Patch& velocity(int amp, int filt) { return set(34, amp).set(26, filt); }
    Patch& vcaLevel(int level) { return set(32, level); }
    Patch& spread(int amount) { return set(40, amount); }
    Patch& volume(int level) { return set(41, level); }

    Patch& lfo(int n, int rate, int shape, int amount, int dest, bool keySync = false)
    {
        const int b = 42 + 5 * (n - 1);
        return set(b, rate).set(b + 1, shape).set(b + 2, amount).set(b + 3, dest).set(b + 4, keySync ? 1 : 0);
    }
    Patch& env3(int dest, int amount, int a, int d, int s, int r, bool repeat = false, int delay = 0)
    {
        return set(62, dest)
            .set(63, bi(amount))
            .set(65, delay)
            .set(66, a)
            .set(67, d)
            .set(68, s)
            .set(69, r)
            .set(70, repeat ? 1 : 0);
    }
    Patch& env3Velocity(int amount) { return set(64, amount); }
    Patch& mod(int slot, int source, int amount, int dest)
    {
        const int b = 71 + 3 * (slot - 1);
        return set(b, source).set(b + 1, bi(amount)).set(b + 2, dest);
    }
    Patch& wheel(int amount, int dest) { return set(83, bi(amount)).set(84, dest); }
    Patch& pressure(int amount, int dest) { return set(85, bi(amount)).set(86, dest); }
    Patch& breath(int amount, int dest) { return set(87, bi(amount)).set(88, dest); }
    Patch& velMod(int amount, int dest) { return set(89, bi(amount)).set(90, dest); }
    Patch& foot(int amount, int dest) { return set(91, bi(amount)).set(92, dest); }

    // Single-voice mono; unison() stacks voices (mode 1..4).
    Patch& mono(int assign = kLastRetrig) { return set(93, 0).set(94, assign).set(95, 1); }
    Patch& unison(int mode, int assign = kLast) { return set(93, mode).set(94, assign).set(95, 1); }
    Patch& poly() { return set(95, 0); }
    Patch& pushIt(int note, int vel, bool toggle = false)
    {
        return set(96, note).set(97, vel).set(98, toggle ? 1 : 0);
    }

    Patch& clock(int bpm, int divide) { return set(101, bpm).set(102, divide); }
    Patch& arp(int mode, int bpm, int divide) { return set(103, mode).set(104, 1).clock(bpm, divide); }
    Patch& seq(int bpm, int divide, int dest1, int dest2, int dest3, int dest4, int trigger = 0)
    {
        return clock(bpm, divide)
            .set(105, trigger)
            .set(106, 1)
            .set(107, dest1)
            .set(108, dest2)
            .set(109, dest3)
            .set(110, dest4);
    }
    Patch& track(int n, const Steps& steps)
    {
        const int b = 120 + 16 * (n - 1);
        for (std::size_t i = 0; i < steps.size(); ++i)
            set(b + static_cast<int>(i), steps[i]);
        return *this;
    }

private:
    Record v_;
};

// ---------------------------------------------------------------------------
// Archetypes. Every one starts from the default record and leaves the
// sequencer alone unless it is a sequence voice.

// Mono bass: two oscillators, 4-pole, plucky filter envelope, near-full sustain.
inline Patch bass(int s1, int s2, int interval, int cutoff, int res, int envAmount, int decay)
{
    Patch p;
    p.osc1(24, s1)
        .osc2(24 + interval, s2, interval == 0 ? 54 : 51)
        .mix(s2 == Off ? 0 : 64)
        .filter(cutoff, res, 40)
        .fenv(envAmount, 0, decay, 14, 22)
        .aenv(0, 72, 116, 16)
        .velocity(36, 30)
        .slop(1)
        .bend(2)
        .mono(kLastRetrig)
        .volume(118)
        .wheel(36, dCutoff);
    return p;
}

// Sub: one soft oscillator plus the sub oscillator, filter nearly closed.
inline Patch subBass(int shape, int octave, int cutoff, int subLevel)
{
    Patch p;
    p.osc1(octave, shape)
        .osc2(octave, Off)
        .mix(0)
        .sub(subLevel)
        .filter(cutoff, 0, 24)
        .fenv(16, 0, 60, 40, 20)
        .aenv(0, 80, 124, 18)
        .velocity(20, 8)
        .slop(0)
        .bend(2)
        .mono(kLastRetrig)
        .volume(120)
        .wheel(30, dCutoff);
    return p;
}

// Mono lead: vibrato on the wheel, pressure opens the filter, a little glide.
inline Patch lead(int s1, int s2, int interval, int cutoff, int res, int envAmount)
{
    Patch p;
    p.osc1(24, s1)
        .osc2(24 + interval, s2, 54)
        .mix(s2 == Off ? 0 : 64)
        .filter(cutoff, res, 64)
        .fenv(envAmount, 0, 56, 70, 30)
        .aenv(1, 60, 118, 30)
        .velocity(24, 28)
        .lfo(1, 78, lTri, 0, dOscAll)
        .wheel(20, dLfo1Amt)
        .pressure(40, dCutoff)
        .glide(10)
        .slop(2)
        .bend(2)
        .mono(kLast)
        .volume(112);
    return p;
}

// Hard sync: osc 2 is the slave, swept by envelope 3; the wheel pushes it further.
inline Patch syncLead(int master, int slave, int interval, int sweep, int sweepDecay, int cutoff)
{
    Patch p;
    p.osc1(24, master)
        .osc2(24 + interval, slave)
        .sync()
        .mix(104)
        .filter(cutoff, 10, 64)
        .fenv(24, 0, 60, 80, 30)
        .env3(dOsc2, sweep, 0, sweepDecay, 0, 30)
        .aenv(0, 60, 120, 28)
        .velocity(24, 20)
        .lfo(1, 76, lTri, 0, dOscAll)
        .pressure(16, dLfo1Amt)
        .wheel(50, dOsc2)
        .bend(2)
        .mono(kLast)
        .glide(6)
        .volume(110);
    return p;
}

// Poly brass: the filter envelope attack is what makes it speak.
inline Patch brass(int s1, int s2, int detune, int cutoff, int envAmount, int attack)
{
    Patch p;
    p.osc1(24, s1)
        .osc2(24, s2, 50 + detune)
        .mix(s2 == Off ? 0 : 64)
        .filter(cutoff, 6, 56)
        .fenv(envAmount, attack, 64, 64, 34)
        .aenv(attack / 2, 60, 112, 32)
        .velocity(40, 48)
        .lfo(1, 74, lTri, 0, dOscAll)
        .wheel(16, dLfo1Amt)
        .pressure(30, dCutoff)
        .slop(3)
        .spread(36)
        .volume(112);
    return p;
}

// String ensemble: 2-pole, slow pulse-width movement, wide spread.
inline Patch strings(int s1, int s2, int detune, int cutoff, int attack, int release)
{
    Patch p;
    p.osc1(24, s1)
        .osc2(24, s2, 50 + detune)
        .filter(cutoff, 4, 64, false)
        .fenv(18, attack, 80, 100, release)
        .aenv(attack, 80, 118, release)
        .velocity(20, 16)
        .lfo(2, 28, lTri, 18, dPwAll)
        .lfo(1, 72, lTri, 0, dOscAll)
        .wheel(14, dLfo1Amt)
        .slop(3)
        .spread(90)
        .volume(110);
    return p;
}

// Pad: slow envelopes, detuned pair, slow filter drift, wheel opens it up.
inline Patch pad(int s1, int s2, int interval, int cutoff, int attack, int release)
{
    Patch p;
    p.osc1(24, s1)
        .osc2(24 + interval, s2, 57)
        .filter(cutoff, 18, 48)
        .fenv(22, attack, 90, 96, release)
        .aenv(attack, 90, 120, release)
        .velocity(18, 10)
        .lfo(2, 18, lTri, 14, dCutoff)
        .lfo(3, 24, lTri, 10, dPwAll)
        .wheel(30, dCutoff)
        .slop(4)
        .spread(100)
        .volume(108);
    return p;
}

// Keys: velocity-driven filter and level, decaying body.
inline Patch keys(int s1, int s2, int interval, int cutoff, int decay, int sustain)
{
    Patch p;
    p.osc1(24, s1)
        .osc2(24 + interval, s2, 52)
        .filter(cutoff, 8, 64)
        .fenv(46, 0, decay, sustain / 2, 34)
        .aenv(0, decay + 12, sustain, 36)
        .velocity(64, 56)
        .lfo(1, 74, lTri, 0, dOscAll)
        .wheel(14, dLfo1Amt)
        .slop(1)
        .spread(40)
        .volume(114);
    return p;
}

// Organ: gate envelope, no velocity; envelope 3 briefly raises osc 2 for a key click,
// the wheel brings in a rotor-like pan wobble.
inline Patch organ(int s1, int s2, int interval, int subLevel, int cutoff, int click)
{
    Patch p;
    p.osc1(24, s1)
        .osc2(24 + interval, s2)
        .sub(subLevel)
        .filter(cutoff, 0, 64, false)
        .aenv(0, 0, 127, 8)
        .velocity(0, 0)
        .lfo(1, 96, lTri, 0, dPan)
        .wheel(60, dLfo1Amt)
        .slop(1)
        .spread(20)
        .volume(110);
    if (click > 0)
        p.env3(dMix, click, 0, 14, 0, 10);
    return p;
}

// Bell: inharmonic second oscillator, audio-rate filter modulation, long decay.
inline Patch bell(int s1, int s2, int interval, int fine, int fm, int cutoff, int decay)
{
    Patch p;
    p.osc1(24, s1)
        .osc2(24 + interval, s2, fine)
        .audioMod(fm)
        .filter(cutoff, 0, 80, false)
        .fenv(28, 0, decay * 3 / 4, 0, decay * 3 / 4)
        .aenv(0, decay, 0, decay)
        .velocity(56, 40)
        .spread(60)
        .volume(112);
    return p;
}

// Plucked: everything decays to silence; release follows the decay.
inline Patch pluck(int s1, int s2, int interval, int cutoff, int res, int envAmount, int decay)
{
    Patch p;
    p.osc1(24, s1)
        .osc2(24 + interval, s2, 52)
        .mix(s2 == Off ? 0 : 64)
        .filter(cutoff, res, 64)
        .fenv(envAmount, 0, decay, 0, decay / 2)
        .aenv(0, decay + 16, 0, decay / 2 + 8)
        .velocity(60, 50)
        .spread(50)
        .volume(116);
    return p;
}

// General poly synth: stabs, chords, soft polys.
inline Patch polySynth(int s1, int s2, int interval, int cutoff, int res, int envAmount, int decay,
                       int sustain)
{
    Patch p;
    p.osc1(24, s1)
        .osc2(24 + interval, s2, 53)
        .filter(cutoff, res, 56)
        .fenv(envAmount, 0, decay, sustain, 30)
        .aenv(0, decay + 10, sustain > 0 ? 110 : 0, 30)
        .velocity(50, 40)
        .lfo(1, 76, lTri, 0, dOscAll)
        .wheel(16, dLfo1Amt)
        .pressure(30, dCutoff)
        .slop(2)
        .spread(60)
        .volume(114);
    return p;
}

// Voices: 2-pole resonance as a formant, slow vowel drift, always-on vibrato.
inline Patch vox(int s1, int s2, int cutoff, int res, int attack)
{
    Patch p;
    p.osc1(24, s1)
        .osc2(24, s2, 54)
        .noise(10)
        .filter(cutoff, res, 64, false)
        .fenv(16, attack, 80, 100, 70)
        .aenv(attack, 80, 118, 70)
        .velocity(24, 10)
        .lfo(1, 72, lTri, 4, dOscAll)
        .lfo(2, 16, lTri, 20, dCutoff)
        .wheel(40, dRes)
        .slop(3)
        .spread(80)
        .volume(110);
    return p;
}

// Harmonics: overtone-tuned second oscillator, feedback and audio mod for the
// upper partials; envelope 3 slowly walks the partial balance.
inline Patch harmonics(int s1, int s2, int interval, int fine, int fbGain, int fm, int cutoff)
{
    Patch p;
    p.osc1(24, s1)
        .osc2(24 + interval, s2, fine)
        .mix(80)
        .feedback(fbGain / 2, fbGain)
        .audioMod(fm)
        .filter(cutoff, 30, 64)
        .fenv(20, 20, 90, 80, 60)
        .aenv(10, 80, 112, 60)
        .velocity(30, 30)
        .env3(dMix, -40, 60, 100, 40, 60)
        .lfo(1, 74, lTri, 0, dOscAll)
        .wheel(16, dLfo1Amt)
        .slop(2)
        .spread(70)
        .volume(110);
    return p;
}

// Evolving: a pad whose mix, width and filter keep moving on unrelated slow LFOs.
inline Patch evolve(int s1, int s2, int interval, int cutoff, int rate)
{
    Patch p = pad(s1, s2, interval, cutoff, 80, 100);
    p.lfo(1, rate, lTri, 36, dMix)
        .lfo(3, rate * 2 / 3 + 3, lTri, 28, dPwAll)
        .lfo(4, rate / 2 + 1, lRandom, 18, dCutoff)
        .env3(dRes, 40, 110, 110, 50, 100);
    return p;
}

// Percussion: envelope 3 gives the pitch drop; fixed pitch unless tracked.
inline Patch drum(int shape, int note, int noiseLevel, int cutoff, int res, int pitchDrop, int dropTime,
                  int decay, bool tracked = false)
{
    Patch p;
    p.osc1(note, shape)
        .osc2(note, Off)
        .mix(0)
        .noise(noiseLevel)
        .filter(cutoff, res, tracked ? 64 : 0, false)
        .aenv(0, decay, 0, decay)
        .velocity(90, 40)
        .slop(0)
        .volume(120);
    if (pitchDrop != 0)
        p.env3(dOscAll, pitchDrop, 0, dropTime, 0, dropTime);
    if (!tracked)
        p.fixedPitch();
    return p;
}

// Noise bed: oscillators off, resonant low-pass shaped by a slow LFO.
inline Patch noiseBed(int cutoff, int res, int lfoRate, int lfoAmount, int attack, int release)
{
    Patch p;
    p.osc1(24, Off)
        .osc2(24, Off)
        .noise(127)
        .filter(cutoff, res, 64)
        .lfo(1, lfoRate, lTri, lfoAmount, dCutoff)
        .aenv(attack, 80, 120, release)
        .velocity(30, 20)
        .wheel(40, dRes)
        .spread(100)
        .volume(116);
    return p;
}

} // namespace factorygen::design
