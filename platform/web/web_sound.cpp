// SDL_mixer's channels for the browser build. The toolchain's mixer cannot
// read a file handle that is an SDL_RWops and reports nothing when it
// fails; here the WAV is read in C with SDL's own checks and error texts,
// and web_platform.js plays its samples through Web Audio. A channel is
// busy for as long as its sound lasts in real time, as with a sound card.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" {
// web_platform.js. open: 1 with a device (Web Audio, or a silent one when
// dummy is asked for), 0 without. load: a buffer id, 0 on failure.
int velmora_audio_open(int dummy);
int velmora_audio_load(const void* samples, int bytesPerSample, int frames, int channels, int rate);
void velmora_audio_free(int id);
void velmora_audio_play(int channel, int id);
int velmora_audio_playing(int channel);
void velmora_audio_halt(int channel);
}

namespace {

constexpr int kChannels = 8;  // MIX_CHANNELS

struct WebChunk {
    Mix_Chunk chunk;  // first, so the game's pointer is the record
    int id;
};

bool gOpened = false;
const Mix_Chunk* gPlaying[kChannels] = {};

Uint32 le(const Uint8* b, int bytes) {
    Uint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[i];
    return v;
}

struct Wave {
    int channels = 0, rate = 0, bits = 0;
    std::vector<Uint8> data;
};

// SDL_LoadWAV_RW for uncompressed PCM: a 'fmt ' chunk (after any 'fact' or
// 'LIST' chunks), then the 'data' chunk.
bool readWave(SDL_RWops* src, Wave& wave) {
    Uint8 head[12];
    const size_t got = SDL_RWread(src, head, 1, 12);
    // SDL_mixer tells the kind of file by its first four bytes.
    if (got < 4 || (std::memcmp(head, "RIFF", 4) != 0 && std::memcmp(head, "WAVE", 4) != 0)) {
        SDL_SetError("Unrecognized sound file type");
        return false;
    }
    if (got != 12 || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0) {
        SDL_SetError("Unrecognized file type (not WAVE)");
        return false;
    }
    auto nextChunk = [src](Uint8 id[4], std::vector<Uint8>& body) {
        Uint8 chunk[8];
        if (SDL_RWread(src, chunk, 1, 8) != 8) {
            SDL_SetError("Error reading from datasource");
            return false;
        }
        std::memcpy(id, chunk, 4);
        const Uint32 length = le(chunk + 4, 4);
        body.assign(length, 0);
        if (length && SDL_RWread(src, body.data(), length, 1) != 1) {
            SDL_SetError("Error reading from datasource");
            return false;
        }
        return true;
    };
    Uint8 id[4];
    std::vector<Uint8> body;
    do {
        if (!nextChunk(id, body)) return false;
    } while (std::memcmp(id, "fact", 4) == 0 || std::memcmp(id, "LIST", 4) == 0);
    if (std::memcmp(id, "fmt ", 4) != 0 || body.size() < 16) {
        SDL_SetError("Complex WAVE files not supported");
        return false;
    }
    const Uint32 encoding = le(body.data(), 2);
    if (encoding != 1) {
        SDL_SetError("Unknown WAVE data format: 0x%.4x", encoding);
        return false;
    }
    wave.channels = static_cast<int>(le(body.data() + 2, 2));
    wave.rate = static_cast<int>(le(body.data() + 4, 4));
    wave.bits = static_cast<int>(le(body.data() + 14, 2));
    if (wave.bits != 8 && wave.bits != 16) {
        SDL_SetError("Unknown %d-bit PCM data format", wave.bits);
        return false;
    }
    if (wave.channels < 1 || wave.channels > 2 || wave.rate <= 0) {
        SDL_SetError("Unsupported number of audio channels");
        return false;
    }
    do {
        if (!nextChunk(id, wave.data)) return false;
    } while (std::memcmp(id, "data", 4) != 0);
    return true;
}

void checkFinished(int channel) {
    if (gPlaying[channel] && !velmora_audio_playing(channel)) gPlaying[channel] = nullptr;
}

}  // namespace

extern "C" {

int Mix_OpenAudio(int, Uint16, int, int) {
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    if (!velmora_audio_open(driver && std::strcmp(driver, "dummy") == 0)) {
        SDL_SetError("No available audio device");
        return -1;
    }
    gOpened = true;
    return 0;
}

Mix_Chunk* Mix_LoadWAV_RW(SDL_RWops* src, int freesrc) {
    if (!src) {
        SDL_SetError("Mix_LoadWAV_RW with NULL src");
        return nullptr;
    }
    Wave wave;
    bool read = false;
    if (!gOpened)
        SDL_SetError("Audio device hasn't been opened");
    else
        read = readWave(src, wave);
    if (freesrc) SDL_RWclose(src);
    if (!read) return nullptr;
    const int bytes = wave.bits / 8;
    const int frames = static_cast<int>(wave.data.size() / static_cast<size_t>(bytes * wave.channels));
    const int id = velmora_audio_load(wave.data.data(), bytes, frames, wave.channels, wave.rate);
    if (!id) {
        SDL_SetError("Couldn't decode the sound");
        return nullptr;
    }
    WebChunk* chunk = static_cast<WebChunk*>(std::calloc(1, sizeof(WebChunk)));
    Uint8* samples = static_cast<Uint8*>(std::malloc(wave.data.size() ? wave.data.size() : 1));
    if (!chunk || !samples) {
        std::free(chunk);
        std::free(samples);
        velmora_audio_free(id);
        SDL_SetError("Out of memory");
        return nullptr;
    }
    std::memcpy(samples, wave.data.data(), wave.data.size());
    chunk->chunk.allocated = 1;
    chunk->chunk.abuf = samples;
    chunk->chunk.alen = static_cast<Uint32>(wave.data.size());
    chunk->chunk.volume = MIX_MAX_VOLUME;
    chunk->id = id;
    return &chunk->chunk;
}

void Mix_FreeChunk(Mix_Chunk* chunk) {
    if (!chunk) return;
    // A sound still playing stops before it goes, as SDL_mixer does.
    for (int channel = 0; channel < kChannels; ++channel)
        if (gPlaying[channel] == chunk) Mix_HaltChannel(channel);
    WebChunk* web = reinterpret_cast<WebChunk*>(chunk);
    velmora_audio_free(web->id);
    std::free(chunk->abuf);
    std::free(web);
}

int Mix_PlayChannelTimed(int channel, Mix_Chunk* chunk, int, int) {
    if (!chunk) {
        SDL_SetError("Tried to play a NULL chunk");
        return -1;
    }
    if (channel == -1) {
        for (int c = 0; c < kChannels && channel == -1; ++c) {
            checkFinished(c);
            if (!gPlaying[c]) channel = c;
        }
        if (channel == -1) {
            SDL_SetError("No free channels available");
            return -1;
        }
    }
    if (channel < 0 || channel >= kChannels) {
        SDL_SetError("Invalid channel %d", channel);
        return -1;
    }
    velmora_audio_play(channel, reinterpret_cast<WebChunk*>(chunk)->id);
    gPlaying[channel] = chunk;
    return channel;
}

int Mix_Playing(int channel) {
    if (channel == -1) {
        int busy = 0;
        for (int c = 0; c < kChannels; ++c) busy += Mix_Playing(c);
        return busy;
    }
    if (channel < 0 || channel >= kChannels) return 0;
    checkFinished(channel);
    return gPlaying[channel] ? 1 : 0;
}

int Mix_HaltChannel(int channel) {
    if (channel == -1) {
        for (int c = 0; c < kChannels; ++c) Mix_HaltChannel(c);
        return 0;
    }
    if (channel < 0 || channel >= kChannels) return 0;
    velmora_audio_halt(channel);
    gPlaying[channel] = nullptr;
    return 0;
}

}  // extern "C"
