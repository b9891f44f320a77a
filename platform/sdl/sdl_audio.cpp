// Sounds and the music stream over SDL2_mixer. Every call is harmless when
// the device could not be opened or the file could not be loaded: an empty
// Sound or Music simply plays nothing.

#include <SDL_mixer.h>
#include <unistd.h>

#include <cmath>
#include <string>

#include "sdl_platform.h"

using sdlplatform::Platform;

namespace {

constexpr int MIXER_FREQUENCY = 44100;
constexpr int MIXER_CHANNELS = 2;
// Samples per mixer callback: large enough that decoding stays cheap, small
// enough that a bite sounds on the frame it is played.
constexpr int MIXER_CHUNK_SIZE = 1024;

Mix_Music *currentMusic = nullptr;  // the stream PlayMusicStream last started

bool OpenMixer() {
    return Mix_OpenAudio(MIXER_FREQUENCY, MIX_DEFAULT_FORMAT, MIXER_CHANNELS, MIXER_CHUNK_SIZE) ==
           0;
}

// A machine without a sound card still loads and "plays" everything through
// SDL's silent dummy driver, so the game behaves the same there.
bool OpenDummyMixer() {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    return OpenMixer();
}

// True on a Linux machine with no sound card and no sound server to talk to.
// There SDL would probe ALSA, fail, and need up to 100 ms to stop its
// device-watching thread before the silent driver could take over: a delay
// the player would see before the first frame.
bool HasNoSoundOutput() {
#ifdef __linux__
    if (SDL_getenv("SDL_AUDIODRIVER") != nullptr || access("/dev/snd", F_OK) == 0 ||
        SDL_getenv("PULSE_SERVER") != nullptr) {
        return false;
    }
    if (const char *runtimeDir = SDL_getenv("XDG_RUNTIME_DIR")) {
        const std::string runtime = runtimeDir;
        if (access((runtime + "/pulse/native").c_str(), F_OK) == 0 ||
            access((runtime + "/pipewire-0").c_str(), F_OK) == 0) {
            return false;
        }
    }
    return true;
#else
    return false;
#endif
}

int MixerVolume(float volume) {
    // NaN and negative volumes are silence; anything from 1.0 up is full level.
    if (!(volume > 0.0f)) {
        return 0;
    }
    if (volume >= 1.0f) {
        return MIX_MAX_VOLUME;
    }
    return static_cast<int>(std::lround(volume * MIX_MAX_VOLUME));
}

unsigned int FramesInChunk(const Mix_Chunk *chunk) {
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) == 0 || channels <= 0) {
        return 0;
    }
    const unsigned int bytesPerFrame =
        SDL_AUDIO_BITSIZE(format) / 8u * static_cast<unsigned int>(channels);
    return bytesPerFrame == 0 ? 0 : chunk->alen / bytesPerFrame;
}

void FillStreamFormat(AudioStream &stream) {
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) != 0) {
        stream.sampleRate = static_cast<unsigned int>(frequency);
        stream.sampleSize = SDL_AUDIO_BITSIZE(format);
        stream.channels = static_cast<unsigned int>(channels);
    }
}

bool IsSoundOnItsChannel(const rAudioBuffer &buffer) {
    return buffer.channel >= 0 && Mix_Playing(buffer.channel) != 0 &&
           Mix_GetChunk(buffer.channel) == buffer.chunk;
}

}  // namespace

void InitAudioDevice(void) {
    auto &audio = Platform().audio;
    if (audio.ready) {
        return;
    }
    if (HasNoSoundOutput()) {
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        audio.usingDummyDriver = true;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        SDL_Log("InitAudioDevice: %s", SDL_GetError());
        return;
    }
    Mix_Init(MIX_INIT_MP3);
    if (OpenMixer()) {
        audio.ready = true;
        return;
    }
    SDL_Log("InitAudioDevice: %s; falling back to silent output", Mix_GetError());
    audio.usingDummyDriver = true;
    if (OpenDummyMixer()) {
        audio.ready = true;
        return;
    }
    SDL_Log("InitAudioDevice: %s; audio is off", Mix_GetError());
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    audio.usingDummyDriver = false;
}

void CloseAudioDevice(void) {
    auto &audio = Platform().audio;
    if (!audio.ready) {
        return;
    }
    Mix_HaltMusic();
    Mix_HaltChannel(-1);
    currentMusic = nullptr;
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (audio.usingDummyDriver) {
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    }
    audio = sdlplatform::AudioState{};
}

bool IsAudioDeviceReady(void) {
    return Platform().audio.ready;
}

Sound LoadSound(const char *fileName) {
    Sound sound{};
    if (!Platform().audio.ready || fileName == nullptr) {
        return sound;
    }
    Mix_Chunk *chunk = Mix_LoadWAV(fileName);
    if (chunk == nullptr) {
        SDL_Log("LoadSound %s: %s", fileName, Mix_GetError());
        return sound;
    }
    sound.stream.buffer = new rAudioBuffer{chunk, nullptr, -1, false};
    FillStreamFormat(sound.stream);
    sound.frameCount = FramesInChunk(chunk);
    return sound;
}

void UnloadSound(Sound sound) {
    rAudioBuffer *buffer = sound.stream.buffer;
    if (buffer == nullptr) {
        return;
    }
    if (buffer->chunk != nullptr) {
        Mix_FreeChunk(buffer->chunk);  // halts any channel still playing it
    }
    delete buffer;
}

void SetSoundVolume(Sound sound, float volume) {
    if (sound.stream.buffer != nullptr && sound.stream.buffer->chunk != nullptr) {
        Mix_VolumeChunk(sound.stream.buffer->chunk, MixerVolume(volume));
    }
}

// A sound has one voice: playing it again while it plays starts it over.
void PlaySound(Sound sound) {
    rAudioBuffer *buffer = sound.stream.buffer;
    if (!Platform().audio.ready || buffer == nullptr || buffer->chunk == nullptr) {
        return;
    }
    const int channel = IsSoundOnItsChannel(*buffer) ? buffer->channel : -1;
    buffer->channel = Mix_PlayChannel(channel, buffer->chunk, 0);
}

bool IsSoundPlaying(Sound sound) {
    const rAudioBuffer *buffer = sound.stream.buffer;
    return Platform().audio.ready && buffer != nullptr && buffer->chunk != nullptr &&
           IsSoundOnItsChannel(*buffer);
}

Music LoadMusicStream(const char *fileName) {
    Music music{};
    if (!Platform().audio.ready || fileName == nullptr) {
        return music;
    }
    Mix_Music *mixMusic = Mix_LoadMUS(fileName);
    if (mixMusic == nullptr) {
        SDL_Log("LoadMusicStream %s: %s", fileName, Mix_GetError());
        return music;
    }
    auto *buffer = new rAudioBuffer{nullptr, mixMusic, -1, true};
    music.stream.buffer = buffer;
    music.ctxData = buffer;
    music.looping = true;
    FillStreamFormat(music.stream);
    const double seconds = Mix_MusicDuration(mixMusic);
    if (seconds > 0.0) {
        music.frameCount = static_cast<unsigned int>(seconds * music.stream.sampleRate);
    }
    return music;
}

void UnloadMusicStream(Music music) {
    auto *buffer = static_cast<rAudioBuffer *>(music.ctxData);
    if (buffer == nullptr) {
        return;
    }
    if (buffer->music != nullptr) {
        if (currentMusic == buffer->music) {
            Mix_HaltMusic();
            currentMusic = nullptr;
        }
        Mix_FreeMusic(buffer->music);
    }
    delete buffer;
}

// Starting the stream that already plays leaves it playing where it is.
void PlayMusicStream(Music music) {
    const auto *buffer = static_cast<const rAudioBuffer *>(music.ctxData);
    if (!Platform().audio.ready || buffer == nullptr || buffer->music == nullptr) {
        return;
    }
    if (currentMusic == buffer->music && Mix_PlayingMusic() != 0) {
        if (Mix_PausedMusic() != 0) {
            Mix_ResumeMusic();
        }
        return;
    }
    if (Mix_PlayMusic(buffer->music, music.looping ? -1 : 0) == 0) {
        currentMusic = buffer->music;
    }
}

// SDL_mixer feeds the device from its own callback; nothing to do per frame.
void UpdateMusicStream(Music) {}

bool IsMusicStreamPlaying(Music music) {
    const auto *buffer = static_cast<const rAudioBuffer *>(music.ctxData);
    return Platform().audio.ready && buffer != nullptr && buffer->music != nullptr &&
           currentMusic == buffer->music && Mix_PlayingMusic() != 0 && Mix_PausedMusic() == 0;
}
