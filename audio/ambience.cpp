// The winter ambience: one looping recording on two channels, A for the cloud layer that shows
// and B for the one coming next, each as loud as the scenery lets that layer be seen.
#include "audio/music.h"
#include "audio/sound_fx.h"
#include "data/players.h"
#include "engine/frame.h"
#include "fx/scenery.h"

#include <algorithm>

int AmbKindA = 0, AmbKindB = 0;
int AmbState = AMB_OFF;
float AmbFadeIn = 0.0f, AmbFadeOut = 0.0f;

namespace {

constexpr int kChannelA = 1, kChannelB = 2; // entries of AmbChannels
constexpr float kFadePerMs = 0.0003f;       // a fade takes about 3.3 s
// Channels never go fully silent while updated, so they keep playing and can fade back in.
constexpr float kQuietest = 0.001f;

bool IsKind(int kind) {
    return kind >= 1 && kind <= 3;
}

// Ambience kind k plays the slot that follows SND_AMBIENT_A - 1 by k.
void StartKind(int kind, int channel) {
    if (Amb_Volume() == 0.0f || AudioOff == 1 || !IsKind(kind)) return;
    PlaySound(SoundFx[SND_AMBIENT_A - 1 + kind], AmbChannels[channel]);
}

// How visible the picture of ambience kind k is: the loudness factor of that kind.
float KindLevel(int kind) {
    if (kind < 0 || kind >= Scenery_PictureSlots) return 0.0f;
    return PictureLevel[kind];
}

// A channel whose layer has faded from view takes the layer the other channel is not playing.
void FollowScenery() {
    if (AmbKindA != CloudLayerCur && KindLevel(AmbKindA) <= 0.0f) {
        AmbKindA = AmbKindB != CloudLayerNext ? CloudLayerNext : CloudLayerCur;
        Amb_StartA();
    }
    if (AmbKindB != CloudLayerNext && KindLevel(AmbKindB) <= 0.0f) {
        AmbKindB = AmbKindA != CloudLayerCur ? CloudLayerCur : CloudLayerNext;
        Amb_StartB();
    }
}

// Advances the fade in or out by this frame and returns the factor it puts on both volumes.
float StepFade() {
    if (AmbState == AMB_FADE_IN) {
        AmbFadeIn += kFadePerMs * DeltaMs;
        if (AmbFadeIn > 1.0f) {
            AmbFadeIn = 1.0f;
            AmbFadeOut = 1.0f;
            AmbState = AMB_STEADY;
        }
        return AmbFadeIn;
    }
    if (AmbState == AMB_FADE_OUT) {
        AmbFadeOut -= kFadePerMs * DeltaMs;
        if (AmbFadeOut < 0.0f) {
            AmbFadeOut = 0.0f;
            AmbFadeIn = 0.0f;
            AmbState = AMB_OFF;
        }
        return AmbFadeOut;
    }
    return 1.0f;
}

} // namespace

float Amb_Volume() {
    if (Player_Crt < 0 || Player_Crt >= Players_Max) return 0.0f;
    return AmbientVolume[Player_Crt];
}

void Amb_StartA() {
    StartKind(AmbKindA, kChannelA);
}

void Amb_StartB() {
    StartKind(AmbKindB, kChannelB);
}

void Amb_Start() {
    AmbKindA = CloudLayerCur;
    AmbKindB = CloudLayerNext;
    Amb_StartA();
    Amb_StartB();
    Channel_SetVolume(AmbChannels[kChannelA], kQuietest);
    Channel_SetVolume(AmbChannels[kChannelB], kQuietest);
    // A fade-out cut short by the screens in between leaves AmbFadeIn at 1: start from silence.
    AmbFadeIn = 0.0f;
    AmbState = AMB_FADE_IN;
}

void Amb_Preview() {
    if (AudioOff == 1) return;
    AmbKindA = 1;
    Amb_StartA();
    Channel_SetVolume(AmbChannels[kChannelA], Amb_Volume());
    AmbState = AMB_STEADY;
}

void Amb_Keep() {
    if (AudioOff == 1) return;
    if (!Channel_Playing(AmbChannels[kChannelA])) Amb_StartA();
    Channel_SetVolume(AmbChannels[kChannelA], Amb_Volume());
}

void Amb_Update() {
    if (AmbState == AMB_OFF || AudioOff == 1) return;
    FollowScenery();
    const float volume = Amb_Volume();
    float vol_a = KindLevel(AmbKindA) * volume;
    float vol_b = KindLevel(AmbKindB) * volume;
    const float fade = StepFade();
    vol_a *= fade;
    vol_b *= fade;
    // The recording loops by starting again when it ends.
    if (!Channel_Playing(AmbChannels[kChannelA])) Amb_StartA();
    if (!Channel_Playing(AmbChannels[kChannelB])) Amb_StartB();
    Channel_SetVolume(AmbChannels[kChannelA], std::max(vol_a, kQuietest));
    Channel_SetVolume(AmbChannels[kChannelB], std::max(vol_b, kQuietest));
}
