#include "audio/music.h"

#include "audio/sound_fx.h"
#include "data/players.h"
#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/shell.h"
#include "engine/system.h"

#include <algorithm>
#include <cstdio>
#include <string>

Sound* MusicTracks[Music_Tracks] = {};
int ActiveMusicChannel = 0, OtherMusicChannel = 0;
int CurrentTrack = 0;
float MusicFadeInVol = 0.0f, MusicFadeOutVol = 0.0f;
int TrackJustLoaded = 0;
Font* Music_LoadingFont = nullptr;

namespace {

// A track whose file would not open is not tried again: it stays silent for the whole run
// instead of stalling a frame behind "Loading..." every time it is asked for.
bool TrackFailed[Music_Tracks] = {};

// The fade-in and fade-out speeds, in volume units per second.
constexpr float kFadeInPerSec = 0.15f;
constexpr float kFadeOutPerSec = 0.3f;

bool ValidTrack(int track) {
    return track >= 0 && track < Music_Tracks;
}

Sound* TrackSound(int track) {
    return ValidTrack(track) ? MusicTracks[track] : nullptr;
}

Channel* Active() {
    return MusicChannels[ActiveMusicChannel];
}

Channel* Other() {
    return MusicChannels[OtherMusicChannel];
}

bool PlaysMenuTune(int state) {
    return state == STATE_MAIN_MENU || state == STATE_LEVEL_CHOOSER ||
           state == STATE_PLAYER_SELECT || state == STATE_OPTIONS;
}

} // namespace

float Music_Volume() {
    if (Player_Crt < 0 || Player_Crt >= Players_Max) return 0.0f;
    return MusicVolume[Player_Crt];
}

void Music_DrawLoading(int screen) {
    if (screen != MUSIC_LOADING_SHADED && screen != MUSIC_LOADING_PLAIN) return;
    if (screen == MUSIC_LOADING_SHADED) {
        SetColor(50, 50, 75);
        SetBlend(BLEND_SHADE);
        DrawRect(0, 0, static_cast<float>(ScreenWidth), static_cast<float>(ScreenHeight));
    }
    SetColor(255, 255, 255);
    SetBlend(BLEND_ALPHA);
    SetImageFont(Music_LoadingFont);
    DrawTextCentered("Loading...", ScreenCentreX, ScreenHeight - 20);
    SetColor(255, 255, 255);
}

bool Music_NeedsDecoding(int track) {
    return ValidTrack(track) && !MusicTracks[track] && !TrackFailed[track];
}

int Music_LoadTrack(int track, int screen) {
    TrackJustLoaded = 0;
    if (screen == MUSIC_LOADING_SHADED || screen == MUSIC_LOADING_PLAIN) {
        Music_DrawLoading(screen);
        Flip(-1);
    }
    CurrentTrack = track;
    if (!Music_NeedsDecoding(track)) return 1;
    MusicTracks[track] =
        LoadSound(std::string("incbin::") + Snd_Folder + kMusicTrackFiles[track], 0);
    if (!MusicTracks[track]) {
        TrackFailed[track] = true;
        std::fprintf(stderr, "snowmere: music track %s could not be decoded\n",
                     kMusicTrackFiles[track]);
        return 1;
    }
    TrackJustLoaded = 1;
    return 1;
}

int Music_Play(int track, int crossfade) {
    const float volume = Music_Volume();
    if (volume == 0.0f || AudioOff == 1) return -1;
    CurrentTrack = track;
    float start_volume = volume;
    if (crossfade) {
        Music_LoadTrack(track, MUSIC_LOADING_SHADED);
        ActiveMusicChannel = ActiveMusicChannel == 1 ? 0 : 1;
        OtherMusicChannel = ActiveMusicChannel == 1 ? 0 : 1;
        MusicFadeOutVol = volume;
        MusicFadeInVol = 0.0f;
        // The new track starts silent and fades in: at full volume it would burst in for the
        // frame before the first update turns it down.
        start_volume = 0.0f;
    }
    PlaySound(TrackSound(track), Active());
    Channel_SetVolume(Active(), start_volume);
    return track;
}

int Music_Start(int track) {
    int result = Music_Play(track, 1);
    if (result != -1) CurrentTrack = track;
    return result;
}

void Music_Next() {
    int next = CurrentTrack + 1;
    if (next >= Music_Tracks) next = 0;
    int result = Music_Play(next, 1);
    if (result != -1) CurrentTrack = result;
}

void Music_Update() {
    Audio_Update(); // the carols and the ambience play from their compressed files
    if (AudioOff == 1) return;
    // The menus always play the first track; a menu tune that cannot be decoded stays silent.
    if (PlaysMenuTune(GameState) &&
        (TrackSound(Music_MenuTrack) || !TrackFailed[Music_MenuTrack]) &&
        (CurrentTrack != Music_MenuTrack || !Channel_Playing(Active())))
        Music_Play(Music_MenuTrack, 1);
    // A track that has ended starts again from its beginning on the same channel.
    if (!Channel_Playing(Active()) && TrackSound(CurrentTrack)) Music_Play(CurrentTrack, 0);
    const float volume = Music_Volume();
    Channel_SetVolume(Active(), volume);
    if (MusicFadeInVol < volume && Channel_Playing(Active())) {
        Channel_SetVolume(Active(), MusicFadeInVol);
        MusicFadeInVol = std::min(MusicFadeInVol + kFadeInPerSec * DeltaSec, volume);
    }
    if (MusicFadeOutVol > 0.0f && Channel_Playing(Other())) {
        Channel_SetVolume(Other(), MusicFadeOutVol);
        MusicFadeOutVol = std::max(MusicFadeOutVol - kFadeOutPerSec * DeltaSec, 0.0f);
    }
    // The faded channel is stopped and kept for the next cross-fade: a new channel each time
    // would use up the platform's voices over a long session.
    if (MusicFadeOutVol <= 0.0f && Channel_Playing(Other())) Channel_Stop(Other());
}

void Audio_Silence() {
    Audio_Update(); // silent, but the streams keep their place
    for (Channel* ch : MusicChannels)
        Channel_SetVolume(ch, 0.0f);
    Channel_SetVolume(AmbChannels[1], 0.0f);
    Channel_SetVolume(AmbChannels[2], 0.0f);
}

void Audio_StartProbe() {
    if (Music_Volume() == 0.0f) return;
    AudioOff = 0;
    Music_Start(Music_MenuTrack);
    if (Channel_Playing(Active())) return;
    std::printf("%g  Problem finding sound channel ! \n", static_cast<double>(DeltaMs));
    Music_Start(Music_MenuTrack);
    Delay(500);
    if (Channel_Playing(Active())) return;
    AudioOff = 1;
    std::printf("%g  NO channel at start ! \n", static_cast<double>(DeltaMs));
    std::fflush(stdout);
}
