// Scores: our music and jingles as readable note text, compiled into note events.
//
//   # a comment runs to the end of the line
//   tempo 96                     quarter notes per minute at the start
//   time 3/4                     bar length, checked at every "|" (the first bar may be a pickup)
//   reverb room=0.7 damp=0.4 width=0.9 level=0.6
//   phrase verse                 a named run of notes, used in parts as @verse
//   part melody program=8 vol=0.8 pan=-0.2 reverb=0.5 chorus=0.2 legato=0.9 [drums] [bank=N]
//
// Lines after "phrase" or "part" hold note tokens:
//   C5 F#4 Bb3:8    a pitch (C4 is middle C) with an optional length; lengths carry over
//   :4 :8 :2. :2+8  length as a note value (1 whole, 2 half, 4 quarter ...), dotted, or a sum
//   :8t             a triplet value (two thirds of the plain one)
//   C4,E4,G4:2      a chord
//   r r:2           rests
//   pp p mp mf f ff dynamics; v=90 sets the velocity exactly
//   |               a bar line (checked against "time")
//   @verse @verse+12 @verse-5   a phrase, transposed by semitones
//   t=72            a tempo change at this point (it applies to every part)
//   n35             a key number instead of a pitch (drum parts)
#pragma once

#include <string>
#include <vector>

struct ScorePart {
    std::string name;
    int program = 0, bank = 0;
    bool drums = false;
    double volume = 0.8, pan = 0.0, reverb = 0.4, chorus = 0.0, legato = 0.92;
};

struct ScoreNote {
    double beat = 0.0, beats = 1.0; // start and written length, in quarter notes
    int key = 60, velocity = 85, part = 0;
};

struct TempoChange {
    double beat = 0.0, bpm = 100.0;
};

struct ScoreReverb {
    double room = 0.6, damp = 0.4, width = 0.9, level = 0.6;
};

struct Score {
    std::vector<ScorePart> parts;
    std::vector<ScoreNote> notes;   // sorted by start
    std::vector<TempoChange> tempo; // sorted by beat, the first at beat 0
    ScoreReverb reverb;
    double length_beats = 0.0; // where the last note ends
};

// False with a message naming the line when the text is not a valid score.
bool Score_Parse(const std::string& text, Score& out, std::string& error);
bool Score_Load(const std::string& path, Score& out, std::string& error);
double Score_Seconds(const Score& score, double beat);
