// The three factory banks. Bank 0 is a tour of everything the synth does,
// bank 1 holds basses, leads, sync and brass, bank 2 pads, keys, bells,
// sequences, percussion and effects.
#include "Archetypes.h"

#include <utility>

namespace factorygen
{
namespace
{

using namespace design;

class Bank
{
public:
    void add(std::string name, int category, const Patch& patch)
    {
        Program p;
        p.values = patch.values();
        p.values[kCategoryIndex] = category;
        // Over-long names are kept whole in p.name so the self-check reports them.
        for (int i = 0; i < kNameLength; ++i)
            p.values[static_cast<std::size_t>(kNameIndex + i)] =
                i < static_cast<int>(name.size())
                    ? static_cast<unsigned char>(name[static_cast<std::size_t>(i)])
                    : ' ';
        p.name = std::move(name);
        programs.push_back(std::move(p));
    }

    std::vector<Program> programs;
};

// Tempo-locked movement on LFO 4, restarted with each note so chords stay in step.
Patch moving(Patch p, int rate, int shape, int amount, int dest, int bpm)
{
    p.lfo(4, rate, shape, amount, dest, true).clock(bpm, dvSixteenth);
    return p;
}

// ---------------------------------------------------------------------------
void showcaseBank(Bank& b)
{
    // Headliners: one of each family up front.
    b.add("Zarnel Anthem", cBrightLead, lead(Saw, Saw, 0, 100, 14, 36).unison(4).set(7, 57).glide(12));
    b.add("Basalt Groove", cBrightBass, bass(Saw, Square, 0, 54, 24, 72, 34).sub(60));
    b.add("Aurora Veil", cPads, pad(Saw, Saw, 7, 72, 80, 110).lfo(4, 12, lTri, 16, dMix));
    b.add("Copper Stabs", cBrass, brass(Saw, Saw, 6, 64, 70, 0).aenv(0, 54, 60, 24));
    b.add("Velour Keys", cKeys,
          keys(Tri, Tri, 24, 66, 84, 36).audioMod(20).mix(30).lfo(4, 70, lTri, 12, dPan));
    b.add("Clockwork Heart", cSequence,
          bass(Saw, pw(30), 12, 38, 60, 70, 28)
              .seq(120, dvSixteenth, dOscAll, dCutoff, dOff, dOff)
              .track(1, notes({0, 12, 0, 7, 0, 12, 3, 7, 0, 12, 0, 10, 0, 15, 12, 7}))
              .track(2, {40, 10, 20, 0, 50, 10, 20, 0, 40, 10, 30, 0, 60, 20, 30, 10}));
    b.add("Sync Lightning", cSync, syncLead(Saw, Saw, 12, 70, 50, 110).unison(2));
    b.add("Silken Strings", cStrings, strings(Saw, Saw, 5, 84, 46, 70));
    b.add("Rubber Band Sub", cSubBass,
          subBass(Tri, 24, 38, 110).glide(20).mono(kLast).fenv(30, 0, 40, 0, 20));
    b.add("Glass Orchard", cBells, bell(Tri, Tri, 19, 52, 30, 118, 96).lfo(4, 40, lTri, 20, dPan));
    b.add("Cascade Arp", cArp,
          pluck(Saw, Tri, 12, 64, 30, 56, 36).arp(arpUpDown + arp2Oct, 124, dvSixteenth));
    b.add("Whisper Lead", cSoftLead, lead(Tri, Saw, 0, 64, 10, 24).noise(20).mix(30).aenv(10, 60, 116, 36));
    b.add("Squelch Ritual", cResBass, bass(Saw, Off, 0, 36, 112, 90, 30).glide(16).mono(kLast));
    b.add("Drawbar Sunday", cOrgans, organ(Square, Square, 19, 80, 116, 40));
    b.add("Tidal Engine", cEvolution, evolve(Saw, pw(30), 7, 66, 16));
    b.add("Gated Horizon", cMotion, moving(pad(Saw, Saw, 12, 60, 20, 70), sync1, lSquare, 80, dCutoff, 124));

    // Basses
    b.add("Liquid Floor", cSoftBass, bass(Tri, SawTri, 0, 42, 16, 40, 60).glide(20).mono(kLast));
    b.add("Plush Thump", cSoftBass, bass(Square, Tri, -12, 36, 4, 50, 40).sub(60));
    b.add("Granite Pick", cBrightBass, bass(Saw, Saw, 12, 68, 10, 80, 30).velocity(60, 50));
    b.add("Sawtooth Shove", cBrightBass, bass(Saw, Saw, 0, 60, 20, 70, 44).unison(2, kLastRetrig));
    b.add("Rez Serpent", cResBass, bass(Saw, Square, 0, 40, 104, 74, 50).lfo(2, 30, lTri, 10, dCutoff));
    b.add("Goo Machine", cResBass, bass(Square, Off, 0, 34, 108, 84, 40).twoPole().glide(26).mono(kLast));
    b.add("Abyss Tone", cSubBass, subBass(Tri, 12, 40, 127));
    b.add("Seismic Sine", cSubBass,
          subBass(Tri, 24, 24, 90).aenv(0, 100, 110, 26).env3(dOscAll, 10, 0, 10, 0, 10));

    // Leads
    b.add("Amber Solo", cSoftLead, lead(SawTri, Tri, 0, 70, 12, 30).glide(16));
    b.add("Breeze Flute", cSoftLead, lead(Tri, Off, 0, 66, 6, 20).noise(18).twoPole().aenv(10, 60, 118, 30));
    b.add("Lumen Lead", cBrightLead, lead(Saw, pw(16), 12, 108, 12, 32));
    b.add("Voltage Cry", cBrightLead, lead(Saw, Saw, 7, 104, 20, 44).feedback(40, 70));
    b.add("Ion Whistle", cResLead, lead(Tri, Tri, 12, 76, 116, 24));
    b.add("Resin Howl", cResLead, lead(Saw, Saw, 0, 60, 106, 70).fenv(70, 20, 80, 40, 30));
    b.add("Four Voice Roar", cBrightLead, lead(Saw, Saw, 0, 96, 10, 30).unison(4).set(7, 58));
    b.add("Saffron Line", cSoftLead, lead(pw(30), Tri, 12, 66, 16, 30).mix(44).glide(24));

    // Pads
    b.add("Warm Nimbus", cPads, pad(Saw, SawTri, 0, 62, 70, 96));
    b.add("Pearl Haze", cPads, pad(Tri, Tri, 12, 74, 60, 100).twoPole());
    b.add("Quiet Harbor", cPads, pad(Saw, Tri, 7, 54, 90, 110).twoPole().res(10));
    b.add("Cinder Glow", cPads, pad(Saw, Saw, -12, 60, 60, 90).feedback(20, 40));
    b.add("Frost Canopy", cPads, pad(Tri, pw(20), 19, 82, 70, 110));
    b.add("Dream Lattice", cPads, pad(pw(30), pw(40), 12, 70, 50, 100).lfo(1, 22, lTri, 20, dPwAll));
    b.add("Opal Drift", cPads, pad(Saw, Saw, 5, 66, 80, 110).lfo(4, 14, lTri, 40, dPan));
    b.add("Sunken Choir", cVox, vox(pw(24), Tri, 60, 70, 70));

    // Keys and organs
    b.add("Satin Tines", cKeys, keys(Tri, Tri, 24, 64, 86, 30).audioMod(28).mix(28));
    b.add("Dusty Clav", cKeys, pluck(pw(8), pw(12), 0, 76, 40, 50, 34));
    b.add("Mellow Hammers", cKeys, keys(Tri, SawTri, 12, 56, 80, 20));
    b.add("Pocket Piano", cKeys, keys(Saw, Tri, 12, 72, 64, 16).set(7, 55));
    b.add("Vintage Combo", cOrgans, organ(pw(16), Square, 12, 0, 110, 0).lfo(2, 86, lTri, 5, dOscAll));
    b.add("Cathedral Pipes", cOrgans, organ(Square, Square, 12, 110, 100, 0).aenv(16, 0, 127, 50).spread(70));
    b.add("Perc Drawbar", cOrgans, organ(Square, Tri, 31, 60, 112, 70));
    b.add("Bar Piano Glow", cKeys, keys(Saw, Saw, 0, 62, 70, 12).set(7, 54).twoPole());

    // Brass and strings
    b.add("Bronze Fanfare", cBrass, brass(Saw, Saw, 7, 64, 66, 8));
    b.add("Muted Cornet", cBrass, brass(Saw, Off, 0, 50, 50, 12).twoPole().res(30).mono(kLast));
    b.add("Summit Horns", cBrass, brass(Saw, Saw, 5, 54, 60, 20).osc2(12, Saw, 55).spread(60));
    b.add("Swell Section", cBrass, brass(Saw, Saw, 4, 48, 60, 70).aenv(60, 60, 116, 40));
    b.add("Bowed Glass", cStrings, strings(Tri, Saw, 4, 80, 50, 80).mix(40));
    b.add("Orchestral Mist", cStrings, strings(Saw, Saw, 6, 72, 60, 90));
    b.add("Viola Dusk", cStrings, strings(Saw, pw(30), 3, 64, 40, 60));
    b.add("Tremolo Bows", cStrings, strings(Saw, Saw, 5, 82, 24, 50).lfo(4, 100, lTri, 24, dVca));

    // Bells and harmonics
    b.add("Chime Garden", cBells, bell(Tri, Tri, 24, 55, 24, 120, 84));
    b.add("Iron Bell", cBells, bell(Square, Tri, 17, 46, 50, 100, 100));
    b.add("Moon Celesta", cBells, bell(Tri, Tri, 12, 50, 12, 110, 60).slop(0));
    b.add("Gamelan Gold", cBells, bell(Tri, Square, 18, 52, 44, 104, 90));
    b.add("Harmonic Spire", cHarmonics, harmonics(Tri, Tri, 31, 50, 30, 30, 96));
    b.add("Overtone Flute", cHarmonics, harmonics(Tri, Tri, 19, 50, 50, 0, 80).noise(8));
    b.add("Bell Tower FM", cBells, bell(Tri, Tri, 28, 47, 80, 110, 110));
    b.add("Partial Drift", cHarmonics, harmonics(Saw, Tri, 24, 52, 40, 20, 88).lfo(2, 12, lTri, 6, dOsc2));

    // Sync and poly synths
    b.add("Sync Razor", cSync, syncLead(Saw, Saw, 19, 56, 40, 108));
    b.add("Sync Vortex", cSync, syncLead(Saw, pw(10), 12, 0, 0, 100).lfo(2, 50, lTri, 36, dOsc2));
    b.add("Sync Comet", cSync, syncLead(Tri, Saw, 12, 80, 90, 104));
    b.add("Stab Of Light", cSynth, polySynth(Saw, Saw, 0, 70, 20, 60, 40, 0));
    b.add("Vacuum Rave", cSynth,
          polySynth(pw(10), Saw, -12, 80, 10, 20, 60, 100)
              .unison(4)
              .set(7, 60)
              .glide(30)
              .lfo(2, 40, lTri, 20, dPwAll));
    b.add("Open Fifth Stab", cSynth, polySynth(Saw, Saw, 7, 66, 14, 50, 50, 0));
    b.add("Brassy Poly", cSynth, polySynth(Saw, Saw, 0, 58, 10, 56, 60, 80).fenv(56, 16, 60, 80, 30));
    b.add("Saw Chord Hit", cSynth, polySynth(Saw, Saw, 12, 80, 10, 40, 44, 0).set(7, 55));
    b.add("Bitmap Hero", cSynth, polySynth(Square, pw(20), 12, 130, 0, 0, 40, 100).slop(0).mix(40));
    b.add("Daydream Pluck", cSynth, pluck(Tri, Saw, 12, 70, 20, 40, 70).spread(90).mix(40));
    b.add("Slippery Chords", cSynth, polySynth(Saw, SawTri, 0, 70, 16, 30, 60, 100).glide(30, 2));
    b.add("Strut Pluck", cSynth, pluck(Saw, Square, 0, 50, 60, 80, 26));

    // Instruments
    b.add("Lyre Strings", cInstruments, pluck(Tri, Tri, 12, 80, 6, 30, 80).mix(30));
    b.add("Nylon Strum", cInstruments, pluck(Saw, Tri, 12, 58, 8, 60, 64).velocity(70, 60));
    b.add("Marimba Grove", cInstruments,
          pluck(Tri, Tri, 24, 52, 30, 60, 30).mix(20).env3(dOscAll, 6, 0, 6, 0, 6));
    b.add("Smoky Reed", cInstruments, lead(pw(20), Saw, 0, 60, 30, 36).feedback(30, 60).aenv(6, 60, 110, 30));

    // Evolution and motion
    b.add("Morph Garden", cEvolution, evolve(Tri, Saw, 12, 70, 22));
    b.add("Slow Tectonics", cEvolution, evolve(Saw, Saw, -12, 52, 8).sub(30));
    b.add("Weather System", cEvolution,
          evolve(pw(20), SawTri, 7, 64, 12).noise(16).lfo(2, 6, lRandom, 24, dCutoff));
    b.add("Chopper Pad", cMotion, moving(pad(Saw, Tri, 7, 60, 10, 60), sync1_2, lSquare, 70, dCutoff, 100));
    b.add("Wobble Engine", cMotion,
          moving(bass(Saw, Square, 0, 32, 70, 10, 60), sync2_3, lSaw, 70, dCutoff, 140));
    b.add("Pulse Tremor", cMotion,
          moving(polySynth(pw(30), pw(20), 0, 70, 10, 0, 60, 100), sync1, lTri, 60, dPwAll, 112));
    b.add("Ripple Gate", cMotion, moving(pad(Tri, Tri, 19, 66, 10, 60), sync1_2, lRevSaw, 60, dVca, 120));
    b.add("Breathing Wall", cEvolution, evolve(Saw, Tri, 0, 60, 10).lfo(2, 10, lTri, 30, dCutoff));

    // Sequences and arpeggios
    b.add("Robot Walk", cSequence,
          pluck(Square, pw(10), 12, 60, 40, 60, 24)
              .seq(100, dvEighth, dOscAll, dCutoff, dOff, dOff)
              .track(1, notes({0, X, 7, X, 12, X, 7, X, 5, X, 10, X, 12, X, 5, X}))
              .track(2, {30, 0, 10, 0, 50, 0, 10, 0, 20, 0, 30, 0, 60, 0, 20, 0}));
    b.add("Acid Staircase", cSequence,
          bass(Saw, Off, 0, 34, 112, 60, 30)
              .glide(12)
              .seq(130, dvSixteenth, dOscAll, dCutoff, dOff, dOff)
              .track(1, notes({0, 0, 12, 0, 3, 3, 15, 3, 5, 5, 17, 5, 7, 7, 19, 12}))
              .track(2, {0, 30, 10, 50, 0, 30, 10, 50, 10, 40, 20, 60, 20, 50, 30, 70}));
    b.add("Hypnotic Grid", cSequence,
          polySynth(Saw, Square, 12, 50, 40, 30, 40, 0)
              .seq(122, dvSixteenth, dOscAll, dCutoff, dPan, dOff)
              .track(1, notes({0, 3, 7, 10, 0, 3, 7, 12, 0, 3, 7, 10, 0, 5, 7, 15}))
              .track(2, {10, 20, 30, 40, 10, 20, 30, 40, 20, 30, 40, 50, 20, 30, 40, 60})
              .track(3, {0, 126, 30, 96, 0, 126, 30, 96, 0, 126, 30, 96, 0, 126, 30, 96}));
    b.add("Bassline Motor", cSequence,
          bass(Saw, Saw, -12, 44, 30, 60, 26)
              .seq(128, dvSixteenth, dOscAll, dCutoff, dOff, dOff)
              .track(1, notes({0, X, 0, 0, 12, X, 0, X, 0, X, 0, 10, X, 7, X, 5}))
              .track(2, {30, 0, 10, 20, 50, 0, 20, 0, 30, 0, 10, 40, 0, 30, 0, 20}));
    b.add("Sparkle Seq", cSequence,
          bell(Tri, Tri, 24, 50, 20, 120, 40)
              .seq(110, dv16Triplet, dOscAll, dOff, dOff, dOff)
              .track(1, notes({12, 19, 24, 19, 14, 19, 26, 19, 15, 19, 27, 24, 14, 19, 26, X})));
    b.add("Arp Fountain", cArp, pluck(Tri, Saw, 12, 70, 20, 40, 44).arp(arpUp + arp3Oct, 118, dvSixteenth));
    b.add("Glimmer Arp", cArp, bell(Tri, Tri, 19, 52, 20, 120, 46).arp(arpUpDown, 132, dvSixteenth));
    b.add("Random Fireflies", cArp,
          pluck(Square, Tri, 24, 96, 10, 30, 24).arp(arpRandom + arp2Oct, 140, dvSixteenth));
    b.add("Octave Rain", cArp, pluck(Saw, Saw, 12, 64, 40, 60, 30).arp(arpDown + arp3Oct, 126, dvSixteenth));
    b.add("Triplet Spiral", cArp,
          pluck(SawTri, pw(20), 7, 60, 30, 60, 36).arp(arpUpDown + arp2Oct, 96, dv16Triplet));

    // Percussion
    b.add("Boom Room Kick", cPercussion, drum(Tri, 12, 0, 50, 20, 90, 14, 60));
    b.add("Crack Snare", cPercussion, drum(Tri, 40, 110, 120, 20, 40, 8, 34));
    b.add("Tick Hat", cPercussion, drum(Off, 60, 127, 156, 30, 0, 0, 10));
    b.add("Sizzle Hat", cPercussion, drum(Off, 60, 127, 140, 40, 0, 0, 70).lfo(1, 140, lRandom, 20, dCutoff));
    b.add("Tom Drop", cPercussion, drum(Tri, 30, 0, 90, 10, 50, 50, 70, true));
    b.add("Hollow Block", cPercussion, drum(Tri, 72, 0, 120, 60, 10, 4, 16));
    b.add("Clap Trap", cPercussion, drum(Off, 60, 127, 110, 20, 0, 0, 36).env3(dVca, 70, 0, 5, 0, 0, true));
    b.add("Shaker Dust", cPercussion, drum(Off, 60, 127, 130, 10, 0, 0, 20).aenv(12, 20, 0, 16));

    // Noise and effects
    b.add("Wind Tunnel", cNoise, noiseBed(60, 90, 10, 50, 60, 100));
    b.add("Rain Hiss", cNoise, noiseBed(120, 0, 140, 10, 30, 80).lfo(2, 130, lRandom, 40, dVca));
    b.add("Ray Gun Zap", cSoundFx,
          Patch()
              .osc1(60, Saw)
              .osc2(72, pw(10))
              .filter(120, 40, 64)
              .env3(dOscAll, 110, 0, 16, 0, 16)
              .aenv(0, 26, 0, 20)
              .volume(116));
    b.add("Saucer Hover", cSoundFx,
          Patch()
              .osc1(60, Tri)
              .osc2(61, Tri)
              .filter(110, 50, 64)
              .lfo(1, 90, lTri, 20, dOscAll)
              .lfo(2, 20, lTri, 30, dCutoff)
              .aenv(30, 0, 127, 60)
              .volume(110));
    // Falls from high above the played note down onto it.
    b.add("Bomb Drop", cSoundFx,
          Patch()
              .osc1(36, Tri)
              .osc2(36, Off)
              .mix(0)
              .filter(120, 0, 64)
              .env3(dOscAll, 80, 0, 127, 0, 60)
              .aenv(0, 0, 127, 40)
              .volume(116));
    // The amp envelope stays shut; the repeating envelope 3 pings the VCA while the key is held.
    b.add("Sonar Ping", cSoundFx,
          Patch()
              .osc1(60, Tri)
              .osc2(60, Off)
              .mix(0)
              .filter(90, 100, 64, false)
              .aenv(0, 90, 0, 60)
              .env3(dVca, 120, 0, 90, 0, 60, true)
              .volume(116));

    // More to explore
    b.add("Velvet Brass Pad", cBrass, brass(Saw, Saw, 5, 50, 44, 50).aenv(40, 80, 116, 60).spread(80));
    b.add("Soft Square Bass", cSoftBass, bass(Square, Square, -12, 40, 6, 40, 56).sub(40));
    b.add("Funky Filter", cResBass, bass(Saw, Square, 12, 40, 96, 86, 24).velocity(40, 80));
    b.add("Starlit Anthem", cBrightLead, lead(Saw, Saw, 12, 104, 10, 28).unison(3).set(7, 57));
    b.add("Fogbound Keys", cKeys,
          keys(Tri, Saw, 12, 60, 110, 60).aenv(10, 120, 60, 90).lfo(2, 16, lTri, 10, dCutoff));
    b.add("Starlight Pad", cPads, pad(Tri, Saw, 24, 76, 60, 110).mix(40));
    b.add("Crystal Choir", cVox, vox(Tri, pw(20), 80, 64, 60).osc2(36, pw(20), 54));
    b.add("Reverse Swell", cPads,
          pad(Saw, Saw, 0, 50, 110, 20).fenv(60, 120, 0, 127, 20).aenv(120, 0, 127, 20));
    b.add("Wobbly Tape Bows", cStrings,
          strings(Saw, Saw, 8, 70, 40, 70).lfo(1, 30, lTri, 4, dOscAll).slop(5));
    b.add("Dubby Chord", cSynth, polySynth(Saw, Saw, 7, 50, 60, 60, 30, 0).twoPole());
    b.add("Mono Bite", cBrightBass, bass(Saw, pw(10), 0, 58, 30, 90, 20).mono(kLowRetrig));
    b.add("Bell Pad Shimmer", cBells, bell(Tri, Tri, 19, 52, 30, 110, 100).aenv(50, 110, 80, 110));
    b.add("Sync Undertone", cSync,
          syncLead(Saw, Saw, 7, 40, 60, 90).osc1(12, Saw).osc2(19, Saw).mono(kLastRetrig));
    b.add("Theremin Air", cSoftLead,
          lead(Tri, Off, 0, 80, 0, 0).glide(60).lfo(1, 76, lTri, 8, dOscAll).aenv(20, 60, 120, 50));
    b.add("Air Raid Drill", cSoundFx,
          Patch()
              .osc1(48, Saw)
              .osc2(48, Saw, 54)
              .filter(100, 20, 64)
              .env3(dOscAll, 40, 110, 0, 127, 110)
              .lfo(1, 8, lTri, 20, dOscAll)
              .aenv(60, 0, 127, 110)
              .volume(112));
    b.add("Last Light Chord", cPads, pad(Saw, Saw, 7, 70, 60, 127).sub(30).osc2(31, Saw, 57));
}

// ---------------------------------------------------------------------------
void bassLeadBank(Bank& b)
{
    // Soft basses
    b.add("Velvet Floor", cSoftBass, bass(Tri, Saw, 0, 38, 6, 40, 60).sub(70));
    b.add("Warm Rubber", cSoftBass, bass(Saw, Tri, -12, 44, 10, 36, 54).mix(44));
    b.add("Felt Hammer", cSoftBass,
          bass(Tri, Square, 12, 40, 4, 50, 40).mix(40).aenv(0, 64, 90, 16).velocity(60, 40));
    b.add("Round Thump", cSoftBass, bass(Square, Off, 0, 34, 0, 56, 36).sub(100));
    b.add("Cushion Low", cSoftBass, bass(SawTri, SawTri, 0, 46, 8, 30, 70).glide(18).mono(kLast));
    b.add("Mellow Upright", cSoftBass,
          bass(Tri, Tri, 12, 42, 2, 48, 44).mix(30).aenv(0, 58, 30, 22).velocity(70, 40));
    b.add("Soft Pedal", cSoftBass, bass(pw(30), Tri, 0, 40, 12, 34, 66).lfo(2, 20, lTri, 8, dPw1));
    b.add("Dusk Cable", cSoftBass, bass(Saw, Saw, 0, 36, 14, 44, 62).sub(60).slop(3));
    b.add("Oak Barrel", cSoftBass, bass(Square, Tri, -12, 38, 0, 30, 80).sub(40).twoPole());
    b.add("Moss Bank", cSoftBass, bass(Tri, pw(20), 7, 44, 6, 38, 50).mix(36));
    b.add("Pillow Fight", cSoftBass, bass(SawTri, Square, 0, 40, 10, 42, 48).glide(30).mono(kLast));
    b.add("Low Tide Bass", cSoftBass,
          bass(Tri, Saw, 0, 34, 18, 26, 90).aenv(6, 80, 110, 30).lfo(2, 12, lTri, 6, dCutoff));

    // Bright basses
    b.add("Iron Jaw", cBrightBass, bass(Saw, Saw, 0, 60, 16, 70, 40).sub(50));
    b.add("Chrome Pick", cBrightBass, bass(Saw, pw(20), 12, 66, 12, 76, 30).velocity(50, 44));
    b.add("Buzz Cut", cBrightBass, bass(pw(10), Saw, 0, 70, 20, 60, 36).feedback(30, 50));
    b.add("Gravel Road", cBrightBass, bass(Saw, Saw, -12, 58, 8, 80, 46).feedback(50, 80));
    b.add("Sharp Knuckle", cBrightBass, bass(Square, Saw, 12, 64, 14, 72, 26).aenv(0, 50, 80, 14));
    b.add("Bright Spine", cBrightBass, bass(Saw, Tri, 0, 76, 10, 50, 50).sub(40));
    b.add("Razor Wire", cBrightBass, bass(pw(6), pw(12), 0, 72, 24, 70, 34).audioMod(20));
    b.add("Steel Drift", cBrightBass, bass(Saw, Saw, 0, 62, 12, 64, 56).glide(22).mono(kLast));
    b.add("Punch Card", cBrightBass, bass(Saw, Square, 0, 56, 18, 90, 24).velocity(60, 50));
    b.add("Tin Roof", cBrightBass, bass(SawTri, pw(30), 19, 68, 10, 60, 40).mix(40));
    b.add("Hot Wire", cBrightBass, bass(Saw, Saw, 7, 64, 16, 68, 38).audioMod(30).mix(50));
    b.add("Flint Spark", cBrightBass, bass(pw(40), Saw, 0, 60, 20, 84, 28).feedback(40, 70));

    // Resonant basses
    b.add("Acid Puddle", cResBass, bass(Saw, Off, 0, 40, 104, 80, 40).glide(20).mono(kLast));
    b.add("Rubber Duck", cResBass, bass(Square, Off, 0, 36, 96, 70, 44));
    b.add("Squelch Box", cResBass, bass(Saw, Saw, 0, 44, 110, 76, 34));
    b.add("Wet Cable", cResBass, bass(pw(20), Saw, 12, 38, 90, 88, 50).twoPole());
    b.add("Quack Shack", cResBass, bass(Saw, Off, 0, 46, 100, 60, 30).velocity(40, 70));
    b.add("Nasal Drone", cResBass, bass(pw(10), pw(14), 0, 42, 92, 50, 70).twoPole());
    b.add("Bubble Wrap", cResBass, bass(Square, Tri, 0, 34, 108, 90, 26));
    b.add("Swamp Bloop", cResBass, bass(Saw, Saw, -12, 40, 98, 66, 60).glide(30).mono(kLast));
    // An expression pedal on the foot input works it like a wah.
    b.add("Pedal Wah Bass", cResBass,
          bass(Saw, Square, 0, 42, 96, 20, 40).velMod(40, dCutoff).foot(60, dCutoff));
    b.add("Ringing Pipe", cResBass, bass(Tri, Saw, 12, 50, 116, 50, 50).mix(40));
    b.add("Chirp Line", cResBass, bass(Saw, Off, 0, 38, 106, 96, 18));
    b.add("Plastic Slide", cResBass, bass(Square, Saw, 0, 44, 100, 72, 36).glide(40).mono(kLast));

    // Sub basses
    b.add("Deep Cellar", cSubBass, subBass(Tri, 24, 30, 110));
    b.add("Floor Shaker", cSubBass, subBass(Square, 24, 28, 127));
    b.add("Bedrock Hum", cSubBass, subBass(Tri, 12, 40, 90));
    b.add("Pressure Front", cSubBass, subBass(SawTri, 24, 30, 100).glide(24).mono(kLast));
    b.add("Mine Shaft", cSubBass, subBass(Tri, 24, 26, 127).aenv(0, 90, 100, 30).fenv(30, 0, 30, 0, 20));
    b.add("Basement Tone", cSubBass, subBass(pw(40), 24, 32, 80));
    b.add("Tectonic Plate", cSubBass,
          subBass(Tri, 24, 36, 120).lfo(2, 10, lTri, 6, dCutoff).feedback(20, 30));
    b.add("Undertow Drift", cSubBass,
          subBass(Square, 12, 44, 60).glide(40).mono(kLast).lfo(1, 70, lTri, 0, dOscAll).wheel(10, dLfo1Amt));

    // Soft leads
    b.add("Glass Whistle", cSoftLead, lead(Tri, Tri, 12, 80, 10, 20).mix(40));
    b.add("Quiet Flute", cSoftLead, lead(Tri, Off, 0, 70, 4, 30).noise(12).aenv(8, 60, 116, 34).twoPole());
    b.add("Ocarina Glow", cSoftLead, lead(Tri, Square, 12, 66, 0, 24).mix(30));
    b.add("Hearth Solo", cSoftLead, lead(Saw, Tri, 0, 72, 10, 30));
    b.add("Evening Line", cSoftLead, lead(SawTri, SawTri, 0, 68, 14, 34).glide(24));
    b.add("Willow Reed", cSoftLead, lead(pw(20), Tri, 0, 64, 12, 40).aenv(4, 60, 112, 24));
    b.add("Cloud Singer", cSoftLead, lead(Tri, Tri, 7, 74, 8, 18).aenv(18, 60, 118, 40).mix(44));
    b.add("Smooth Talker", cSoftLead, lead(Saw, Saw, 0, 62, 20, 30).twoPole());
    b.add("Honey Drip", cSoftLead, lead(Square, Tri, 0, 60, 10, 36).glide(40));
    b.add("Pale Moon", cSoftLead, lead(Tri, Saw, -12, 70, 6, 22).mix(36));
    b.add("Wooden Pipe", cSoftLead, lead(Square, Off, 0, 58, 6, 40).noise(8).twoPole());
    b.add("Slow Hand", cSoftLead, lead(SawTri, Tri, 12, 66, 10, 28).aenv(20, 70, 118, 40).glide(30));
    b.add("Lazy River", cSoftLead, lead(Tri, SawTri, 0, 72, 12, 26).bend(12).glide(50));
    b.add("Candle Light", cSoftLead, lead(pw(30), pw(34), 0, 64, 8, 32).lfo(2, 22, lTri, 16, dPwAll));

    // Bright leads
    b.add("Laser Pointer", cBrightLead, lead(Saw, Saw, 0, 104, 10, 30));
    b.add("Neon Blade", cBrightLead, lead(Saw, pw(10), 12, 110, 12, 20));
    b.add("Solar Flare", cBrightLead, lead(Saw, Saw, 7, 100, 14, 34).unison(2));
    b.add("Hot Chrome", cBrightLead, lead(pw(10), Saw, 0, 112, 8, 24).feedback(40, 60));
    b.add("Wire Scream", cBrightLead, lead(Saw, Saw, 12, 96, 20, 40).audioMod(30));
    b.add("Sky Writer", cBrightLead, lead(Saw, Square, 0, 106, 10, 28).bend(12).glide(20));
    b.add("Iron Knuckles", cBrightLead, lead(Saw, Saw, -12, 98, 12, 44));
    b.add("Pixel Storm", cBrightLead,
          lead(Square, pw(20), 12, 118, 0, 0).slop(0).glide(0).lfo(1, 96, lTri, 0, dOscAll).bend(12));
    b.add("Lightning Rod", cBrightLead, lead(Saw, pw(4), 0, 108, 16, 38).feedback(60, 90));
    b.add("Mirror Ball", cBrightLead, lead(Saw, Saw, 0, 100, 10, 30).unison(3));
    b.add("Torch Song", cBrightLead, lead(pw(40), Saw, 12, 94, 14, 40));
    b.add("Sparkle Edge", cBrightLead, lead(Saw, Tri, 24, 114, 6, 20).mix(40));
    b.add("Bright Ember", cBrightLead, lead(SawTri, Saw, 0, 102, 18, 36));
    b.add("Crystal Spike", cBrightLead, lead(Saw, Saw, 5, 110, 10, 26).mix(52));

    // Resonant leads
    b.add("Squeal Pipe", cResLead, lead(Saw, Off, 0, 70, 100, 50));
    b.add("Whistle Kettle", cResLead, lead(Tri, Off, 0, 80, 118, 20).filter(80, 118, 100));
    b.add("Singing Wire", cResLead, lead(Saw, Saw, 0, 76, 104, 40).twoPole());
    b.add("Resonant Howl", cResLead, lead(pw(20), Saw, 12, 66, 110, 60));
    b.add("Zing Ribbon", cResLead, lead(Square, Saw, 0, 72, 96, 50).bend(12));
    b.add("Cat Call", cResLead, lead(Saw, Saw, 12, 60, 108, 70).fenv(70, 10, 70, 30, 30));
    b.add("Peak Hunter", cResLead, lead(Saw, Off, 0, 58, 112, 80).fenv(80, 40, 80, 40, 40));
    b.add("Vowel Bender", cResLead, lead(Saw, Square, 0, 68, 100, 30).lfo(2, 40, lTri, 24, dCutoff));
    b.add("Bird Throat", cResLead, lead(Tri, Saw, 12, 84, 114, 30).mix(50));
    b.add("Harp Wire Lead", cResLead, lead(Tri, Tri, 19, 78, 106, 20));
    b.add("Feedback Loop", cResLead, lead(Saw, Saw, 0, 70, 98, 40).feedback(80, 100));
    // Oscillators off: the self-resonating filter is the voice, tracking the keyboard fully.
    b.add("Ghost Whistle", cResLead, lead(Off, Off, 0, 60, 124, 10).noise(70).filter(60, 124, 127));

    // Sync
    b.add("Tear Sync", cSync, syncLead(Saw, Saw, 12, 50, 60, 100));
    b.add("Sync Hammer", cSync, syncLead(Saw, Saw, 19, 40, 30, 96));
    b.add("Steel Sweep", cSync, syncLead(Saw, Saw, 7, 60, 80, 110));
    b.add("Metal Throat", cSync, syncLead(Saw, pw(20), 12, 40, 50, 100).res(30));
    b.add("Ripping Silk", cSync, syncLead(Tri, Saw, 24, 30, 90, 106));
    b.add("Sync Storm", cSync, syncLead(Saw, Saw, 12, 0, 0, 104).lfo(2, 60, lTri, 30, dOsc2));
    b.add("Rising Sync", cSync, syncLead(Saw, Saw, 5, 0, 0, 100).env3(dOsc2, 50, 70, 0, 127, 30));
    b.add("Sync Bass Bite", cSync,
          syncLead(Saw, Saw, 12, 44, 30, 80)
              .osc1(12, Saw)
              .osc2(24, Saw)
              .fenv(60, 0, 40, 20, 20)
              .mono(kLastRetrig));
    b.add("Howling Gears", cSync, syncLead(Saw, Saw, 12, 40, 60, 96).feedback(60, 90));
    b.add("Chrome Tongue", cSync, syncLead(Square, Saw, 12, 30, 40, 100).pressure(40, dOsc2));
    b.add("Sync Siren", cSync, syncLead(Saw, Saw, 12, 0, 0, 100).lfo(2, 20, lTri, 40, dOsc2));
    b.add("Twisted Cable", cSync, syncLead(pw(30), Saw, 7, 56, 100, 90).lfo(2, 34, lTri, 12, dOsc2));
    b.add("Plucked Sync", cSync,
          syncLead(Saw, Saw, 12, 60, 40, 90).poly().aenv(0, 60, 0, 30).fenv(40, 0, 50, 0, 30).spread(60));
    b.add("Sync Jab", cSync, syncLead(Saw, Saw, 19, 48, 24, 100).poly().aenv(0, 50, 60, 24).spread(50));
    b.add("Glass Cutter", cSync, syncLead(Tri, Tri, 24, 40, 70, 120).mix(110));
    b.add("Snarl Machine", cSync, syncLead(Saw, Saw, 12, 50, 50, 90).audioMod(40).res(40));

    // Brass
    b.add("Gold Section", cBrass, brass(Saw, Saw, 5, 56, 50, 12));
    b.add("Fanfare Hall", cBrass, brass(Saw, Saw, 6, 60, 60, 8).spread(60));
    b.add("Soft Horn Choir", cBrass, brass(Saw, Tri, 4, 48, 40, 24).twoPole());
    b.add("Cup Mute Trumpet", cBrass, brass(Saw, Off, 0, 54, 56, 10).res(24).twoPole().mono(kLast).glide(6));
    b.add("Low Tuba Mood", cBrass,
          brass(Saw, Square, 3, 44, 50, 16).osc1(12, Saw).osc2(12, Square, 53).mono(kLast));
    b.add("Sunburst Stab", cBrass, brass(Saw, Saw, 7, 70, 70, 0).aenv(0, 50, 70, 24).fenv(70, 0, 40, 40, 24));
    b.add("Brass Tide", cBrass, brass(Saw, Saw, 5, 50, 56, 60).aenv(50, 60, 116, 40));
    b.add("Velvet Horn", cBrass, brass(Saw, pw(30), 3, 50, 44, 18));
    b.add("Parade Band", cBrass, brass(Saw, Saw, 8, 62, 64, 6).slop(4));
    b.add("Copper Fifths", cBrass, brass(Saw, Saw, 0, 58, 56, 10).osc2(31, Saw, 52));
    b.add("French Hills", cBrass, brass(Saw, Tri, 3, 44, 48, 30).twoPole());
    b.add("Sax Growl", cBrass,
          brass(pw(20), Saw, 4, 56, 50, 8).res(40).feedback(40, 70).mono(kLast).glide(8).bend(2));
    b.add("Trombone Slide", cBrass,
          brass(Saw, Saw, 4, 48, 52, 14).osc1(12, Saw).osc2(12, Saw, 54).mono(kLast).glide(44));
    b.add("Polished Brass", cBrass, brass(Saw, Saw, 4, 64, 50, 10).res(14));
    b.add("Royal Entry", cBrass, brass(Saw, Saw, 0, 60, 58, 10).osc2(36, Saw, 53));
    b.add("Dusty Bugle", cBrass, brass(pw(24), Off, 0, 56, 50, 12).noise(10).mono(kLast));

    // Instruments
    b.add("Nylon Pick", cInstruments, pluck(Tri, Saw, 12, 60, 10, 60, 60).mix(40));
    b.add("Clavi Groove", cInstruments, pluck(pw(10), pw(14), 0, 70, 30, 50, 40));
    b.add("Court Harpsi", cInstruments, pluck(Saw, Saw, 12, 80, 6, 40, 54).velocity(20, 10));
    b.add("Kalimba Thumb", cInstruments, pluck(Tri, Tri, 24, 64, 0, 40, 36).audioMod(30).mix(40));
    b.add("Island Pan Drum", cInstruments, pluck(Tri, Square, 19, 70, 20, 40, 48).mix(36));
    b.add("Hillside Pipes", cInstruments,
          lead(Tri, Off, 0, 62, 10, 20).noise(24).twoPole().poly().aenv(10, 60, 110, 30).glide(0));
    b.add("Porch Harmonica", cInstruments, lead(pw(16), pw(22), 12, 70, 20, 30).mix(30).aenv(6, 50, 112, 20));
    b.add("Pizzicato Ens", cInstruments, pluck(Saw, Saw, 0, 58, 6, 60, 28).set(7, 55).spread(100));
    b.add("Rosewood Bars", cInstruments, pluck(Tri, Off, 0, 50, 30, 70, 34).env3(dOscAll, 8, 0, 6, 0, 6));
    b.add("Banjo Twang", cInstruments, pluck(Saw, pw(6), 0, 84, 30, 40, 30));
    b.add("Silk Koto", cInstruments, pluck(Tri, Saw, 12, 70, 40, 70, 50).bend(2).mix(30));
    b.add("Low Bowed Cello", cInstruments,
          strings(Saw, Saw, 3, 60, 30, 30).osc1(12, Saw).osc2(12, Saw, 53).mono(kLast).glide(10));
}

// ---------------------------------------------------------------------------
void padKeysFxBank(Bank& b)
{
    // Pads
    b.add("Northern Haze", cPads, pad(Saw, Saw, 0, 70, 70, 90));
    b.add("Amber Fog", cPads, pad(Tri, Saw, 12, 64, 80, 100).mix(44));
    b.add("Glass Cathedral", cPads, pad(Tri, Tri, 19, 80, 60, 110).mix(40).twoPole());
    b.add("Slow Breath", cPads, pad(pw(30), pw(36), 0, 60, 90, 90).noise(14));
    b.add("Wool Blanket", cPads, pad(Saw, Tri, 0, 52, 60, 80).twoPole().res(6));
    b.add("Silver Lining", cPads, pad(Saw, Saw, 7, 76, 50, 96).mix(56));
    b.add("Deep Field", cPads, pad(Saw, Saw, -12, 58, 100, 110).sub(40));
    b.add("Warm Current", cPads, pad(SawTri, SawTri, 0, 66, 70, 90));
    b.add("Polar Light", cPads, pad(Saw, pw(20), 12, 84, 60, 100).lfo(3, 20, lTri, 20, dPw2));
    b.add("Velvet Dusk", cPads, pad(Saw, Saw, 0, 54, 70, 90).fenv(40, 90, 100, 60, 90));
    b.add("Hollow Sky", cPads, pad(Square, Square, 12, 62, 70, 100));
    b.add("Nebula Drift", cPads, pad(Saw, Saw, 5, 68, 90, 120).lfo(4, 8, lRandom, 10, dPan));
    b.add("Soft Focus", cPads, pad(Tri, SawTri, 0, 56, 60, 80).twoPole());
    b.add("Haunted Hall", cPads, pad(Saw, pw(10), 6, 60, 80, 110).res(50).lfo(2, 12, lTri, 24, dCutoff));
    b.add("Morning Dew", cPads, pad(Tri, Tri, 12, 72, 40, 70).velocity(40, 30));
    b.add("Fading Signal", cPads, pad(Saw, Saw, 0, 80, 30, 110).aenv(30, 120, 40, 110));
    b.add("Tidepool", cPads, pad(SawTri, pw(30), 7, 64, 80, 100).lfo(1, 14, lTri, 20, dMix));
    b.add("Lantern Glow", cPads, pad(Saw, Tri, 12, 58, 50, 80).sub(30));

    // Strings
    b.add("Chamber Bows", cStrings, strings(Saw, Saw, 4, 78, 40, 60));
    b.add("Silk Ensemble", cStrings, strings(Saw, pw(30), 5, 82, 50, 70));
    b.add("Violin Gallery", cStrings, strings(Saw, Saw, 7, 90, 36, 64));
    b.add("Dark Violas", cStrings, strings(Saw, Saw, 4, 62, 44, 60).osc2(12, Saw, 54));
    b.add("Tremolo Desk", cStrings, strings(Saw, Saw, 4, 80, 20, 50).lfo(4, 96, lTri, 30, dVca));
    b.add("Vintage Bows", cStrings, strings(pw(24), pw(30), 3, 76, 44, 70).lfo(2, 34, lTri, 28, dPwAll));
    b.add("Octave Ribbon", cStrings, strings(Saw, Saw, 3, 84, 36, 60).osc2(36, Saw, 53));
    b.add("Slow Bloom Str", cStrings, strings(Saw, Saw, 5, 70, 90, 90).fenv(40, 100, 100, 90, 90));
    b.add("Cinema Swell", cStrings, strings(Saw, Saw, 6, 72, 70, 80).velMod(30, dCutoff).sub(30));
    b.add("Sunlit Section", cStrings, strings(Saw, Saw, 5, 100, 20, 50).set(24, 1));

    // Voices
    b.add("Choir of Ash", cVox, vox(pw(20), Saw, 70, 60, 60));
    b.add("Ooh Chamber", cVox, vox(Tri, pw(30), 56, 50, 50));
    b.add("Breath Voices", cVox, vox(pw(24), pw(28), 64, 40, 70).noise(40));
    b.add("Throat Singer", cVox,
          vox(Saw, Saw, 50, 100, 20).lfo(2, 10, lTri, 30, dCutoff).mono(kLast).glide(20));
    b.add("Vowel Shift", cVox, vox(Saw, pw(10), 62, 80, 40).env3(dCutoff, 30, 60, 80, 40, 60));
    b.add("Phantom Aahs", cVox, vox(pw(30), pw(40), 74, 56, 80).spread(127));

    // Evolution
    b.add("Slow Mutation", cEvolution, evolve(Saw, Saw, 0, 64, 20));
    b.add("Tidal Morph", cEvolution, evolve(Saw, pw(20), 7, 70, 14));
    b.add("Cell Division", cEvolution, evolve(pw(10), pw(40), 12, 60, 30).feedback(30, 40));
    b.add("Drifting Spores", cEvolution, evolve(Tri, Saw, 19, 72, 10).audioMod(20));
    b.add("Glacier Creep", cEvolution, evolve(Saw, Saw, -12, 50, 6).aenv(110, 100, 120, 120));
    b.add("Shifting Sands", cEvolution, evolve(Saw, Tri, 5, 66, 24).noise(20).mod(1, sLfo4, 30, dNoise));
    b.add("Long Exposure", cEvolution,
          evolve(SawTri, SawTri, 12, 62, 8).env3(dCutoff, 60, 127, 127, 40, 110));
    b.add("Metamorphosis", cEvolution,
          evolve(Saw, Square, 0, 58, 18).env3(dMix, 80, 127, 127, 0, 100).res(40));

    // Keys
    b.add("Tine Dream", cKeys, keys(Tri, Tri, 24, 70, 80, 40).audioMod(24).mix(30));
    b.add("Felt Parlour", cKeys, keys(Tri, Saw, 12, 56, 70, 20).mix(30));
    b.add("Bar Room Keys", cKeys, keys(Saw, Saw, 0, 68, 60, 10).set(7, 56));
    b.add("Electric Ivory", cKeys, keys(pw(30), Tri, 12, 64, 74, 30));
    b.add("Soft Mallet Key", cKeys, keys(Tri, Off, 0, 60, 56, 0).mix(0).aenv(0, 70, 0, 40));
    b.add("Tin Toy Keys", cKeys, keys(Square, Square, 12, 90, 40, 0).slop(0).audioMod(10));
    b.add("Hammer Glass", cKeys, keys(Tri, pw(10), 19, 84, 64, 16).mix(36));
    b.add("Study Upright", cKeys, keys(SawTri, Tri, 0, 58, 84, 24).twoPole());
    b.add("Pulse Piano", cKeys, keys(pw(20), pw(26), 0, 66, 70, 30).lfo(2, 26, lTri, 10, dPwAll));
    b.add("Bright Tines", cKeys, keys(Tri, Saw, 24, 90, 60, 24).audioMod(36).mix(24));
    b.add("Velvet Lounge", cKeys, keys(Tri, Tri, 12, 62, 90, 50).lfo(4, 80, lTri, 20, dPan));
    b.add("Quartz Keys", cKeys, keys(Saw, Tri, 24, 96, 54, 20).mix(40).res(30));

    // Organs
    b.add("Chapel Drawbar", cOrgans, organ(Square, Tri, 12, 60, 110, 0));
    b.add("Gospel Bars", cOrgans, organ(Square, Square, 19, 40, 120, 40).mix(50));
    b.add("Harmonium Hymn", cOrgans, organ(pw(20), pw(30), 12, 0, 90, 0).aenv(8, 0, 127, 16));
    b.add("Combo Twister", cOrgans, organ(Square, Saw, 12, 0, 100, 0).lfo(2, 90, lTri, 6, dOscAll));
    b.add("Pipe Vault", cOrgans, organ(Square, Square, 12, 100, 96, 0).aenv(14, 0, 127, 40).spread(60));
    b.add("Jazz Click Org", cOrgans, organ(Tri, Square, 19, 70, 104, 60));
    b.add("Cheese Combo", cOrgans, organ(pw(10), Square, 12, 0, 120, 20).lfo(2, 88, lTri, 5, dOscAll));
    b.add("Rotor Church", cOrgans, organ(Square, Tri, 12, 80, 100, 30).lfo(1, 100, lTri, 40, dPan));

    // Bells
    b.add("Tower Chime", cBells, bell(Tri, Tri, 19, 54, 40, 110, 100));
    b.add("Frosted Bell", cBells, bell(Tri, Square, 24, 50, 20, 120, 80).mix(40));
    b.add("Tubular Toll", cBells, bell(Tri, Tri, 17, 56, 50, 100, 110));
    b.add("Ice Chimes", cBells, bell(Tri, Tri, 31, 52, 30, 130, 70));
    b.add("Monastery Gong", cBells,
          bell(Tri, Saw, 6, 58, 70, 90, 120).osc1(12, Tri).osc2(18, Saw, 58).feedback(30, 50));
    b.add("Attic Music Box", cBells, bell(Tri, Tri, 24, 50, 10, 120, 60).slop(0));
    b.add("Celesta Dust", cBells, bell(Tri, Square, 12, 50, 16, 110, 56));
    b.add("Porch Chimes", cBells, bell(Tri, Tri, 27, 60, 36, 124, 90).lfo(4, 60, lRandom, 20, dPan));
    b.add("Bronze Ring", cBells, bell(Saw, Tri, 15, 46, 60, 96, 104).res(30));
    b.add("Frozen Bells", cBells, bell(Tri, Tri, 19, 48, 30, 116, 110).aenv(20, 110, 40, 110));

    // Harmonics
    b.add("Overtone Choir", cHarmonics, harmonics(Tri, Tri, 19, 50, 40, 20, 90));
    b.add("Fifth Partials", cHarmonics, harmonics(Saw, Tri, 31, 50, 30, 10, 84));
    b.add("Harmonic Ladder", cHarmonics,
          harmonics(Tri, Square, 28, 46, 60, 30, 96).lfo(2, 16, lSaw, 20, dMix));
    b.add("Prism Tones", cHarmonics, harmonics(Tri, Tri, 24, 50, 20, 50, 100));
    b.add("Feedback Flute", cHarmonics, harmonics(Tri, Off, 0, 50, 90, 0, 80).mix(0).noise(6));
    b.add("Spectral Hum", cHarmonics, harmonics(Saw, Saw, 12, 53, 70, 40, 70).lfo(3, 8, lTri, 30, dFbGain));

    // Motion
    b.add("Pulse Gate", cMotion,
          moving(polySynth(Saw, Saw, 7, 40, 20, 0, 60, 100), sync1, lSquare, 70, dCutoff, 120));
    b.add("Choppy Waters", cMotion, moving(pad(Saw, Saw, 0, 50, 20, 60), sync2, lSquare, 60, dCutoff, 100));
    b.add("Stutter Chord", cMotion,
          moving(polySynth(Saw, Square, 12, 70, 10, 20, 60, 100), sync1, lSquare, 90, dVca, 128));
    b.add("Wobble Drive", cMotion,
          moving(bass(Saw, Saw, -12, 30, 60, 10, 60), sync2, lTri, 80, dCutoff, 140).sub(60));
    b.add("Heartbeat Pump", cMotion, moving(pad(Saw, Tri, 12, 58, 10, 50), sync4, lRevSaw, 60, dCutoff, 96));
    b.add("Trance Gate", cMotion,
          moving(polySynth(Saw, Saw, 0, 60, 20, 0, 60, 100).set(7, 58), sync1, lSquare, 80, dVca, 138));
    b.add("Rolling Wheels", cMotion,
          moving(polySynth(Square, Saw, 12, 50, 40, 0, 60, 100), sync2_3, lSaw, 70, dCutoff, 110));
    b.add("Pan Shuffle", cMotion,
          moving(keys(Tri, Tri, 12, 70, 90, 80), sync2, lSquare, 127, dPan, 104)
              .lfo(3, sync1, lSquare, 30, dCutoff, true));

    // Sequences: track 1 plays the line (rests where marked), track 2 shapes the filter.
    b.add("Night Motorway", cSequence,
          bass(Saw, Saw, 0, 40, 40, 60, 30)
              .seq(118, dvSixteenth, dOscAll, dCutoff, dOff, dOff)
              .track(1, notes({0, 0, 12, 0, 0, 12, 0, 7, 0, 0, 12, 0, 10, 7, 3, 12}))
              .track(2, {20, 0, 40, 0, 10, 30, 0, 20, 20, 0, 40, 0, 30, 20, 10, 50}));
    b.add("Acid Runner", cSequence,
          bass(Saw, Off, 0, 30, 110, 70, 30)
              .glide(14)
              .mono(kLast)
              .seq(126, dvSixteenth, dOscAll, dCutoff, dOff, dOff)
              .track(1, notes({0, 12, X, 0, 3, X, 15, 0, 0, X, 10, 12, X, 7, 0, X}))
              .track(2, {0, 40, 0, 10, 50, 0, 30, 0, 0, 0, 60, 20, 0, 40, 0, 0}));
    b.add("Factory Line", cSequence,
          pluck(Square, Saw, 12, 50, 40, 60, 40)
              .seq(110, dvSixteenth, dOscAll, dCutoff, dPan, dOff)
              .track(1, notes({0, 7, 12, 7, 0, 7, 12, 19, 0, 7, 12, 7, 0, 5, 10, 12}))
              .track(2, {30, 10, 20, 10, 30, 10, 20, 40, 30, 10, 20, 10, 30, 20, 30, 50})
              .track(3, {20, 100, 20, 100, 20, 100, 20, 100, 20, 100, 20, 100, 20, 100, 20, 100}));
    b.add("Berlin Steps", cSequence,
          pluck(Saw, Saw, 0, 40, 50, 60, 30)
              .set(7, 54)
              .seq(124, dvSixteenth, dOscAll, dCutoff, dOff, dOff)
              .track(1, notes({0, 12, 7, 12, 3, 12, 7, 12, 0, 12, 8, 12, 3, 12, 7, 15}))
              .track(2, {0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44, 48, 52, 56, 60}));
    b.add("Pulse Engine", cSequence,
          bass(pw(20), pw(24), 0, 36, 30, 50, 26)
              .seq(132, dvSixteenth, dOscAll, dPwAll, dCutoff, dOff)
              .track(1, notes({0, 0, 0, 12, 0, 0, 10, 0, 0, 0, 0, 12, 0, 7, 0, 5}))
              .track(2, {0, 20, 40, 60, 80, 60, 40, 20, 0, 20, 40, 60, 80, 60, 40, 20})
              .track(3, {40, 0, 0, 20, 40, 0, 20, 0, 40, 0, 0, 20, 40, 0, 30, 10}));
    b.add("Dub Steps", cSequence,
          bass(Square, Saw, 0, 34, 60, 40, 50)
              .seq(72, dvEighth, dOscAll, dCutoff, dOff, dOff)
              .track(1, notes({0, X, X, 0, X, X, 7, X, 0, X, X, 3, X, 5, X, X}))
              .track(2, {20, 0, 0, 10, 0, 0, 40, 0, 20, 0, 0, 30, 0, 50, 0, 0}));
    b.add("Bouncing Ball", cSequence,
          pluck(Tri, Tri, 12, 70, 20, 40, 40)
              .seq(120, dv32nd, dOscAll, dCutoff, dOff, dOff)
              .track(1, notes({24, X, X, X, X, 24, X, X, X, 24, X, X, 24, X, 24, 24}))
              .track(2, {60, 0, 0, 0, 0, 50, 0, 0, 0, 40, 0, 0, 30, 0, 20, 10}));
    b.add("Gear Train", cSequence,
          pluck(pw(10), Tri, 24, 80, 20, 40, 16)
              .seq(100, dvSixteenth, dOscAll, dPan, dOff, dOff)
              .track(1, notes({0, X, 12, X, 7, X, 12, X, 0, X, 12, X, 5, X, 12, X}))
              .track(2, {0, 0, 126, 126, 0, 0, 126, 126, 0, 0, 126, 126, 0, 0, 126, 126}));
    b.add("Minimal Tick", cSequence,
          pluck(Tri, Square, 7, 60, 60, 60, 10)
              .seq(124, dvSixteenth, dOscAll, dCutoff, dOff, dOff)
              .track(1, notes({0, X, X, 0, X, X, 0, X, X, 0, X, X, 0, X, 12, X}))
              .track(2, {0, 0, 0, 40, 0, 0, 20, 0, 0, 50, 0, 0, 10, 0, 60, 0}));
    b.add("Arcade Run", cSequence,
          pluck(Square, Square, 12, 100, 0, 20, 20)
              .slop(0)
              .seq(150, dvSixteenth, dOscAll, dOff, dOff, dOff)
              .track(1, notes({0, 4, 7, 12, 16, 12, 7, 4, 0, 4, 7, 12, 16, 19, 24, X})));
    b.add("Rain Ostinato", cSequence,
          pluck(Tri, Tri, 19, 70, 10, 30, 50)
              .audioMod(20)
              .seq(96, dv16Triplet, dOscAll, dOff, dOff, dOff)
              .track(1, notes({0, 7, 12, 14, 7, 12, 19, 12, 3, 7, 10, 14, 7, 10, 15, 10})));
    b.add("Funk Machine", cSequence,
          bass(Square, Saw, 12, 44, 50, 70, 24)
              .seq(104, dv16Swing, dOscAll, dCutoff, dOff, dOff)
              .track(1, notes({0, X, 0, 12, X, 0, X, 10, 0, X, 7, X, 12, 10, X, 7}))
              .track(2, {20, 0, 10, 50, 0, 20, 0, 30, 20, 0, 10, 0, 60, 30, 0, 20}));
    // Held chords with a stepped filter; track 1 drives the cutoff, not pitch.
    b.add("Hypno Loop", cSequence,
          polySynth(Saw, Saw, 7, 40, 60, 0, 60, 100)
              .seq(116, dvSixteenth, dCutoff, dRes, dOff, dOff)
              .track(1, {60, 20, 40, 10, 70, 20, 30, 10, 60, 20, 50, 10, 80, 30, 40, 20})
              .track(2, {0, 10, 20, 10, 0, 10, 20, 30, 0, 10, 20, 10, 0, 20, 30, 40}));
    b.add("Shadow Pulse", cSequence,
          bass(Saw, pw(10), -12, 32, 70, 80, 20)
              .seq(140, dvSixteenth, dOscAll, dFiltEnvAmt, dOff, dOff)
              .track(1, notes({0, 0, X, 0, 1, 0, X, 0, 0, 0, X, 0, 6, 0, X, 3}))
              .track(2, {0, 20, 0, 40, 10, 20, 0, 40, 0, 20, 0, 40, 60, 20, 0, 50}));

    // Arpeggios
    b.add("Crystal Cascade", cArp,
          pluck(Tri, Tri, 24, 80, 10, 40, 40).audioMod(20).arp(arpDown + arp2Oct, 120, dvSixteenth));
    b.add("Harp Runner", cArp,
          pluck(Tri, Saw, 12, 70, 0, 40, 56).mix(30).arp(arpUpDown + arp3Oct, 112, dv16Triplet));
    b.add("Ladder Climb", cArp, pluck(Saw, Square, 0, 60, 30, 60, 30).arp(arpUp + arp2Oct, 128, dvSixteenth));
    b.add("Spiral Arp", cArp,
          pluck(Saw, Saw, 7, 56, 50, 70, 36).arp(arpUpDown, 132, dvSixteenth).lfo(2, 10, lTri, 30, dCutoff));
    b.add("Random Sparks", cArp,
          pluck(Square, Tri, 24, 90, 20, 30, 20).arp(arpRandom + arp3Oct, 140, dvSixteenth));
    b.add("Triplet Ripple", cArp,
          pluck(SawTri, Tri, 12, 66, 20, 50, 40).arp(arpUp + arp2Oct, 100, dvEighthTriplet));
    b.add("Pluck Fountain", cArp, pluck(pw(20), pw(30), 12, 64, 30, 60, 34).arp(arpAssign, 120, dvSixteenth));
    b.add("Neon Arcade", cArp,
          pluck(Square, Square, 12, 110, 0, 10, 30).slop(0).arp(arpUp + arp3Oct, 150, dv32nd));
    b.add("Glass Stairs", cArp, bell(Tri, Tri, 24, 50, 20, 110, 50).arp(arpUpDown + arp2Oct, 108, dvEighth));
    b.add("Swung Ladder", cArp, pluck(Saw, Tri, 0, 60, 40, 60, 30).arp(arpDown, 116, dv16Swing));

    // Percussion
    b.add("Cellar Kick", cPercussion, drum(Tri, 12, 0, 60, 10, 70, 20, 50));
    b.add("Snap Snare", cPercussion, drum(Tri, 36, 100, 110, 10, 30, 10, 40));
    b.add("Pinched Hat", cPercussion, drum(Off, 60, 127, 150, 20, 0, 0, 14));
    b.add("Loose Hat Hiss", cPercussion, drum(Off, 60, 127, 146, 24, 0, 0, 56));
    b.add("Rubber Toms", cPercussion, drum(Tri, 24, 10, 80, 20, 30, 30, 60, true));
    b.add("Clap Echo", cPercussion, drum(Off, 60, 127, 100, 30, 0, 0, 40).env3(dVca, 60, 0, 6, 0, 0, true));
    b.add("Rim Knock", cPercussion, drum(pw(10), 72, 20, 110, 40, 20, 4, 14).audioMod(40));
    b.add("Cowbell Clank", cPercussion, drum(Square, 60, 0, 110, 30, 0, 0, 34).osc2(67, Square).mix(64));

    // Noise
    b.add("Shoreline Surf", cNoise,
          noiseBed(60, 10, 12, 50, 60, 90).lfo(2, 10, lTri, 60, dPan).lfo(3, 8, lTri, 30, dVca));
    b.add("Dune Wind", cNoise, noiseBed(70, 100, 16, 40, 70, 100).lfo(2, 6, lRandom, 30, dCutoff));
    b.add("Shortwave Static", cNoise,
          noiseBed(110, 20, 140, 0, 0, 20)
              .osc1(48, pw(10))
              .mix(0)
              .lfo(2, 120, lRandom, 60, dOsc1)
              .lfo(4, 130, lRandom, 40, dVca));
    b.add("Steam Vent", cNoise, noiseBed(40, 30, 20, 0, 4, 40).fenv(90, 10, 90, 0, 40).aenv(4, 100, 0, 40));

    // Effects
    b.add("Laser Battle", cSoundFx,
          Patch()
              .osc1(60, pw(20))
              .osc2(67, Saw)
              .audioMod(40)
              .filter(120, 20, 64)
              .env3(dOscAll, 90, 0, 30, 0, 30)
              .aenv(0, 40, 0, 30)
              .volume(116));
    b.add("Alarm Wail", cSoundFx,
          Patch()
              .osc1(48, Saw)
              .osc2(48, Square, 53)
              .filter(110, 10, 64)
              .lfo(1, 30, lTri, 40, dOscAll)
              .aenv(0, 0, 127, 30)
              .volume(110));
    b.add("Saucer Descent", cSoundFx,
          Patch()
              .osc1(48, Tri)
              .osc2(55, Tri)
              .filter(100, 60, 64)
              .lfo(1, 110, lTri, 30, dOscAll)
              .lfo(2, 10, lTri, 40, dLfo1Freq)
              .env3(dOscAll, 60, 0, 127, 0, 80)
              .aenv(20, 0, 127, 80)
              .volume(110));
    b.add("Launch Pad Roar", cSoundFx,
          Patch()
              .osc1(24, Saw)
              .osc2(31, Saw)
              .noise(80)
              .filter(40, 40, 0)
              .env3(dOscAll, 100, 127, 0, 127, 60)
              .fenv(100, 127, 0, 127, 60)
              .aenv(20, 0, 127, 60)
              .volume(116));
    b.add("Droid Chatter", cSoundFx,
          Patch()
              .osc1(48, pw(30))
              .osc2(60, Tri)
              .filter(90, 70, 64)
              .lfo(1, 120, lRandom, 50, dOscAll)
              .lfo(2, 118, lRandom, 40, dCutoff)
              .aenv(0, 0, 127, 20)
              .volume(112));
    b.add("Thunderhead", cSoundFx,
          Patch()
              .osc1(24, Off)
              .osc2(24, Off)
              .noise(127)
              .filter(30, 30, 0)
              .lfo(1, 20, lRandom, 40, dCutoff)
              .fenv(60, 0, 60, 0, 100)
              .aenv(0, 120, 60, 120)
              .volume(120)
              .fixedPitch());
}

} // namespace

std::vector<std::vector<Program>> buildBanks()
{
    std::vector<std::vector<Program>> banks;
    for (auto fill : {showcaseBank, bassLeadBank, padKeysFxBank})
    {
        Bank bank;
        fill(bank);
        banks.push_back(std::move(bank.programs));
    }
    return banks;
}

} // namespace factorygen
