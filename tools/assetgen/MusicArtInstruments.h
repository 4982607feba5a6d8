#pragma once
#include "XmWriter.h"

// The synthesised instruments of the two themes. Tonal instruments are looped 16-bit samples of
// whole waveform cycles, tuned so that a pattern note sounds at its written pitch (C-4 = middle
// C); drums are one-shot samples struck on C-4. Envelope times are in seconds and become ticks
// through the module's tick rate (BPM / 2.5 ticks per second).
namespace assetgen::music {

// Tonal
xm::Instrument SoftBass(double ticksPerSecond);    // round sine-like bass, gentle release
xm::Instrument WarmPad(double ticksPerSecond);     // three detuned voices, slow swell, long release
xm::Instrument Celesta(double ticksPerSecond);     // bright strike decaying to a pure tone
xm::Instrument Flute(double ticksPerSecond);       // breathy soft lead with delayed vibrato
xm::Instrument SawBass(double ticksPerSecond);     // bright, punchy driving bass
xm::Instrument BrassStab(double ticksPerSecond);   // chorused saw chord stab
xm::Instrument SquareLead(double ticksPerSecond);  // chorused square lead with vibrato
xm::Instrument Pluck(double ticksPerSecond);       // short plucked saw for arpeggios

// Drums
xm::Instrument Kick();
xm::Instrument SoftKick();
xm::Instrument Snare();
xm::Instrument BrushSnare();
xm::Instrument ClosedHat();
xm::Instrument OpenHat();
xm::Instrument Crash();
xm::Instrument Shaker();

}  // namespace assetgen::music
