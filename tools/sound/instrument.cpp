#include "tools/sound/instrument.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <mutex>

struct InstrumentBank {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    int font = -1;
};

void InstrumentBankDeleter::operator()(InstrumentBank* bank) const {
    if (bank->synth) delete_fluid_synth(bank->synth);
    if (bank->settings) delete_fluid_settings(bank->settings);
    delete bank;
}

namespace {

constexpr int kDrumChannel = 9; // General MIDI's percussion channel

struct MidiEvent {
    int frame;
    bool on;
    int channel, key, velocity;
};

int ChannelOf(const ScorePart& part, int index) {
    if (part.drums) return kDrumChannel;
    return index < kDrumChannel ? index : index + 1;
}

int Cc(double x) {
    return std::clamp(int(std::lround(x * 127.0)), 0, 127);
}

void SetUpChannels(InstrumentBank& bank, const Score& score) {
    fluid_synth_system_reset(bank.synth);
    for (size_t i = 0; i < score.parts.size(); ++i) {
        const ScorePart& p = score.parts[i];
        int ch = ChannelOf(p, int(i));
        fluid_synth_program_select(bank.synth, ch, bank.font, p.drums ? 128 : p.bank, p.program);
        fluid_synth_cc(bank.synth, ch, 7, Cc(p.volume));
        fluid_synth_cc(bank.synth, ch, 10, Cc((p.pan + 1.0) / 2.0));
        fluid_synth_cc(bank.synth, ch, 91, Cc(p.reverb));
        fluid_synth_cc(bank.synth, ch, 93, Cc(p.chorus));
    }
    const ScoreReverb& r = score.reverb;
    fluid_synth_set_reverb_group_roomsize(bank.synth, -1, r.room);
    fluid_synth_set_reverb_group_damp(bank.synth, -1, r.damp);
    // The synthesizer's width runs past 1, but above 1 it feeds each side's reverb into the other
    // inverted: at 100 the two channels come out largely in opposite phase and cancel in mono.
    // 1 is the widest in-phase setting (each side's reverb on its own side only).
    fluid_synth_set_reverb_group_width(bank.synth, -1, std::clamp(r.width, 0.0, 1.0));
    fluid_synth_set_reverb_group_level(bank.synth, -1, r.level);
}

std::vector<MidiEvent> EventsOf(const Score& score) {
    std::vector<MidiEvent> events;
    for (const ScoreNote& n : score.notes) {
        const ScorePart& p = score.parts[size_t(n.part)];
        int ch = ChannelOf(p, n.part);
        double start = Score_Seconds(score, n.beat);
        double end = Score_Seconds(score, n.beat + n.beats * p.legato);
        events.push_back({Signal_FrameAt(start), true, ch, n.key, n.velocity});
        events.push_back(
            {std::max(Signal_FrameAt(end), Signal_FrameAt(start) + 1), false, ch, n.key, 0});
    }
    // at one instant, releases come first so a repeated note sounds again
    std::stable_sort(events.begin(), events.end(), [](const MidiEvent& a, const MidiEvent& b) {
        return a.frame != b.frame ? a.frame < b.frame : (!a.on && b.on);
    });
    return events;
}

void RenderFrames(InstrumentBank& bank, Signal& out, int from, int to) {
    if (to <= from) return;
    float* lr = out.samples.data() + size_t(from) * 2;
    fluid_synth_write_float(bank.synth, to - from, lr, 0, 2, lr, 1, 2);
}

} // namespace

InstrumentBankPtr Inst_Open(const std::string& soundfont_path, std::string& error) {
    static std::once_flag quiet;
    std::call_once(quiet, [] { // the library's chatter off; failures are reported below
        for (int level : {FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
    InstrumentBankPtr bank(new InstrumentBank);
    bank->settings = new_fluid_settings();
    fluid_settings_setnum(bank->settings, "synth.sample-rate", kSampleRate);
    fluid_settings_setint(bank->settings, "synth.cpu-cores", 1); // one thread: same bytes each run
    fluid_settings_setint(bank->settings, "synth.polyphony", 256);
    fluid_settings_setnum(bank->settings, "synth.gain", 0.5);
    fluid_settings_setint(bank->settings, "synth.reverb.active", 1);
    fluid_settings_setint(bank->settings, "synth.chorus.active", 1);
    bank->synth = new_fluid_synth(bank->settings);
    if (!bank->synth) {
        error = "cannot start the synthesizer";
        return nullptr;
    }
    bank->font = fluid_synth_sfload(bank->synth, soundfont_path.c_str(), 1);
    if (bank->font == FLUID_FAILED) {
        error = "cannot load the soundfont " + soundfont_path;
        return nullptr;
    }
    return bank;
}

Signal Inst_Render(InstrumentBank& bank, const Score& score, double tail) {
    SetUpChannels(bank, score);
    auto events = EventsOf(score);
    double seconds = Score_Seconds(score, score.length_beats) + tail;
    Signal out = Signal_Silence(seconds, 2);
    int total = Signal_Frames(out), at = 0;
    for (const MidiEvent& e : events) {
        int frame = std::min(e.frame, total);
        RenderFrames(bank, out, at, frame);
        at = std::max(at, frame);
        if (e.on)
            fluid_synth_noteon(bank.synth, e.channel, e.key, e.velocity);
        else
            fluid_synth_noteoff(bank.synth, e.channel, e.key);
    }
    RenderFrames(bank, out, at, total);
    // silence every voice and let the reverb die away so the next score starts clean
    fluid_synth_all_sounds_off(bank.synth, -1);
    std::vector<float> flush(size_t(kSampleRate) * 2);
    for (int i = 0; i < 8; ++i)
        fluid_synth_write_float(bank.synth, kSampleRate, flush.data(), 0, 2, flush.data(), 1, 2);
    return out;
}
